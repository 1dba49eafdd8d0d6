#include "colour/colour_window.h"

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
#include "app/windows.h"
#include "browse/working_tree.h"
#include "colour/colour_processor_window.h"
#include "colour/colour_run.h"
#include "imaging/bmp_io.h"
#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

const QString kSequence = "2P241328935EFFAUCTP2582L";

class ColourWindowTest : public testing::WindowsTest {
  protected:
    ColourWindow& Colour() { return windows->Colour(); }
    ColourProcessorWindow& Processor() { return windows->ColourProcessor(); }
    // The user's own picture folder: the colour run works wherever the list is.
    QString ImageDirectory() const { return testing::PicturesFolder(dir); }
    QString Image(const QString& name) const { return QDir(ImageDirectory()).filePath(name); }
    QString Text(const char* label) { return Colour().findChild<QLabel*>(label)->text(); }
    QAction& Option(const char* caption) { return *Main().Menu().Item(caption); }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(ImageDirectory());
    }
    // Grey band pictures, as bitmaps so that their bytes are exact.
    void WriteBand(const QString& name, std::uint8_t grey, int width = 8, int height = 8) {
        Bitmap24 picture(width, height);
        picture.Fill(grey, grey, grey);
        WriteBmpFile(picture, Image(name).toStdString());
    }
    // Opens the program in its own directory and browses to the pictures (where the working
    // files then go).
    void Open() {
        OpenAll();
        Main().ShowListDirectory(ImageDirectory().toStdString());
        prompts.log.clear();  // the empty start directory's warning
    }
    void PressColour() { Main().findChild<QPushButton*>("Button9")->click(); }
    // Manual loads through the three dialogs, blue first.
    void LoadByHand(const QString& blue, const QString& green, const QString& red) {
        Colour().SetAutoColour(false);
        prompts.fileChoices = {
            {true, Image(blue), 1}, {true, Image(green), 1}, {true, Image(red), 1}};
        Colour().Button1Click();
        Colour().Button2Click();
        Colour().Button3Click();
    }
    // Pixels of the processor's message that stand out from its black ground.
    int MessageInk() {
        const QLabel& message = *Processor().findChild<QLabel*>("Label1");
        const QImage window = testing::Rendered(Processor());
        return testing::PixelsAwayFrom(window.copy(message.geometry()), Qt::black);
    }
    static std::vector<int> Pixel(const Bitmap24& picture, int x = 0, int y = 0) {
        const std::uint8_t* p = picture.Row(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
};

TEST_F(ColourWindowTest, BandsOfThreeSizesCombineAndReloadAtOnce) {
    WriteBand(kSequence + "6M1.bmp", 50, 1024, 1024);
    WriteBand(kSequence + "5M1.bmp", 100, 1024, 1024);
    // A colour picture as the red band: its blue bytes make the red channel.
    Bitmap24 red(512, 1024);
    red.Fill(30, 20, 10);
    WriteBmpFile(red, Image(kSequence + "4M1.bmp").toStdString());
    Open();
    EXPECT_TRUE(Colour().findChild<QWidget*>("Shape1")->isVisibleTo(&Colour()));
    LoadByHand(kSequence + "6M1.bmp", kSequence + "5M1.bmp", kSequence + "4M1.bmp");
    EXPECT_FALSE(Colour().findChild<QWidget*>("Shape1")->isVisibleTo(&Colour()));
    EXPECT_EQ(Colour().Composite().Width(), 512);
    EXPECT_EQ(Colour().Composite().Height(), 1024);
    EXPECT_EQ(Pixel(Colour().Composite(), 511, 1023), (std::vector<int>{50, 100, 30}));
    EXPECT_EQ(Text("Label22"), "RGB Loaded.");
    EXPECT_EQ(Text("Label2"), kSequence + "5M1.bmp");
    EXPECT_EQ(Colour().Tags().tag, "-L4L5L6");
    for (const char* file :
         {"BlueTempImage.jpg", "GreenTempImage.jpg", "RedTempImage.jpg", "CombinedTemp.jpg"}) {
        EXPECT_TRUE(QFileInfo::exists(Image(file))) << file;
    }

    // The green band again: rebuilt at once from the new picture.
    WriteBand("green2.bmp", 7, 1024, 1024);
    Colour().SetStatus("stale");
    prompts.fileChoices = {{true, Image("green2.bmp"), 1}};
    Colour().Button2Click();
    EXPECT_EQ(Pixel(Colour().Composite(), 0, 0), (std::vector<int>{50, 7, 30}));
    EXPECT_EQ(Text("Label22"), "RGB Loaded.");
    // Short names give short labels; the automatic option holds the others until blue
    // reads L6.
    EXPECT_EQ(Text("Label20"), "");
    EXPECT_EQ(Colour().Tags().tag, "-L4L6");
    prompts.fileChoices = {{true, Image("green2.bmp"), 1}};
    Colour().Button1Click();
    EXPECT_EQ(Text("Label19"), "");
    EXPECT_EQ(Text("Label21"), "L4");
    EXPECT_EQ(Colour().Tags().tag, "-L4L6");
    Option("Auto L4L5L6 RGB").setChecked(false);
    Colour().Button5Click();
    EXPECT_EQ(Colour().Tags().tag, "-L4");

    // Cancel changes nothing; an unreadable file leaves the slot as it was.
    prompts.fileChoices = {{false, QString(), 0}};
    Colour().Button1Click();
    QFile(Image("bad.jpg")).open(QIODevice::WriteOnly);
    prompts.fileChoices = {{true, Image("bad.jpg"), 1}};
    Colour().findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_EQ(Text("Label1"), "bad.jpg");
    EXPECT_TRUE(Colour().Loaded(Band::Blue));
}

TEST_F(ColourWindowTest, SaveAsProposesTheNameAndWritesTheEffect) {
    WriteBand(kSequence + "6M1.bmp", 50);
    WriteBand(kSequence + "5M1.bmp", 100);
    WriteBand(kSequence + "4M1.bmp", 200);
    Open();
    // Invert before any composite exists: the read fails and nothing changes.
    Colour().findChild<QPushButton*>("Button15")->click();
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_FALSE(Colour().InvertedFlag());

    LoadByHand(kSequence + "6M1.bmp", kSequence + "5M1.bmp", kSequence + "4M1.bmp");
    Choose(kSequence + "5M1.bmp");
    const QString rgb = QString::fromStdString(
        WithTrailingSeparator(MakeWorkingTree(dir.path().toStdString()).Directory_456_RGB));
    prompts.fileChoices = {{false, QString(), 0}};
    Colour().Button7Click();
    ASSERT_FALSE(prompts.fileRequests.empty());
    EXPECT_EQ(prompts.fileRequests.back().initial, rgb + kSequence + "5M1-L4L5L6-01");
    EXPECT_EQ(prompts.fileRequests.back().selectedFilter, 2);
    EXPECT_EQ(Main().ListDirectory(), ImageDirectory().toStdString());  // back where it was
    EXPECT_EQ(Main().SelectedPath(), Image(kSequence + "5M1.bmp").toStdString());

    Colour().Button15Click();
    EXPECT_TRUE(Colour().InvertedFlag());
    EXPECT_EQ(Pixel(Colour().EffectImage()), (std::vector<int>{205, 155, 55}));
    prompts.fileChoices = {{true, rgb + "negative", 4}};
    Colour().Button7Click();
    EXPECT_EQ(prompts.fileRequests.back().initial, rgb + kSequence + "5M1-L4L5L6-Inverted01");
    EXPECT_EQ(Pixel(ReadBmpFile((rgb + "NEGATIVE.bmp").toStdString())),
              (std::vector<int>{205, 155, 55}));
    EXPECT_FALSE(Colour().InvertedFlag());
    EXPECT_EQ(Text("Label18"), ImageDirectory());
}

TEST_F(ColourWindowTest, Mer2RgbMixesAndSolarizeShifts) {
    WriteBand(kSequence + "6M1.bmp", 50);
    WriteBand(kSequence + "5M1.bmp", 100);
    WriteBand(kSequence + "4M1.bmp", 200);
    Open();
    LoadByHand(kSequence + "6M1.bmp", kSequence + "5M1.bmp", kSequence + "4M1.bmp");
    Colour().Button34Click();
    EXPECT_EQ(Text("Label22"), "MER2RGB Loaded.");
    EXPECT_EQ(Colour().Tags().tag, "-L4L5L5L5L6");
    EXPECT_EQ(Colour().Slider(1).value(), 70);
    EXPECT_EQ(Text("Label12"), "70%");
    EXPECT_EQ(Pixel(Colour().Composite()), (std::vector<int>{65, 100, 169}));
    EXPECT_TRUE(QFileInfo::exists(Image("RedMER2RGBTempImage.jpg")));
    Colour().Slider(1).setValue(0);  // blue mixture all green
    EXPECT_EQ(Pixel(Colour().Composite()), (std::vector<int>{100, 100, 169}));

    Colour().Button5Click();  // the straight composite again, for the solarize source
    Colour().Button42Click();
    EXPECT_TRUE(Colour().Slider(4).isVisibleTo(&Colour()));
    Colour().Slider(4).setValue(25);
    EXPECT_EQ(Text("Label24"), "25%");
    EXPECT_EQ(Pixel(Colour().EffectImage()), (std::vector<int>{114, 164, 8}));
    prompts.fileChoices = {{false, QString(), 0}};
    Colour().Button7Click();
    EXPECT_TRUE(prompts.fileRequests.back().initial.endsWith("-L4L5L6-Solarized01"));
    EXPECT_TRUE(Colour().SolarizedFlag());  // Cancel keeps the flags

    Colour().Button4Click();
    EXPECT_FALSE(Colour().isVisible());
    EXPECT_FALSE(Colour().SolarizedFlag());
    EXPECT_FALSE(Colour().Slider(4).isVisibleTo(&Colour()));
    EXPECT_TRUE(Colour().AllLoaded());
}

TEST_F(ColourWindowTest, AutomaticRunOnFilterFourLoadsTheSequence) {
    WriteBand(kSequence + "4M1.bmp", 200);
    WriteBand(kSequence + "5M1.bmp", 100);
    WriteBand(kSequence + "6M1.bmp", 50);
    Open();
    Choose(kSequence + "4M1.bmp");
    PressColour();
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    EXPECT_TRUE(Colour().isVisible());
    EXPECT_FALSE(Processor().isVisible());
    EXPECT_EQ(Text("Label22"), "RGB Loaded.");
    ASSERT_TRUE(Colour().AllLoaded());
    EXPECT_EQ(Pixel(Colour().Composite()), (std::vector<int>{50, 100, 200}));
    EXPECT_EQ(Main().SelectedPath(), Image(kSequence + "4M1.bmp").toStdString());
    EXPECT_FALSE(Processor().NotFoundTimer().isActive());
    EXPECT_GE(fakes.desktop.beeps, 1);
    EXPECT_FALSE(windows->ColourProcessing().Busy());
    EXPECT_FALSE(windows->ColourProcessing().Stepping());
    EXPECT_TRUE(Colour().AutoColour());
}

TEST_F(ColourWindowTest, AutomaticRunOnFilterFiveAloneEndsNotFound) {
    WriteBand(kSequence + "5M1.bmp", 100);
    WriteBand("unrelated.bmp", 1);
    Open();
    Choose(kSequence + "5M1.bmp");
    PressColour();
    EXPECT_TRUE(Colour().Loaded(Band::Green));
    EXPECT_FALSE(Colour().Loaded(Band::Red));
    EXPECT_FALSE(Colour().Loaded(Band::Blue));
    EXPECT_EQ(Colour().PresetName(Band::Blue), kSequence + "6M1.bmp");
    EXPECT_EQ(fakes.desktop.beeps, 1);
    ASSERT_TRUE(Processor().NotFoundTimer().isActive());
    Processor().Timer1Timer();
    EXPECT_EQ(Processor().Message(), "Sorry, all required images not found, or not in sequence.");
    EXPECT_TRUE(Processor().isVisible());
    EXPECT_GE(MessageInk(), 100);
    Processor().Timer2Timer();
    EXPECT_FALSE(Processor().isVisible());
    // The run stays busy: later presses neither step nor beep.
    Choose("unrelated.bmp");
    PressColour();
    EXPECT_EQ(fakes.desktop.beeps, 1);
}

TEST_F(ColourWindowTest, ManualModeAsksForTheBand) {
    WriteBand(kSequence + "5M1.bmp", 100);
    WriteBand("2P241328935EFFAUCTP2582R4M1.bmp", 60);
    Open();
    Option("Force Manual Colour").trigger();
    EXPECT_FALSE(Option("Auto L4L5L6 RGB").isChecked());

    Choose("2P241328935EFFAUCTP2582R4M1.bmp");
    PressColour();
    EXPECT_TRUE(Processor().isVisible());
    EXPECT_EQ(Processor().Message(), "Select the colour band to place this image into.");
    EXPECT_GE(MessageInk(), 100) << "the question is drawn in the window's background colour";
    Processor().Tick(TickedBand::Red);
    prompts.fileChoices = {{true, Image("2P241328935EFFAUCTP2582R4M1.bmp"), 1}};
    Processor().findChild<QPushButton*>("Button1")->click();
    EXPECT_FALSE(Processor().isVisible());
    EXPECT_TRUE(Colour().Loaded(Band::Red));
    EXPECT_EQ(prompts.fileRequests.back().initial, Image("2P241328935EFFAUCTP2582R4M1.bmp"));
    EXPECT_EQ(Processor().Ticked(), TickedBand::None);
    EXPECT_EQ(Main().ListDirectory(), ImageDirectory().toStdString());
    // A band not picked opens its dialog in the folder the list shows.
    prompts.fileChoices = {{false, QString(), 0}};
    Colour().Button1Click();
    EXPECT_EQ(prompts.fileRequests.back().initial, ImageDirectory());

    // A left-eye filter 5 picture with RED BAND: green by its filter, red by the box.
    Choose(kSequence + "5M1.bmp");
    PressColour();
    Processor().Tick(TickedBand::Green);
    Processor().Tick(TickedBand::Red);
    prompts.fileChoices = {{true, Image(kSequence + "5M1.bmp"), 1},
                           {true, Image(kSequence + "5M1.bmp"), 1}};
    prompts.fileRequests.clear();
    Processor().Button1Click();
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(prompts.fileRequests[0].title, "Load Green Band Image");
    EXPECT_EQ(prompts.fileRequests[1].title, "Load Red Band Image");
    EXPECT_TRUE(Colour().Loaded(Band::Green));
    EXPECT_EQ(fakes.desktop.beeps, 2);  // manual runs beep too
}

TEST_F(ColourWindowTest, ScreenshotsOnTheSampleSequence) {
    for (const char* digit : {"4", "5", "6"}) {
        const QString name = kSequence + digit + "M1.jpg";
        ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath(name), Image(name)));
    }
    Open();
    Choose(kSequence + "4M1.jpg");
    PressColour();
    EXPECT_EQ(Colour().Tags().tag, "-L4L5L6");
    testing::SaveScreenshot(Colour(), "colour-auto.png");
    Colour().Button34Click();
    testing::SaveScreenshot(Colour(), "colour-mer2rgb.png");
    Processor().Timer1Timer();
    testing::SaveScreenshot(Processor(), "colour-processor-not-found.png");
}

}  // namespace
}  // namespace kobrix
