#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kobrix {

// The main window's file list: every ordinary file of one directory, sorted by name without
// regard to case, with its selection. A request to move past the last entry is remembered
// for the display pass, which decides whether to loop or stop.
class FileList {
  public:
    // Reads the directory; the selection is cleared. The label of a detached archive pair is
    // left out: the pair is listed once, as its ".IMG". A directory that cannot be read gives an
    // empty list and returns false.
    bool Read(const std::string& directory);
    // Sets the entries directly (sorted as Read sorts them).
    void Assign(const std::string& directory, std::vector<std::string> names);

    const std::string& Directory() const { return directory_; }
    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    bool Empty() const { return names_.empty(); }

    int Selected() const { return selected_; }  // -1 when nothing is selected
    void Select(int index);  // out-of-range clears the selection; drops a past-end request
    const std::string& SelectedName() const;  // empty when nothing is selected
    std::string SelectedPath() const;         // directory + separator + name, or empty
    std::string PathOf(int index) const;

    // One entry down; at the last entry the selection stays and the request is remembered.
    void MoveNext();
    // One entry up; stays at the first entry.
    void MovePrevious();
    // Whether a move past the last entry was asked since the last call; clears it.
    bool TakePastEndRequest();
    bool PastEndRequested() const { return pastEnd_; }

    // The list's order: names compared with ASCII letters folded to small ones, and names
    // that differ only in case by their bytes.
    static bool LessIgnoringCase(const std::string& a, const std::string& b);
    // The folded comparison alone; names equal under it differ at most in case.
    static bool FoldedLess(std::string_view a, std::string_view b);
    // Sorts `names` into that order; each name is folded once, not at every comparison.
    static void SortIgnoringCase(std::vector<std::string>& names);

    // Removes every ".LBL" whose ".IMG" (same stem, any letter case) is among `names`.
    static void DropDetachedLabels(std::vector<std::string>& names);

  private:
    std::string directory_;
    std::vector<std::string> names_;
    int selected_ = -1;
    bool pastEnd_ = false;
};

std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace kobrix
