#include "app/working_tree.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace kobrix {
namespace {

namespace fs = std::filesystem;

using Log = std::vector<std::string>;

// Records every step of the check in order; creation uses the real file system unless the
// test makes it fail.
class RecordingTreeHost : public WorkingTreeHost {
  public:
    Log log;
    std::deque<bool> answers;
    std::string refuseCreating;  // a path whose creation fails, as under a read-only parent
    std::function<void()> onQuestion;
    WorkingTree shown;
    int timersStarted = 0;

    void CreateDirectories(const std::string& path) override {
        if (path != refuseCreating) WorkingTreeHost::CreateDirectories(path);
    }
    bool AskYesCancel(const std::string& question) override {
        log.push_back("question: " + question);
        if (onQuestion) onQuestion();
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << question;
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void ShowMessage(const std::string& text) override { log.push_back("message: " + text); }
    void SetCaption(const std::string& caption) override { log.push_back("caption: " + caption); }
    void Beep() override { log.push_back("beep"); }
    void Wait(int ms) override { log.push_back("wait: " + std::to_string(ms)); }
    void EndProgram() override { log.push_back("end"); }
    void ShowTree(const WorkingTree& tree) override { shown = tree; }
    void StartDirectoriesTimer() override { ++timersStarted; }

    Log Questions() const {
        Log out;
        for (const std::string& entry : log) {
            if (entry.rfind("question: ", 0) == 0) out.push_back(entry.substr(10));
        }
        return out;
    }
};

class WorkingTreeTest : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() /
                    ("kobrix-tree-" + std::to_string(getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RecordingTreeHost host;
    WorkingTreeCheck check{host};

    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    std::string Root() const { return root.string(); }
    void Yes(int count) { host.answers.insert(host.answers.end(), count, true); }
};

// Question texts, captions and the directory of each row, letter for letter.
struct RowTexts {
    int number;
    const char* below;
    const char* lost;
    const char* creating;
    const char* created;
};
const RowTexts kRows[] = {
    {2, "ImageCategories/Anaglyphs/", "2. HELP, I am LOST !", "CREATING DIR KobRix2007. 2.",
     "AnaglyphSaveDirectory DIR CREATED. KobRix2007. 2."},
    {3, "ImageCategories/Colour/", "3. HELP, I am LOST !", "CREATING DIR KobRix2007. 3.",
     "ColourSaveDirectory DIR CREATED. KobRix2007. 3."},
    {4, "All-MER-Images/", "4. HELP, I am LOST !", "CREATING DIR KobRix2007. 4.",
     "DIR CREATED. KobRix2007. 4."},
    {5, "ImageCategories/Colour/456_RGB/", "5. HELP, I am LOST !", "CREATING DIR KobRix2007. 5.",
     "Directory_456_RGB DIR CREATED. KobRix2007. 5."},
    {6, "Traverse-Maps/Opportunity/", nullptr, "CREATING DIR KobRix2007. 6.",
     "OppyDirNameStrng DIR CREATED. KobRix2007. 6."},
    {7, "Traverse-Maps/Spirit/", nullptr, "CREATING DIR KobRix2007. 7.",
     "SpiritDirNameStrng DIR CREATED. KobRix2007. 7."},
    {8, "AVIsource/", nullptr, "CREATING DIR KobRix2007. 8.", "DIR CREATED. KobRix2007. 8."},
    {9, "AVIoutput/", nullptr, "CREATING DIR KobRix2007. 9.", "DIR CREATED. KobRix2007. 9."},
    {10, "ImageCategories/Clipboard/", nullptr, "CREATING DIR KobRix2007. 0.",
     "DIR CREATED. KobRix2007. 0."},
    {11, "Tagged/", "11. HELP, I am LOST !", "CREATING DIR KobRix2007. 11.",
     "TaggedPicDirectory DIR CREATED. KobRix2007. 11."},
};

std::string Question(const std::string& path, int number) {
    return path + " DIRECTORY NOT FOUND. DO YOU PERMIT ME TO CREATE IT? " + std::to_string(number) +
           ".";
}

TEST(WorkingTreePaths, EveryPathBelowTheProgramDirectoryEndsInTheSeparator) {
    for (const char* program : {"/mer", "/mer/"}) {
        const WorkingTree tree = MakeWorkingTree(program);
        EXPECT_EQ(tree.Path(1), "/mer/");
        EXPECT_EQ(tree.I_Am_Here_Directory, "/mer/");
        for (const RowTexts& row : kRows) {
            EXPECT_EQ(tree.Path(row.number), std::string("/mer/") + row.below) << row.number;
        }
        EXPECT_EQ(tree.MainImageDirectory, "/mer/All-MER-Images/");
        EXPECT_EQ(tree.Directory_456_RGB, "/mer/ImageCategories/Colour/456_RGB/");
        EXPECT_EQ(tree.TaggedPicDirectory, "/mer/Tagged/");
    }
}

TEST_F(WorkingTreeTest, FirstStartAsksTenQuestionsEachCreatingOneDirectory) {
    Yes(10);
    const WorkingTree expected = MakeWorkingTree(Root());
    // Before each question exactly the directories already agreed to exist.
    int asked = 0;
    host.onQuestion = [&] {
        int existing = 0;
        for (int n = 1; n <= WorkingTree::kPathCount; ++n)
            existing += fs::is_directory(expected.Path(n));
        EXPECT_EQ(existing, 1 + asked);
        ++asked;
    };
    EXPECT_EQ(check.Run(Root()), TreeCheckResult::Complete);

    Log log;
    for (const RowTexts& row : kRows) {
        if (row.lost) log.push_back(std::string("caption: ") + row.lost);
        log.push_back("question: " + Question(expected.Path(row.number), row.number));
        log.push_back(std::string("caption: ") + row.creating);
        log.push_back(std::string("caption: ") + row.created);
        log.push_back("beep");
    }
    EXPECT_EQ(host.log, log);
    EXPECT_EQ(host.log[host.log.size() - 2],
              "caption: TaggedPicDirectory DIR CREATED. KobRix2007. 11.");
    for (int n = 1; n <= WorkingTree::kPathCount; ++n)
        EXPECT_TRUE(fs::is_directory(expected.Path(n)));
    EXPECT_EQ(host.shown.CurrentWorkingDirectory, Root());
    EXPECT_EQ(host.shown.TaggedPicDirectory, expected.TaggedPicDirectory);
    EXPECT_EQ(host.timersStarted, 1);

    // Every later check of the run, and a second start, ask nothing; the window is shown
    // once per start.
    host.log.clear();
    EXPECT_EQ(check.Run(Root()), TreeCheckResult::Complete);
    EXPECT_EQ(host.timersStarted, 1);
    WorkingTreeCheck secondStart(host);
    EXPECT_EQ(secondStart.Run(Root()), TreeCheckResult::Complete);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.timersStarted, 2);
}

TEST_F(WorkingTreeTest, CancelEndsTheProgramAndNothingMoreIsAsked) {
    host.answers = {true, true, false};
    EXPECT_EQ(check.Run(Root()), TreeCheckResult::ProgramEnded);
    const WorkingTree tree = check.Tree();
    EXPECT_EQ(host.Questions().size(), 3u);
    EXPECT_EQ(host.log.back(), "end");
    EXPECT_TRUE(fs::is_directory(tree.ColourSaveDirectory));
    EXPECT_FALSE(fs::exists(tree.MainImageDirectory));
    EXPECT_EQ(host.timersStarted, 0);
    // A display pass that runs while the program ends does not ask again.
    EXPECT_EQ(check.Run(Root()), TreeCheckResult::Busy);
    EXPECT_EQ(host.Questions().size(), 3u);
}

TEST_F(WorkingTreeTest, AMissingProgramDirectoryIsNeverCreated) {
    for (const bool yes : {true, false}) {
        RecordingTreeHost h;
        WorkingTreeCheck c(h);
        h.answers = {yes};
        const std::string missing = (root / "gone").string();
        EXPECT_EQ(c.Run(missing), TreeCheckResult::ProgramEnded);
        Log log{"caption: 1. HELP, I am LOST !",
                "question:  DIRECTORY NOT FOUND. DO YOU PERMIT ME TO CREATE IT? 1"};
        if (yes)
            log.insert(log.end(), {"message: CREATING Kobrix2007 Dir ! KobRix2007. 1.", "beep"});
        log.push_back("end");
        EXPECT_EQ(h.log, log);
        EXPECT_FALSE(fs::exists(missing));
    }
}

TEST_F(WorkingTreeTest, AFailedCreationStopsTheCheckUntilTheNextPass) {
    struct Case {
        int number;
        const char* blocker;  // a regular file where a directory is needed; empty: refused
        const char* message;  // after the path; none for rows 7 and 9
        const char* caption;
    };
    const Case cases[] = {
        {2, "ImageCategories", " DIR CREATION FAILED! KobRix2007. 2.",
         "DIR CREATION FAILED KobRix2007. 2."},
        {4, "All-MER-Images", " DIR CREATION FAILED! KobRix2007. 4.",
         "MainImageDirectory DIR CREATION FAILED KobRix2007. 4."},
        {5, "", " DIR CREATION FAILED! KobRix2007. 5.", "DIR CREATION FAILED KobRix2007. 5."},
        {7, "Traverse-Maps/Spirit", nullptr, "DIR CREATION FAILED KobRix2007. 7."},
        {9, "AVIoutput", nullptr, "DIR CREATION FAILED KobRix2007. 9."},
        {10, "ImageCategories/Clipboard", " DIR CREATION FAILED! KobRix2007. 0.",
         "DIR CREATION FAILED KobRix2007. 0."},
        {11, "Tagged", " DIR CREATION FAILED! KobRix2007. 11.",
         "DIR CREATION FAILED KobRix2007. 11."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const fs::path program = root / std::to_string(c.number);
        const WorkingTree tree = MakeWorkingTree(program.string());
        const std::string path = tree.Path(c.number);
        fs::create_directories(program);
        if (*c.blocker) {
            fs::create_directories((program / c.blocker).parent_path());
            std::ofstream(program / c.blocker) << "not a directory";
        }
        RecordingTreeHost h;
        if (!*c.blocker) h.refuseCreating = path;
        WorkingTreeCheck check(h);
        h.answers.assign(static_cast<std::size_t>(c.number - 1), true);
        EXPECT_EQ(check.Run(program.string()), TreeCheckResult::CreationFailed);

        const Log questions = h.Questions();
        ASSERT_EQ(questions.size(), static_cast<std::size_t>(c.number - 1));
        EXPECT_EQ(questions.back(), Question(path, c.number));
        Log tail;
        if (c.message) tail.push_back("message: " + path + c.message);
        tail.insert(tail.end(), {std::string("caption: ") + c.caption, "beep", "wait: 2000"});
        EXPECT_EQ(Log(h.log.end() - static_cast<long>(tail.size()), h.log.end()), tail);
        EXPECT_FALSE(fs::is_directory(path));
        EXPECT_EQ(h.timersStarted, 0);

        // The next pass offers the same directory again, first.
        h.log.clear();
        h.answers = {true};
        EXPECT_EQ(check.Run(program.string()), TreeCheckResult::CreationFailed);
        EXPECT_EQ(h.Questions(), Log{Question(path, c.number)});
    }
}

TEST_F(WorkingTreeTest, TheProgramDirectoryIsTheFirstChecksDirectory) {
    // Started from another directory: the whole tree is built there, and stays there when the
    // user browses elsewhere.
    const fs::path elsewhere = root / "shortcut start";
    fs::create_directories(elsewhere);
    Yes(10);
    EXPECT_EQ(check.Run(elsewhere.string()), TreeCheckResult::Complete);
    const WorkingTree expected = MakeWorkingTree(elsewhere.string());
    for (int n = 1; n <= WorkingTree::kPathCount; ++n) {
        EXPECT_EQ(check.Tree().Path(n), expected.Path(n));
        EXPECT_TRUE(fs::is_directory(expected.Path(n))) << n;
    }
    const std::string browsed = (elsewhere / "AVIsource").string();
    host.log.clear();
    EXPECT_EQ(check.Run(browsed), TreeCheckResult::Complete);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(check.Tree().CurrentWorkingDirectory, browsed);
    EXPECT_EQ(check.Tree().I_Am_Here_Directory, expected.I_Am_Here_Directory);
}

TEST_F(WorkingTreeTest, AChecksQuestionIsNotAskedAgainWhileItWaits) {
    // A timer's display pass during the question checks again; it must not stack a second box.
    Yes(10);
    int nested = 0;
    host.onQuestion = [&] {
        EXPECT_EQ(check.Run(Root()), TreeCheckResult::Busy);
        ++nested;
    };
    EXPECT_EQ(check.Run(Root()), TreeCheckResult::Complete);
    EXPECT_EQ(nested, 10);
    EXPECT_EQ(host.Questions().size(), 10u);
    EXPECT_EQ(host.timersStarted, 1);
}

}  // namespace
}  // namespace kobrix
