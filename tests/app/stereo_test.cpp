#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/stereo_viewer.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kLeft = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kRight = "2P241328935EFFAUCTP2582R5M1.jpg";

class StereoTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    testing::FakePrompts& prompts = fakes.prompts;
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    MainWindow& Main() { return windows->Main(); }
    StereoViewer& Viewer() { return windows->Stereo(); }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    QString Path(const QString& name) const { return QDir(Pictures()).filePath(name); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    QListWidget& FileList() { return *Main().findChild<QListWidget*>("FileListBox1"); }
    std::string Selected() {
        return FileList().currentItem() ? FileList().currentItem()->text().toStdString() : "";
    }
    std::string ViewerText(const char* name) {
        return Viewer().findChild<QLabel*>(name)->text().toStdString();
    }
    // A picture whose colour tells which file it came from.
    void Write(const QString& name, int red, int size = 16) {
        Bitmap24 picture(size, size);
        picture.Fill(50, 100, static_cast<std::uint8_t>(red));
        WriteJpegFile(picture, Path(name).toStdString());
    }
    static int Red(const PictureView& view) { return view.Image().pixelColor(2, 2).red(); }
    void Open() {
        const WorkingTree tree = MakeWorkingTree(dir.path().toStdString());
        for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(tree.Path(number))));
        }
        windows = std::make_unique<Windows>(fakes.platform);
        windows->Start(dir.path());
        Main().ShowListDirectory(Pictures().toStdString());
        prompts.Clear();  // the empty program directory's warning
    }
    void Choose(const QString& name) {
        const auto items = FileList().findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        FileList().setCurrentItem(items.front());
    }
    void Press(QWidget& window, const char* button) {
        window.findChild<QPushButton*>(button)->click();
    }
};

