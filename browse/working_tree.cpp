#include "browse/working_tree.h"

#include <filesystem>
#include <system_error>

namespace kobrix {
namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

struct TreeRow {
    int number;
    std::string WorkingTree::*path;
    const char* below;  // below the program directory, '/' standing for the separator
    const char* tag;    // the number as the captions and messages carry it
    const char* createdName;
    const char* failedName;
    bool failureMessage;
    bool lostCaption;
};

// Paths 2 to 11. Row 10's captions carry "0."; its question carries "10.".
const TreeRow kRows[] = {
    {2, &WorkingTree::AnaglyphSaveDirectory, "ImageCategories/Anaglyphs/", "2",
     "AnaglyphSaveDirectory ", "", true, true},
    {3, &WorkingTree::ColourSaveDirectory, "ImageCategories/Colour/", "3", "ColourSaveDirectory ",
     "", true, true},
    {4, &WorkingTree::MainImageDirectory, "All-MER-Images/", "4", "", "MainImageDirectory ", true,
     true},
    {5, &WorkingTree::Directory_456_RGB, "ImageCategories/Colour/456_RGB/", "5",
     "Directory_456_RGB ", "", true, true},
    {6, &WorkingTree::OppyDirNameStrng, "Traverse-Maps/Opportunity/", "6", "OppyDirNameStrng ", "",
     true, false},
    {7, &WorkingTree::SpiritDirNameStrng, "Traverse-Maps/Spirit/", "7", "SpiritDirNameStrng ", "",
     false, false},
    {8, &WorkingTree::AviSourceDirectory, "AVIsource/", "8", "", "", true, false},
    {9, &WorkingTree::AviOutputDirectory, "AVIoutput/", "9", "", "", false, false},
    {10, &WorkingTree::ClipboardDirectory, "ImageCategories/Clipboard/", "0", "", "", true, false},
    {11, &WorkingTree::TaggedPicDirectory, "Tagged/", "11", "TaggedPicDirectory ", "", true, true},
};

constexpr const char* kNotFound = " DIRECTORY NOT FOUND. DO YOU PERMIT ME TO CREATE IT? ";

std::string Native(std::string text) {
    for (char& c : text) {
        if (c == '/') c = kSeparator;
    }
    return text;
}

std::string Lost(int number) {
    return std::to_string(number) + ". HELP, I am LOST !";
}

}  // namespace

const std::string& WorkingTree::Path(int number) const {
    if (number == 1) return I_Am_Here_Directory;
    for (const TreeRow& row : kRows) {
        if (row.number == number) return this->*row.path;
    }
    static const std::string kNone;
    return kNone;
}

std::string WithTrailingSeparator(const std::string& directory) {
    if (!directory.empty() && directory.back() == kSeparator) return directory;
    return directory + kSeparator;
}

WorkingTree MakeWorkingTree(const std::string& programDirectory) {
    WorkingTree tree;
    tree.I_Am_Here_Directory = WithTrailingSeparator(programDirectory);
    for (const TreeRow& row : kRows) tree.*row.path = tree.I_Am_Here_Directory + Native(row.below);
    return tree;
}

bool WorkingTreeHost::DirectoryExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

void WorkingTreeHost::CreateDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
}

TreeCheckResult WorkingTreeCheck::Run(const std::string& fileListDirectory) {
    if (running_ || ended_) return TreeCheckResult::Busy;
    running_ = true;
    // The program directory is the one the file list showed at the first check; it stays so
    // for the whole run, even when the user browses elsewhere.
    if (!programDirectoryFixed_) {
        programDirectory_ = fileListDirectory;
        programDirectoryFixed_ = true;
    }
    tree_ = MakeWorkingTree(programDirectory_);
    tree_.CurrentWorkingDirectory = fileListDirectory;
    host_.ShowTree(tree_);

    const TreeCheckResult result = CheckPaths();
    if (result == TreeCheckResult::ProgramEnded) ended_ = true;
    if (result == TreeCheckResult::Complete && !directoriesShownOnce_) {
        directoriesShownOnce_ = true;
        host_.StartDirectoriesTimer();
    }
    running_ = false;
    return result;
}

TreeCheckResult WorkingTreeCheck::CheckPaths() {
    if (!host_.DirectoryExists(tree_.I_Am_Here_Directory)) {
        // The program directory is where the program was started; it is never made anew.
        host_.SetCaption(Lost(1));
        if (host_.AskYesCancel(std::string(kNotFound) + "1")) {
            host_.ShowMessage("CREATING Kobrix2007 Dir ! KobRix2007. 1.");
            host_.Beep();
        }
        host_.EndProgram();
        return TreeCheckResult::ProgramEnded;
    }
    for (const TreeRow& row : kRows) {
        const std::string& path = tree_.*row.path;
        if (host_.DirectoryExists(path)) continue;
        const std::string tag = std::string(row.tag) + ".";
        if (row.lostCaption) host_.SetCaption(Lost(row.number));
        if (!host_.AskYesCancel(path + kNotFound + std::to_string(row.number) + ".")) {
            host_.EndProgram();
            return TreeCheckResult::ProgramEnded;
        }
        host_.SetCaption("CREATING DIR KobRix2007. " + tag);
        host_.CreateDirectories(path);
        if (host_.DirectoryExists(path)) {
            host_.SetCaption(std::string(row.createdName) + "DIR CREATED. KobRix2007. " + tag);
            host_.Beep();
            continue;
        }
        if (row.failureMessage)
            host_.ShowMessage(path + " DIR CREATION FAILED! KobRix2007. " + tag);
        host_.SetCaption(std::string(row.failedName) + "DIR CREATION FAILED KobRix2007. " + tag);
        host_.Beep();
        host_.Wait(kFailureWaitMs);
        return TreeCheckResult::CreationFailed;
    }
    return TreeCheckResult::Complete;
}

}  // namespace kobrix
