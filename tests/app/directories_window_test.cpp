#include "app/directories_window.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/windows.h"
#include "imaging/jpeg_io.h"
#include "tests/app/window_test_support.h"

namespace kobrix {
namespace {

void WriteJpeg(const QString& path, int width, int height) {
    Bitmap24 picture(width, height);
    picture.Fill(200, 90, 40);
    WriteJpegFile(picture, path.toStdString());
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
// The directory as the main file list names it.
QString Dir(const std::string& treePath) {
    return QDir(Q(treePath)).absolutePath();
}

class DirectoriesWindowTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    MainWindow& Main() { return windows->Main(); }
    DirectoriesWindow& Window() { return windows->Directories(); }
    QString Value(const char* name) { return Window().findChild<QLineEdit*>(name)->text(); }
    QPushButton& Button(const char* name) { return *Window().findChild<QPushButton*>(name); }
    QString FileListDirectory() { return Q(Main().GetBrowser().Files().Directory()); }
    QString Selected() {
        QListWidgetItem* item = Main().findChild<QListWidget*>("FileListBox1")->currentItem();
        return item ? item->text() : QString();
    }
    void Open(int yesAnswers) {
        fakes.prompts.answers.assign(static_cast<std::size_t>(yesAnswers), true);
        windows = std::make_unique<Windows>(fakes.platform);
        windows->Start(dir.path());
    }
    void OpenWithTree() {
        Open(10);
        fakes.prompts.Clear();
        fakes.desktop.beeps = 0;
    }
};

TEST_F(DirectoriesWindowTest, FirstStartCreatesTheTreeAndShowsTheWindowOnce) {
    Open(10);
    EXPECT_EQ(fakes.prompts.Texts("question").size(), 10u);
    EXPECT_EQ(fakes.desktop.beeps, 10);
    EXPECT_EQ(Main().windowTitle(), "TaggedPicDirectory DIR CREATED. KobRix2007. 11.");
    const WorkingTree& tree = Main().Tree();
    for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
        EXPECT_TRUE(QFileInfo(Q(tree.Path(number))).isDir()) << number;
    }
    EXPECT_EQ(Value("I_Am_Here_Directory"), Q(tree.I_Am_Here_Directory));
    EXPECT_EQ(Value("MainImageDirectory"), Q(tree.MainImageDirectory));
    EXPECT_EQ(Value("CurrentWorkingDirectory"), FileListDirectory());