TEST_F(StereoTest, PairIsShownCrossedWithRightEyeOnTheLeft) {
    Write(kLeft, 200);
    Write(kRight, 20);
    Open();
    // Before its first pair the viewer shows its captions once, without placeholder values.
    Main().Menu().Item("3D Stereo XI Tool")->trigger();
    EXPECT_EQ(ViewerText("RoverValue"), "");
    EXPECT_EQ(ViewerText("CameraValue"), "");
    Choose(kLeft);
    Main().findChild<QPushButton*>("Button13")->click();
    EXPECT_TRUE(prompts.log.empty());
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_NEAR(Red(Viewer().RightEyeView()), 20, 4);  // Image1, the left-hand area
    EXPECT_NEAR(Red(Viewer().LeftEyeView()), 200, 4);
    EXPECT_EQ(ViewerText("RightEyeName"), kRight);
    EXPECT_EQ(ViewerText("LeftEyeName"), kLeft);
    EXPECT_EQ(ViewerText("RightEyeFilter"), "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(ViewerText("LeftEyeFilter"), "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(ViewerText("SolValue"), "1295");
    EXPECT_EQ(ViewerText("RoverValue"), "2");
    EXPECT_EQ(ViewerText("RightEyeEarthTime"), "Saturday Aug 25 2007 15:47:50");
    EXPECT_EQ(ViewerText("LeftEyeEarthTime"), "Local Earth time: Saturday Aug 25 2007 17:47:50");
    EXPECT_EQ(ViewerText("MartianTime"),
              "Local Martian Standard time: SOL 1295: 12:00:12 Martian Hrs.");
    EXPECT_FALSE(Viewer().findChild<QLabel*>("RightEyeEarthTime")->isVisible());
    // "Thumbnails as Fullsize" reaches the viewer and the manual selection with the next pass.
    Main().Menu().Item("Thumbnails as Fullsize")->trigger();
    Main().Button3Click();
    EXPECT_TRUE(Viewer().RightEyeView().Stretch() && Viewer().LeftEyeView().Stretch());
    EXPECT_TRUE(windows->ManualStereo().findChild<PictureView*>("Image1")->Stretch());

    // Close keeps the pictures; the Tools menu shows the viewer again as it was.
    Press(Viewer(), "Button1");
    EXPECT_FALSE(Viewer().isVisible());
    EXPECT_FALSE(Main().Stereo().pairShown);
    Main().Menu().Item("3D Stereo XI Tool")->trigger();
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_EQ(ViewerText("RightEyeName"), kRight);
    // The Print button follows the program's mode and copies this window.
    Main().Menu().Item("Check Print / Clipboard")->trigger();
    EXPECT_EQ(Viewer().PrintButton().text(), "Clipboard");
    Press(Viewer(), "Button2");
    EXPECT_EQ(fakes.desktop.clipboard.size(), Viewer().size());
    prompts.Clear();
    Press(Viewer(), "Button7");
    EXPECT_EQ(
        prompts.Texts("information"),
        std::vector<std::string>{"Scanline image joining not yet implemented! Use the clipboard"});
}

TEST_F(StereoTest, PartnerOfAnotherFilterIsMissing) {
    Write(kLeft, 200);
    Write("2P241328935EFFAUCTP2582R6M1.jpg", 20);
    Open();
    Choose(kLeft);
    Main().Button13Click();
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_EQ(ViewerText("RightEyeName"), "RIGHT EYE FILE MISSING");
    EXPECT_FALSE(Viewer().RightEyeView().isVisible());
    EXPECT_TRUE(Viewer().LeftEyeView().isVisible());
    EXPECT_TRUE(prompts.log.empty());
}

TEST_F(StereoTest, PartnerStoredWithCapitalExtensionAndLowerCaseEyeLetter) {
    // Archives keep ".JPG"; where both spellings are present, ".jpg" is taken.
    Write("2P241328935EFFAUCTP2582l5M1.jpg", 200);
    Write("2P241328935EFFAUCTP2582R5M1.JPG", 20);
    Open();
    Choose("2P241328935EFFAUCTP2582l5M1.jpg");
    Main().Button13Click();
    EXPECT_EQ(ViewerText("RightEyeName"), kRight);
    EXPECT_EQ(ViewerText("LeftEyeName"), kLeft);  // the name with "L"
    EXPECT_NEAR(Red(Viewer().RightEyeView()), 20, 4);
    EXPECT_NEAR(Red(Viewer().LeftEyeView()), 200, 4);
    Write(kRight, 120);
    Main().Button13Click();
    EXPECT_NEAR(Red(Viewer().RightEyeView()), 120, 4);
}

TEST_F(StereoTest, MonoscopicAndDamagedPartners) {
    Write("2P241328935EFFAUCTP2582M5M1.jpg", 90);
    Write(kLeft, 200);
    QFile damaged(Path(kRight));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xFF\xD8\xFF\xE0 not a picture");
    damaged.close();
    Open();
    Choose("2P241328935EFFAUCTP2582M5M1.jpg");
    Main().Button13Click();
    EXPECT_EQ(prompts.Texts("information"),
              std::vector<std::string>{"Monoscopic image, Stereo View Impossible!"});
    EXPECT_FALSE(Viewer().isVisible());
    prompts.Clear();
    // A partner that is there but cannot be read: the error box, and no viewer.
    Choose(kLeft);
    Main().findChild<QPushButton*>("Button13")->click();
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_FALSE(Viewer().isVisible());
}

TEST_F(StereoTest, ViewerButtonsStepByEyeLetter) {
    // Pairs sort together when each clock has one filter pair.
    const char* a = "2P241328935EFFAUCTP2582L5M1.jpg";
    const char* b = "2P241328935EFFAUCTP2582R5M1.jpg";
    const char* c = "2P241328999EFFAUCTP2582L5M1.jpg";
    const char* d = "2P241328999EFFAUCTP2582R5M1.jpg";
    const char* e = "2P241329100EFFAUCTP2582r5M1.jpg";
    int shade = 10;
    for (const char* name : {a, b, c, d, e}) Write(name, shade += 30);
    Open();
    Choose("2P241328935EFFAUCTP2582L5M1.jpg");
    Main().Button13Click();
    Press(Viewer(), "Button3");  // from L: one down
    EXPECT_EQ(Selected(), b);
    Press(Viewer(), "Button3");  // from R: two down
    EXPECT_EQ(Selected(), d);
    Press(Viewer(), "Button4");  // from R: one up
    EXPECT_EQ(Selected(), c);
    Press(Viewer(), "Button4");  // from L: two up, onto the first entry, which the pass notes
    EXPECT_EQ(Selected(), a);
    const std::vector<std::string> start{"Start of directory !"};
    EXPECT_EQ(prompts.Texts("information"), start);
    prompts.Clear();
    Press(Viewer(), "Button4");  // nothing above
    EXPECT_EQ(Selected(), a);
    EXPECT_EQ(prompts.Texts("information"), start);
    prompts.Clear();
    Choose(e);
    Press(Viewer(), "Button4");  // small "r" counts as another letter: two up
    EXPECT_EQ(Selected(), c);
    EXPECT_EQ(ViewerText("RightEyeName"), d);
}

TEST_F(StereoTest, AutoshowSkipsImagesWithoutAPartner) {
    Write("2P241328935EFFAUCTP2582L5M1.jpg", 10);
    Write("2P241328935EFFAUCTP2582L6M1.jpg", 30);
    Write("2P241328935EFFAUCTP2582R6M1.jpg", 40);
    Open();
    QAction* autoshow = Main().Menu().Item("Check Stereo Autoshow");
    autoshow->trigger();
    ASSERT_TRUE(autoshow->isChecked());
    // The folder opened on its first file; it is displayed again, now with autoshow on.
    ASSERT_EQ(Selected(), "2P241328935EFFAUCTP2582L5M1.jpg");
    Main().findChild<QAction*>("Image")->trigger();
    // No partner: the viewer stays hidden and the selection moves on by one.
    EXPECT_FALSE(Viewer().isVisible());
    EXPECT_EQ(Selected(), "2P241328935EFFAUCTP2582L6M1.jpg");
    Main().Button3Click();  // the next pass finds the pair and shows it
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_EQ(ViewerText("LeftEyeName"), "2P241328935EFFAUCTP2582L6M1.jpg");
    EXPECT_EQ(ViewerText("RightEyeFilter"), "Filter 6 482nm (30nm bandpass)");
    EXPECT_TRUE(prompts.log.empty());
    // After Close, a pair found by the autoshow brings the viewer back.
    Press(Viewer(), "Button1");
    Main().Button3Click();
    EXPECT_TRUE(Viewer().isVisible());
}

TEST_F(StereoTest, ManualSelectionLocksBothEyes) {
    Write("2P241328935EFFAUCTP2582L5M1.jpg", 200);
    Write("2P241328935EFFAUCTP2582M5M1.jpg", 90);
    Write("2P241328935EFFAUCTP2582R6M1.jpg", 20);
    Open();
    QAction* autoshow = Main().Menu().Item("Check Stereo Autoshow");
    autoshow->setChecked(true);
    Choose("2P241328935EFFAUCTP2582L5M1.jpg");
    Main().Menu().Item("Manual Stereo Image Selection")->trigger();
    ManualStereoWindow& manual = windows->ManualStereo();
    ASSERT_TRUE(manual.isVisible());
    EXPECT_FALSE(autoshow->isChecked());
    EXPECT_TRUE(Main().Stereo().pairShown);
    EXPECT_EQ(manual.CurrentImage().earthTime, "Saturday Aug 25 2007 15:47:50 (UTC)");
    Press(manual, "Button5");
    Press(manual, "Button4");  // Next: the monoscopic image locks nothing
    EXPECT_EQ(manual.CurrentImage().fileName, "2P241328935EFFAUCTP2582M5M1.jpg");
    Press(manual, "Button5");
    EXPECT_EQ(manual.RightEye().fileName, "Filename unknown");
    EXPECT_EQ(manual.LeftEye().fileName, "2P241328935EFFAUCTP2582L5M1.jpg");
    Press(manual, "Button4");
    Press(manual, "Button5");
    EXPECT_EQ(manual.RightEye().fileName, "2P241328935EFFAUCTP2582R6M1.jpg");
    EXPECT_EQ(manual.RightEye().filter, "Filter 6 934nm (25nm bandpass)");

    Press(manual, "Button2");
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_EQ(ViewerText("RightEyeName"), "2P241328935EFFAUCTP2582R6M1.jpg");
    EXPECT_EQ(ViewerText("LeftEyeName"), "2P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(ViewerText("RightEyeFilter"), "Filter 6 934nm (25nm bandpass)");
    EXPECT_EQ(ViewerText("LeftEyeEarthTime"), "Saturday Aug 25 2007 15:47:50 (UTC)");
    EXPECT_NEAR(Red(Viewer().RightEyeView()), 20, 4);
    EXPECT_NEAR(Red(Viewer().LeftEyeView()), 200, 4);
    Press(manual, "Button1");
    EXPECT_FALSE(Main().Stereo().pairShown);
}

TEST_F(StereoTest, SamplePairScreenshots) {
    const QString left = "2N241329230EFFAUCTP1952L0M1.jpg";
    const QString right = "2N241329230EFFAUCTP1952R0M1.jpg";
    for (const QString& name : {left, right}) {
        ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath(name), Path(name)));
    }
    Open();
    Choose(left);
    Main().Button13Click();
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_TRUE(Viewer().RightEyeView().isVisible() && Viewer().LeftEyeView().isVisible());
    testing::SaveScreenshot(Viewer(), "stereo-viewer.png");

    Main().Button11Click();
    ManualStereoWindow& manual = windows->ManualStereo();
    Press(manual, "Button5");
    Press(manual, "Button4");
    Press(manual, "Button5");
    EXPECT_EQ(manual.LeftEye().fileName, left.toStdString());
    EXPECT_EQ(manual.RightEye().fileName, right.toStdString());
    testing::SaveScreenshot(manual, "manual-stereo.png");
}

}  // namespace
}  // namespace kobrix
