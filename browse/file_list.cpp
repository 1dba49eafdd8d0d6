#include "browse/file_list.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace kobrix {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string FoldedCopy(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = Fold(c);
    return folded;
}

}  // namespace

void FileList::DropDetachedLabels(std::vector<std::string>& names) {
    // ".LBL" and ".IMG" in any letter case; the stems compared folded, as the reader finds the
    // label of a raw ".IMG" in any case.
    std::vector<std::string> pictures;
    for (const std::string& name : names) {
        const std::string folded = FoldedCopy(name);
        if (folded.size() > 4 && folded.ends_with(".img"))
            pictures.push_back(folded.substr(0, folded.size() - 4));
    }
    if (pictures.empty()) return;
    std::sort(pictures.begin(), pictures.end());
    std::erase_if(names, [&](const std::string& name) {
        const std::string folded = FoldedCopy(name);
        return folded.size() > 4 && folded.ends_with(".lbl") &&
               std::binary_search(pictures.begin(), pictures.end(),
                                  std::string_view(folded).substr(0, folded.size() - 4));
    });
}

bool FileList::FoldedLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Fold(a[i]);
        const char y = Fold(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

bool FileList::LessIgnoringCase(const std::string& a, const std::string& b) {
    if (FoldedLess(a, b)) return true;
    if (FoldedLess(b, a)) return false;
    return a < b;
}

void FileList::SortIgnoringCase(std::vector<std::string>& names) {
    // Each name folded once into one buffer; the first 16 folded bytes also as two numbers in
    // byte order, which decide most comparisons without touching the buffer.
    struct Entry {
        std::uint64_t head[2];
        std::size_t start;
        std::size_t size;
        std::size_t index;
    };
    std::size_t total = 0;
    for (const std::string& name : names) total += name.size();
    std::string folded(total, '\0');
    std::vector<Entry> entries(names.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        Entry& entry = entries[i];
        entry = {{0, 0}, start, name.size(), i};
        for (std::size_t k = 0; k < name.size(); ++k) {
            const char c = Fold(name[k]);
            folded[start + k] = c;
            if (k < 16) {
                entry.head[k / 8] |= std::uint64_t{static_cast<unsigned char>(c)}
                                     << (8 * (7 - k % 8));
            }
        }
        start += name.size();
    }
    const std::string_view all(folded);
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        // A shorter name is padded with zero bytes here, so equal heads still need the rest.
        if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
        const int order = all.substr(a.start, a.size).compare(all.substr(b.start, b.size));
        if (order != 0) return order < 0;
        return names[a.index] < names[b.index];
    });
    // The order applied in place, cycle by cycle, without a second vector of names.
    std::vector<std::size_t> target(names.size());
    for (std::size_t i = 0; i < entries.size(); ++i) target[entries[i].index] = i;
    for (std::size_t i = 0; i < names.size(); ++i) {
        while (target[i] != i) {
            const std::size_t j = target[i];
            std::swap(names[i], names[j]);
            std::swap(target[i], target[j]);
        }
    }
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (directory.back() == separator) return directory + name;
    return directory + separator + name;
}

bool FileList::Read(const std::string& directory) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    bool ok = true;
    fs::directory_iterator it(directory, ec);
    if (ec) ok = false;
    for (const fs::directory_iterator end; ok && it != end; it.increment(ec)) {
        if (ec) {
            ok = false;
            break;
        }
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    if (ok) DropDetachedLabels(names);
    Assign(directory, ok ? std::move(names) : std::vector<std::string>{});
    return ok;
}

void FileList::Assign(const std::string& directory, std::vector<std::string> names) {
    directory_ = directory;
    names_ = std::move(names);
    SortIgnoringCase(names_);
    selected_ = -1;
    pastEnd_ = false;
}

void FileList::Select(int index) {
    selected_ = (index >= 0 && index < Count()) ? index : -1;
    // A choice of entry replaces a move past the end that no pass has acted on (the stereo
    // autoshow's skip from the last entry).
    pastEnd_ = false;
}

const std::string& FileList::SelectedName() const {
    static const std::string kNone;
    return selected_ >= 0 ? names_[static_cast<std::size_t>(selected_)] : kNone;
}

std::string FileList::PathOf(int index) const {
    if (index < 0 || index >= Count()) return {};
    return JoinPath(directory_, names_[static_cast<std::size_t>(index)]);
}

std::string FileList::SelectedPath() const {
    return PathOf(selected_);
}

void FileList::MoveNext() {
    if (names_.empty()) return;
    if (selected_ >= Count() - 1) {
        pastEnd_ = true;
        return;
    }
    ++selected_;
}

void FileList::MovePrevious() {
    if (names_.empty()) return;
    if (selected_ > 0)
        --selected_;
    else if (selected_ < 0)
        selected_ = 0;
}

bool FileList::TakePastEndRequest() {
    const bool was = pastEnd_;
    pastEnd_ = false;
    return was;
}

}  // namespace kobrix
