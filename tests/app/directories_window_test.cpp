#include "app/directories_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

void WriteJpeg(const QString& path, int width) {
    Bitmap24 picture(width, 20);
    picture.Fill(200, 90, 40);
    WriteJpegFile(picture, path.toStdString());
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A first start in an empty directory, every question answered with Yes.
class DirectoriesWindowTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    void SetUp() override {
        fakes.prompts.answers.assign(10, true);
        windows = std::make_unique<Windows>(fakes.platform);
        windows->Start(dir.path());
    }
    MainWindow& Main() { return windows->Main(); }
    DirectoriesWindow& Window() { return windows->Directories(); }
    QString Value(const char* name) { return Window().findChild<QLineEdit*>(name)->text(); }
    void Click(const char* button) { Window().findChild<QPushButton*>(button)->click(); }
    QString ListDirectory() { return Q(Main().GetBrowser().Files().Directory()); }
    QString Selected() {
        QListWidgetItem* item = Main().findChild<QListWidget*>("FileListBox1")->currentItem();
        return item ? item->text() : QString();
    }
};

TEST_F(DirectoriesWindowTest, ShownOnceAfterTheFirstCompleteCheck) {
    EXPECT_EQ(fakes.prompts.Texts("question").size(), 10u);
    EXPECT_EQ(Main().windowTitle(), "TaggedPicDirectory DIR CREATED. KobRix2007. 11.");
    EXPECT_EQ(Value("I_Am_Here_Directory"), Q(Main().Tree().I_Am_Here_Directory));
    ASSERT_TRUE(Main().DirectoriesTimer().isActive());
    Main().Timer3Timer();  // the start-up timer's check asks nothing more
    EXPECT_FALSE(Window().isVisible());
    Main().Timer2Timer();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(Main().DirectoriesTimer().isActive());
    EXPECT_FALSE(Window().windowFlags() & Qt::WindowStaysOnTopHint);
    Click("CloseButton");
    Main().Button17Click();
    EXPECT_FALSE(Main().DirectoriesTimer().isActive());
    EXPECT_FALSE(Window().isVisible());

    // The "?" button and the File menu bring it back.
    Main().findChild<QPushButton*>("Button7")->click();
    EXPECT_TRUE(Window().isVisible());
    Window().hide();
    Main().Menu().Item("Directories")->trigger();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), "KOBRIX 2007 Directories");
    EXPECT_TRUE(Window().findChild<QPushButton*>("HelpMenuButton")->isEnabled());
    EXPECT_EQ(Value("RememberedPath"), "This selection is empty at the moment.");
    testing::SaveScreenshot(Window(), "directories_window.png");
}

TEST_F(DirectoriesWindowTest, JumpButtonsShowTheFirstEntryOfTheirDirectory) {
    const WorkingTree tree = Main().Tree();
    const std::pair<const char*, std::string> jumps[] = {
        {"NasaButton", tree.MainImageDirectory},
        {"AnaglyphButton", tree.AnaglyphSaveDirectory},
        {"RgbButton", tree.Directory_456_RGB},
        {"ColourButton", tree.ColourSaveDirectory},
        {"HomeButton", tree.I_Am_Here_Directory}};
    for (const auto& [button, target] : jumps) {
        SCOPED_TRACE(button);
        WriteJpeg(Q(target) + "b.jpg", 8);
        WriteJpeg(Q(target) + "a.jpg", 8);
        Main().Button7Click();
        Click(button);
        EXPECT_EQ(ListDirectory(), QDir(Q(target)).absolutePath());
        EXPECT_EQ(Main().findChild<QLabel*>("Label1")->text(), Q(target) + "a.jpg");
        EXPECT_FALSE(Window().isVisible());
        EXPECT_EQ(Value("CurrentWorkingDirectory"), ListDirectory());
    }
    EXPECT_EQ(Main().Tree().I_Am_Here_Directory, tree.I_Am_Here_Directory);
}

TEST_F(DirectoriesWindowTest, BrowseJumpsToTheChosenFilesDirectory) {
    // Jump with nothing remembered stays where the list is.
    Click("JumpButton");
    EXPECT_EQ(ListDirectory(), QDir(dir.path()).absolutePath());

    QTemporaryDir elsewhere;
    WriteJpeg(elsewhere.filePath("1.jpg"), 8);
    WriteJpeg(elsewhere.filePath("chosen.jpg"), 30);
    fakes.prompts.fileChoices = {FileChoice{true, elsewhere.filePath("chosen.jpg"), 1}};
    Click("BrowseButton");
    ASSERT_EQ(fakes.prompts.fileRequests.size(), 1u);
    EXPECT_EQ(fakes.prompts.fileRequests[0].filters,
              QStringList({"All (*.jpg;*.jpeg;*.bmp;*.IMG;*.img;*.LBL;*.lbl;*.xml)",
                           "JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)",
                           "Planetary archive (*.IMG;*.img;*.LBL;*.lbl;*.xml)",
                           "Archive volume root (*.TXT;*.txt;*.CAT;*.cat)", "All files (*)"}));
    // The list shows the directory from its first entry, not the chosen file.
    EXPECT_EQ(ListDirectory(), QDir(elsewhere.path()).absolutePath());
    EXPECT_EQ(Selected(), "1.jpg");
    EXPECT_EQ(Value("RememberedPath"), elsewhere.filePath("chosen.jpg"));
    EXPECT_EQ(Window().findChild<PictureView*>("RememberedPicture")->Image().width(), 30);

    // Home, then Jump goes back there.
    Click("HomeButton");
    Click("JumpButton");
    EXPECT_EQ(ListDirectory(), QDir(elsewhere.path()).absolutePath());
}

}  // namespace
}  // namespace kobrix