    // The start-up timer checks again, quietly; a second later the window comes up once.
    ASSERT_TRUE(Main().DirectoriesTimer().isActive());
    EXPECT_EQ(Main().DirectoriesTimer().interval(), 1000);
    Main().Timer3Timer();
    EXPECT_FALSE(Window().isVisible());
    Main().Timer2Timer();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(Main().DirectoriesTimer().isActive());
    EXPECT_FALSE(Window().windowFlags() & Qt::WindowStaysOnTopHint);
    Button("CloseButton").click();
    EXPECT_FALSE(Window().isVisible());
    Main().Button17Click();
    EXPECT_FALSE(Main().DirectoriesTimer().isActive());
    EXPECT_EQ(fakes.prompts.Texts("question").size(), 10u);
    EXPECT_EQ(fakes.desktop.endProgramCalls, 0);
}

TEST_F(DirectoriesWindowTest, CancelAtTheFirstQuestionEndsTheProgram) {
    fakes.prompts.answers = {false};
    windows = std::make_unique<Windows>(fakes.platform);
    windows->Start(dir.path());
    EXPECT_EQ(fakes.prompts.Texts("question").size(), 1u);
    EXPECT_EQ(fakes.desktop.endProgramCalls, 1);
    EXPECT_EQ(Main().windowTitle(), "2. HELP, I am LOST !");
    EXPECT_FALSE(Main().DirectoriesTimer().isActive());
    Main().Timer3Timer();  // the start-up timer's check asks nothing more
    EXPECT_EQ(fakes.prompts.Texts("question").size(), 1u);
}

TEST_F(DirectoriesWindowTest, QuestionMarkAndMenuShowTheWindow) {
    OpenWithTree();
    auto* questionMark = Main().findChild<QPushButton*>("Button7");
    ASSERT_TRUE(questionMark->isEnabled());
    questionMark->click();
    EXPECT_TRUE(Window().isVisible());
    Window().hide();
    ASSERT_TRUE(Main().Menu().Item("Directories")->isEnabled());
    Main().Menu().Item("Directories")->trigger();
    EXPECT_TRUE(Window().isVisible());

    EXPECT_EQ(Window().objectName(), "DirectoriesUnit200721");
    EXPECT_EQ(Window().windowTitle(), "KOBRIX 2007 Directories");
    EXPECT_FALSE(Button("HelpMenuButton").isEnabled());
    EXPECT_EQ(Value("RememberedPath"), "This selection is empty at the moment.");
    QStringList labels;
    for (const QLabel* label : Window().findChildren<QLabel*>()) labels << label->text();
    for (const char* text :
         {"CurrentWorkingDirectory. The currently loaded image is at this location.",
          "I_Am_Here_Directory. The current progam executable directory",
          "Jump to the Colour\\456_RGB directory.",
          "For the directory to be accepted, you must open a file.",
          "Tip ! To get this Directory selection page back, click the little question mark "
          "button at top left on main page."}) {
        EXPECT_TRUE(labels.contains(text)) << text;
    }
    testing::SaveScreenshot(Window(), "directories_window.png");
}

TEST_F(DirectoriesWindowTest, JumpButtonsPointTheFileListAtTheirDirectory) {
    OpenWithTree();
    const WorkingTree tree = Main().Tree();
    const struct {
        const char* button;
        std::string target;
    } jumps[] = {{"NasaButton", tree.MainImageDirectory},
                 {"AnaglyphButton", tree.AnaglyphSaveDirectory},
                 {"RgbButton", tree.Directory_456_RGB},
                 {"ColourButton", tree.ColourSaveDirectory},
                 {"HomeButton", tree.I_Am_Here_Directory}};
    for (const auto& jump : jumps) {
        SCOPED_TRACE(jump.button);
        WriteJpeg(Q(jump.target) + "b.jpg", 8, 8);
        WriteJpeg(Q(jump.target) + "a.jpg", 8, 8);
        Main().Button7Click();
        Button(jump.button).click();
        EXPECT_EQ(FileListDirectory(), Dir(jump.target));
        EXPECT_EQ(Selected(), "a.jpg");
        EXPECT_EQ(Main().findChild<QLabel*>("Label1")->text(), Q(jump.target) + "a.jpg");
        EXPECT_FALSE(Window().isVisible());
        EXPECT_EQ(Value("CurrentWorkingDirectory"), Dir(jump.target));
    }
    // The program directory stays the one of the first check.
    EXPECT_EQ(Main().Tree().I_Am_Here_Directory, tree.I_Am_Here_Directory);
    EXPECT_TRUE(fakes.prompts.log.empty());
}

TEST_F(DirectoriesWindowTest, BrowseRemembersAFileElsewhereAndJumpsToItsDirectory) {
    OpenWithTree();
    QTemporaryDir elsewhere;
    WriteJpeg(elsewhere.filePath("1.jpg"), 8, 8);
    WriteJpeg(elsewhere.filePath("chosen.jpg"), 30, 20);

    // Jump before anything is remembered stays where the list is.
    WriteJpeg(dir.filePath("here.jpg"), 8, 8);
    Main().DirectoryChosen(dir.path());
    Button("JumpButton").click();
    EXPECT_EQ(FileListDirectory(), QDir(dir.path()).absolutePath());
    EXPECT_EQ(Selected(), "here.jpg");

    fakes.prompts.fileChoices = {FileChoice{true, elsewhere.filePath("chosen.jpg"), 1}};
    Main().Button7Click();
    Button("BrowseButton").click();
    ASSERT_EQ(fakes.prompts.fileRequests.size(), 1u);
    EXPECT_EQ(fakes.prompts.fileRequests[0].filters,
              QStringList({"All (*.jpg;*.jpeg;*.bmp)", "JPEG Image File (*.jpg)",
                           "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)"}));
    EXPECT_EQ(fakes.prompts.fileRequests[0].selectedFilter, 1);
    // The list shows the chosen file's directory from its first entry, not the chosen file.
    EXPECT_EQ(FileListDirectory(), QDir(elsewhere.path()).absolutePath());
    EXPECT_EQ(Selected(), "1.jpg");
    EXPECT_EQ(Window().RememberedPath(), elsewhere.filePath("chosen.jpg"));
    EXPECT_EQ(Value("RememberedPath"), elsewhere.filePath("chosen.jpg"));
    EXPECT_EQ(Window().findChild<PictureView*>("RememberedPicture")->Image().size(), QSize(30, 20));
    EXPECT_FALSE(Window().isVisible());

    // Home, then Jump: back to the remembered directory.
    Main().Button7Click();
    Button("HomeButton").click();
    Button("JumpButton").click();
    EXPECT_EQ(FileListDirectory(), QDir(elsewhere.path()).absolutePath());

    // A cancelled dialog changes nothing.
    fakes.prompts.fileChoices = {FileChoice{}};
    Button("BrowseButton").click();
    EXPECT_EQ(Window().RememberedPath(), elsewhere.filePath("chosen.jpg"));
}

}  // namespace
}  // namespace kobrix
