#include "browse/working_tree.h"

#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

// Records every step of the check in order; creation is real unless a path is refused.
class RecordingTreeHost : public WorkingTreeHost {
  public:
    Log log;
    std::deque<bool> answers;
    std::string refused;  // its creation fails, as under a read-only parent
    std::function<void()> onQuestion;
    int timers = 0;

    void CreateDirectories(const std::string& path) override {
        if (path != refused) WorkingTreeHost::CreateDirectories(path);
    }
    bool AskYesCancel(const std::string& question) override {
        log.push_back("question: " + question);
        if (onQuestion) onQuestion();
        EXPECT_FALSE(answers.empty()) << "unscripted: " << question;
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void ShowMessage(const std::string& text) override { log.push_back("message: " + text); }
    void SetCaption(const std::string& text) override { log.push_back("caption: " + text); }
    void Beep() override { log.push_back("beep"); }
    void Wait(int ms) override { log.push_back("wait: " + std::to_string(ms)); }
    void EndProgram() override { log.push_back("end"); }
    void ShowTree(const WorkingTree&) override {}
    void StartDirectoriesTimer() override { ++timers; }
    long Questions() const {
        return std::count_if(log.begin(), log.end(),
                             [](const std::string& e) { return e.rfind("question: ", 0) == 0; });
    }
};

class WorkingTreeTest : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() /
                    ("kobrix-tree-" + std::to_string(getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RecordingTreeHost host;
    WorkingTreeCheck check{host};
    void SetUp() override { fs::create_directories(root); }
    void TearDown() override { fs::remove_all(root); }
};

std::string Question(const std::string& path, int number) {
    return path + " DIRECTORY NOT FOUND. DO YOU PERMIT ME TO CREATE IT? " + std::to_string(number) +
           ".";
}

TEST_F(WorkingTreeTest, FirstStartAsksTenQuestionsEachCreatingOneDirectory) {
    const std::pair<const char*, const char*> rows[] = {
        // below the program directory
        {"ImageCategories/Anaglyphs/", "AnaglyphSaveDirectory DIR CREATED. KobRix2007. 2."},
        {"ImageCategories/Colour/", "ColourSaveDirectory DIR CREATED. KobRix2007. 3."},
        {"All-MER-Images/", "DIR CREATED. KobRix2007. 4."},
        {"ImageCategories/Colour/456_RGB/", "Directory_456_RGB DIR CREATED. KobRix2007. 5."},
        {"Traverse-Maps/Opportunity/", "OppyDirNameStrng DIR CREATED. KobRix2007. 6."},
        {"Traverse-Maps/Spirit/", "SpiritDirNameStrng DIR CREATED. KobRix2007. 7."},
        {"AVIsource/", "DIR CREATED. KobRix2007. 8."},
        {"AVIoutput/", "DIR CREATED. KobRix2007. 9."},
        {"ImageCategories/Clipboard/", "DIR CREATED. KobRix2007. 0."},
        {"Tagged/", "TaggedPicDirectory DIR CREATED. KobRix2007. 11."},
    };
    // Started from another directory, as from a shortcut: the tree is built there.
    const std::string start = (root / "shortcut start").string();
    fs::create_directories(start);
    const WorkingTree tree = MakeWorkingTree(start);
    host.answers.assign(10, true);
    // Before each question exactly the directories agreed to so far exist, and a display pass
    // that a timer runs meanwhile puts up no second box.
    host.onQuestion = [&] {
        long existing = 0;
        for (int n = 1; n <= WorkingTree::kPathCount; ++n)
            existing += fs::is_directory(tree.Path(n));
        EXPECT_EQ(existing, host.Questions());
        EXPECT_EQ(check.Run(start), TreeCheckResult::Busy);
    };
    EXPECT_EQ(check.Run(start), TreeCheckResult::Complete);

    Log expected;
    int number = 2;
    for (const auto& [below, created] : rows) {
        const std::string tag = std::string(created).substr(std::string(created).rfind(' ') + 1);
        EXPECT_EQ(check.Tree().Path(number), start + "/" + below);
        if (number <= 5 || number == 11) {
            expected.push_back("caption: " + std::to_string(number) + ". HELP, I am LOST !");
        }
        expected.push_back("question: " + Question(tree.Path(number), number));
        expected.insert(expected.end(), {"caption: CREATING DIR KobRix2007. " + tag,
                                         std::string("caption: ") + created, "beep"});
        ++number;
    }
    EXPECT_EQ(host.log, expected);
    EXPECT_EQ(host.timers, 1);

    // Browsing elsewhere keeps the tree; later checks and a second start ask nothing, and the
    // window's timer starts once a start.
    host.log.clear();
    EXPECT_EQ(check.Run(root.string()), TreeCheckResult::Complete);
    EXPECT_EQ(check.Tree().CurrentWorkingDirectory, root.string());
    EXPECT_EQ(check.Tree().I_Am_Here_Directory, start + "/");
    WorkingTreeCheck secondStart(host);
    EXPECT_EQ(secondStart.Run(start), TreeCheckResult::Complete);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.timers, 2);
}

TEST_F(WorkingTreeTest, CancelOrAMissingProgramDirectoryEndsTheProgram) {
    host.answers = {true, true, false};
    EXPECT_EQ(check.Run(root.string()), TreeCheckResult::ProgramEnded);
    EXPECT_EQ(host.log.back(), "end");
    EXPECT_TRUE(fs::is_directory(check.Tree().ColourSaveDirectory));
    EXPECT_FALSE(fs::exists(check.Tree().MainImageDirectory));
    EXPECT_EQ(check.Run(root.string()), TreeCheckResult::Busy);  // ending: nothing more asked
    EXPECT_EQ(host.timers, 0);

    // The program directory itself is never created, even on Yes.
    RecordingTreeHost h;
    h.answers = {true};
    EXPECT_EQ(WorkingTreeCheck(h).Run((root / "gone").string()), TreeCheckResult::ProgramEnded);
    EXPECT_EQ(h.log, (Log{"caption: 1. HELP, I am LOST !",
                          "question:  DIRECTORY NOT FOUND. DO YOU PERMIT ME TO CREATE IT? 1",
                          "message: CREATING Kobrix2007 Dir ! KobRix2007. 1.", "beep", "end"}));
    EXPECT_FALSE(fs::exists(root / "gone"));
}

TEST_F(WorkingTreeTest, AFailedCreationStopsTheCheckUntilTheNextPass) {
    const struct {
        int number;
        const char* blocker;  // a regular file where a directory is needed; empty: refused
        const char* message;  // after the path; row 7 (and 9) has none
        const char* caption;
    } cases[] = {
        {2, "ImageCategories", " DIR CREATION FAILED! KobRix2007. 2.",
         "DIR CREATION FAILED KobRix2007. 2."},
        {4, "All-MER-Images", " DIR CREATION FAILED! KobRix2007. 4.",
         "MainImageDirectory DIR CREATION FAILED KobRix2007. 4."},
        {5, "", " DIR CREATION FAILED! KobRix2007. 5.", "DIR CREATION FAILED KobRix2007. 5."},
        {7, "Traverse-Maps/Spirit", nullptr, "DIR CREATION FAILED KobRix2007. 7."},
        {10, "ImageCategories/Clipboard", " DIR CREATION FAILED! KobRix2007. 0.",
         "DIR CREATION FAILED KobRix2007. 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const fs::path program = root / std::to_string(c.number);
        const std::string path = MakeWorkingTree(program.string()).Path(c.number);
        fs::create_directories((program / c.blocker).parent_path());
        RecordingTreeHost h;
        if (*c.blocker)
            std::ofstream(program / c.blocker) << "a file";
        else
            h.refused = path;
        WorkingTreeCheck failing(h);
        h.answers.assign(static_cast<std::size_t>(c.number - 1), true);
        EXPECT_EQ(failing.Run(program.string()), TreeCheckResult::CreationFailed);

        Log tail;
        if (c.message) tail.push_back("message: " + path + c.message);
        tail.insert(tail.end(), {std::string("caption: ") + c.caption, "beep", "wait: 2000"});
        EXPECT_EQ(Log(h.log.end() - static_cast<long>(tail.size()), h.log.end()), tail);
        EXPECT_EQ(h.Questions(), c.number - 1);
        EXPECT_EQ(h.log[h.log.size() - tail.size() - 2], "question: " + Question(path, c.number));
        EXPECT_EQ(h.timers, 0);

        // The next pass offers the same directory again (the only one missing).
        h.log.clear();
        h.answers = {true};
        EXPECT_EQ(failing.Run(program.string()), TreeCheckResult::CreationFailed);
        EXPECT_EQ(h.Questions(), 1);
    }
}

}  // namespace
}  // namespace kobrix
