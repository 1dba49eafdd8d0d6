#pragma once

#include <string>

namespace kobrix {

// The program's working directories below the program directory. Every path ends in the
// platform's separator, so a file name is appended directly.
struct WorkingTree {
    // The main file list's directory at the latest check, as the list has it.
    std::string CurrentWorkingDirectory;

    std::string I_Am_Here_Directory;    // 1, the program directory itself
    std::string AnaglyphSaveDirectory;  // 2
    std::string ColourSaveDirectory;    // 3
    std::string MainImageDirectory;     // 4
    std::string Directory_456_RGB;      // 5
    std::string OppyDirNameStrng;       // 6
    std::string SpiritDirNameStrng;     // 7
    std::string AviSourceDirectory;     // 8
    std::string AviOutputDirectory;     // 9
    std::string ClipboardDirectory;     // 10
    std::string TaggedPicDirectory;     // 11

    static constexpr int kPathCount = 11;
    // Path by its number in the check, 1 to 11.
    const std::string& Path(int number) const;
};

// The tree below `programDirectory`; CurrentWorkingDirectory is left empty.
WorkingTree MakeWorkingTree(const std::string& programDirectory);

// `directory` with the platform's separator at its end.
std::string WithTrailingSeparator(const std::string& directory);

// What the check of the tree needs from the program around it.
class WorkingTreeHost {
  public:
    virtual ~WorkingTreeHost() = default;

    // The file system; the defaults use the real one.
    virtual bool DirectoryExists(const std::string& path);
    // Creates `path` with all missing parents. Failures are not reported here: the check
    // looks at the directory afterwards.
    virtual void CreateDirectories(const std::string& path);

    virtual bool AskYesCancel(const std::string& question) = 0;  // true for Yes
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void SetCaption(const std::string& caption) = 0;  // the main window's caption
    virtual void Beep() = 0;
    virtual void Wait(int milliseconds) = 0;  // blocking, the interface kept alive
    // Ends the program; returns, and the check returns at once.
    virtual void EndProgram() = 0;

    // The paths of the tree for the Directories window.
    virtual void ShowTree(const WorkingTree& tree) = 0;
    // Starts the timer that shows the Directories window a second later.
    virtual void StartDirectoriesTimer() = 0;
};

enum class TreeCheckResult {
    Complete,        // every directory exists
    CreationFailed,  // a directory could not be created; the later ones were not checked
    ProgramEnded,    // the user refused, or the program directory itself is missing
    Busy,            // a check was already asking, or the program is ending: nothing done
};

// DirsNpaths: fixes the program directory at the first run, computes the tree and offers to
// create each missing directory in order. Runs before every load attempt.
class WorkingTreeCheck {
  public:
    explicit WorkingTreeCheck(WorkingTreeHost& host) : host_(host) {}

    TreeCheckResult Run(const std::string& fileListDirectory);

    const WorkingTree& Tree() const { return tree_; }
    bool ProgramDirectoryFixed() const { return programDirectoryFixed_; }
    bool DirectoriesShownOnce() const { return directoriesShownOnce_; }

    static constexpr int kFailureWaitMs = 2000;

  private:
    TreeCheckResult CheckPaths();

    WorkingTreeHost& host_;
    WorkingTree tree_;
    std::string programDirectory_;
    bool programDirectoryFixed_ = false;
    bool directoriesShownOnce_ = false;
    // A question or the wait after a failure lets timers run, and they start display passes
    // that check again; one set of questions at a time is enough.
    bool running_ = false;
    bool ended_ = false;
};

}  // namespace kobrix
