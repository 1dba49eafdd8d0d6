#include "colour/anaglyph_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/stereo_viewer.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "colour/sunset_window.h"
#include "imaging/bmp_io.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kLeft = "2P241328935EFFAUCTP2582L5M1.bmp";
constexpr const char* kRight = "2P241328935EFFAUCTP2582R5M1.bmp";
constexpr const char* kLeftJpeg = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kRightJpeg = "2P241328935EFFAUCTP2582R5M1.jpg";

class AnaglyphWindowTest : public testing::WindowsTest {
  protected:
    AnaglyphWindow& Maker() { return windows->Anaglyph(); }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    QString Path(const QString& name) const { return QDir(Pictures()).filePath(name); }
    QString Text(const char* label) { return Maker().findChild<QLabel*>(label)->text(); }
    QScrollBar& Bar(const char* name) { return *Maker().findChild<QScrollBar*>(name); }
    QListWidget& FileList() { return *Main().findChild<QListWidget*>("FileListBox1"); }
    QString SaveDirectory() const {
        return QString::fromStdString(
            WithTrailingSeparator(MakeWorkingTree(dir.path().toStdString()).AnaglyphSaveDirectory));
    }

    // Uniform pictures, written as bitmaps so that their bytes are exact.
    void Write(const QString& name, std::uint8_t blue, std::uint8_t green, std::uint8_t red,
               int side = 8) {
        Bitmap24 picture(side, side);
        picture.Fill(blue, green, red);
        WriteBmpFile(picture, Path(name).toStdString());
    }
    void WriteJpeg(const QString& name, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
        Bitmap24 picture(16, 16);
        picture.Fill(blue, green, red);
        WriteJpegFile(picture, Path(name).toStdString());
    }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    void Open() {
        OpenAll();
        Main().ShowListDirectory(Pictures().toStdString());
        prompts.Clear();  // the empty program directory's warning
    }
    // Both pictures chosen in the open dialog, as after "Manual Adjustment Controls".
    void LoadManually(const QString& right, const QString& left) {
        Maker().Button2Click();
        prompts.fileChoices = {{true, Path(right), 1}, {true, Path(left), 1}};
        Maker().Button9Click();
        Maker().Button10Click();
    }
    static const std::uint8_t* Pixel(const Bitmap24& picture) { return picture.Row(0); }
};

TEST_F(AnaglyphWindowTest, AnaglyphThisMakesThePairsAnaglyphAtOnce) {
    WriteJpeg(kRightJpeg, 200, 100, 30);
    WriteJpeg(kLeftJpeg, 10, 20, 240);
    Open();
    Choose(kLeftJpeg);
    Main().findChild<QPushButton*>("Button13")->click();  // the stereo viewer with the pair
    windows->Stereo().findChild<QPushButton*>("Button5")->click();
    EXPECT_TRUE(prompts.log.empty());

    ASSERT_TRUE(Maker().isVisible());
    EXPECT_EQ(Text("Label1"), Path(kRightJpeg));
    EXPECT_EQ(Text("Label2"), Path(kLeftJpeg));
    EXPECT_EQ(Maker().PreselectedFile(), "yes");
    EXPECT_TRUE(Maker().Loaded1() && Maker().Loaded2());
    EXPECT_EQ(windows->Stereo().Texts().leftFilter, "");
    // Right eye's blue and green, left eye's red, each at half weight (m = 50).
    const std::uint8_t* bgr = Pixel(Maker().Final());
    EXPECT_NEAR(bgr[0], 100, 2);
    EXPECT_NEAR(bgr[1], 50, 2);
    EXPECT_NEAR(bgr[2], 120, 2);
    EXPECT_EQ(Text("MergeValue"), "50%");
    EXPECT_FALSE(Bar("ScrollBar1").isVisible());  // manual controls stay hidden
}

TEST_F(AnaglyphWindowTest, SeparationsAndSlidersReRenderAndEndInTheResetValues) {
    Write("r.bmp", 200, 100, 30);
    Write("l.bmp", 10, 20, 240);
    Open();
    LoadManually("r.bmp", "l.bmp");
    EXPECT_EQ(prompts.fileRequests.front().initial,
              QString::fromStdString(MakeWorkingTree(dir.path().toStdString()).MainImageDirectory));
    EXPECT_TRUE(Bar("ScrollBar1").isVisibleTo(&Maker()));
    EXPECT_FALSE(Maker().findChild<QPushButton*>("Button7")->isVisibleTo(&Maker()));

    Bar("ScrollBar1").setValue(100);  // merge 100: the right eye alone
    EXPECT_EQ(Text("MergeValue"), "100%");
    EXPECT_EQ(Pixel(Maker().Final())[2], 0);
    EXPECT_EQ(Pixel(Maker().Final())[0], 200);
    Bar("ScrollBar3").setValue(8);  // contrast 8 halves, halves to even
    EXPECT_EQ(Pixel(Maker().Final())[0], 100);

    Maker().Button4Click();  // Make Blue: green goes, the settings return to 50/16/30
    EXPECT_EQ(Maker().Settings(), kAnaglyphResetSettings);
    EXPECT_EQ(Pixel(Maker().Final())[1], 0);
    Bar("ScrollBar2").setValue(0);  // brightness 0: every byte of 128 or less becomes 0
    EXPECT_EQ(Pixel(Maker().Final())[0], 0);
    Maker().Button8Click();  // Make Cyan: green is back, settings reset again
    EXPECT_EQ(Maker().Settings(), kAnaglyphResetSettings);
    EXPECT_EQ(Pixel(Maker().Final())[1], 50);
}

TEST_F(AnaglyphWindowTest, SaveAsNumbersItsNamesAndRestoresTheMainWindow) {
    Write(kRight, 200, 100, 30);
    Write(kLeft, 10, 20, 240);
    Open();
    Choose(kRight);
    LoadManually(kRight, kLeft);

    const QString first = SaveDirectory() + "2P241328935EFFAUCTP2582L5M1-B30C16M50-01";
    prompts.fileChoices = {{true, first, 2}};
    Maker().Button3Click();
    EXPECT_EQ(prompts.fileRequests.back().initial, first);
    EXPECT_EQ(prompts.fileRequests.back().selectedFilter, 2);
    EXPECT_EQ(prompts.fileRequests.back().filters.front(), "All (*.jpg;*.jpeg;*.bmp;)");
    EXPECT_TRUE(QFileInfo::exists(first + ".jpg"));
    EXPECT_EQ(Text("Label13"), "SAVED");
    // The main window is back where it was, showing what it showed.
    EXPECT_EQ(Main().ListDirectory(), Pictures().toStdString());
    EXPECT_EQ(FileList().currentItem()->text(), kRight);

    // The second proposal counts on; a typed extension goes and the name is upper-cased; any
    // type but the second writes a bitmap.
    const QString second = SaveDirectory() + "2P241328935EFFAUCTP2582L5M1-B30C16M50-02";
    prompts.fileChoices = {{true, SaveDirectory() + "mine.jpeg", 3}};
    Maker().Button3Click();
    EXPECT_EQ(prompts.fileRequests.back().initial, second);
    EXPECT_EQ(Text("Label9"), SaveDirectory() + "mine.jpeg");
    EXPECT_EQ(ReadBmpFile((SaveDirectory() + "MINE.bmp").toStdString()).Width(), 8);

    // Cancel writes nothing and still restores the main window.
    prompts.fileChoices = {FileChoice{}};
    Maker().Button3Click();
    EXPECT_EQ(QDir(SaveDirectory()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(Main().ListDirectory(), Pictures().toStdString());
    EXPECT_EQ(FileList().currentItem()->text(), kRight);
}

TEST_F(AnaglyphWindowTest, UnreadableFileAndCloseLeaveWhatTheyShould) {
    Write("r.bmp", 200, 100, 30);
    Write("l.bmp", 10, 20, 240);
    QFile bad(Path("bad.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM not a bitmap");
    bad.close();
    Open();
    LoadManually("r.bmp", "l.bmp");
    const Bitmap24 before = Maker().Final();

    prompts.fileChoices = {{true, Path("bad.bmp"), 1}};
    Maker().findChild<QPushButton*>("Button9")->click();
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_EQ(Text("Label1"), Path("bad.bmp"));  // the label already shows it
    EXPECT_EQ(Maker().Final().SizeBytes(), before.SizeBytes());
    EXPECT_EQ(Pixel(Maker().Final())[0], Pixel(before)[0]);

    // Cancel in the open dialog changes nothing.
    prompts.fileChoices = {FileChoice{}};
    Maker().Button10Click();
    EXPECT_EQ(Text("Label2"), Path("l.bmp"));

    Maker().Button5Click();
    EXPECT_FALSE(Maker().isVisible());
    EXPECT_FALSE(Maker().Loaded1() || Maker().Loaded2());
    EXPECT_EQ(Text("Label1"), "");
    EXPECT_EQ(Maker().PreselectedFile(), "no");
    // Without both pictures the sliders only move their labels, and Save As does nothing.
    Bar("ScrollBar1").setValue(70);
    EXPECT_EQ(Text("MergeValue"), "70%");
    Maker().Button3Click();
    EXPECT_TRUE(prompts.fileChoices.empty());
}

TEST_F(AnaglyphWindowTest, SamplePairAndSunsetScreenshots) {
    const QString left = "2N241329230EFFAUCTP1952L0M1.jpg";
    const QString right = "2N241329230EFFAUCTP1952R0M1.jpg";
    for (const QString& name : {left, right}) {
        ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath(name), Path(name)));
    }
    Open();
    Choose(left);
    Main().Button13Click();
    windows->Stereo().findChild<QPushButton*>("Button5")->click();
    ASSERT_TRUE(Maker().Loaded1() && Maker().Loaded2());
    testing::SaveScreenshot(Maker(), "anaglyph-this.png");
    Maker().Button2Click();
    Bar("ScrollBar3").setValue(24);
    testing::SaveScreenshot(Maker(), "anaglyph-manual.png");

    // "Sunset Sim fade" takes over the picture on display.
    Main().Menu().Item("Sunset Sim fade")->trigger();
    SunsetWindow& sunset = windows->Sunset();
    ASSERT_TRUE(sunset.isVisible());
    EXPECT_EQ(sunset.Working().Width(), Main().Picture().Image().width());
    int passes = 0;
    fakes.desktop.onWait = [&](int) {
        if (++passes == 100) testing::SaveScreenshot(sunset, "sunset-mid-fade.png");
    };
    sunset.Button4Click();
    EXPECT_EQ(passes, 256);
    testing::SaveScreenshot(sunset, "sunset-night-time.png");
}

}  // namespace
}  // namespace kobrix
