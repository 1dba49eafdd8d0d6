// The planetary archive's files in the windows: the lists, the display pass and its
// attributes line, the stereo viewer, the colour composite, the magnifier and the AVI tool,
// on small files the tests write into a folder of their own.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_commands.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/stereo_viewer.h"
#include "app/windows.h"
#include "archive/archive_file.h"
#include "colour/anaglyph_window.h"
#include "colour/colour_window.h"
#include "colour/sunset_window.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "movie/avi_tool_window.h"
#include "tests/archive/archive_builder.h"
#include "tests/support/window_fixture.h"
#include "tools/magnifier_window.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

using test::ArchiveLayout;

constexpr const char* kLeft = "2P241328935EFFAUCTP2582L5M1.IMG";
constexpr const char* kRight = "2P241328935EFFAUCTP2582R5M1.IMG";
const std::string kSequence = "2P241328935EFFAUCTP2582L";

// The label facts of the pair above, its time the true one: 31 s after the clock's
// arithmetic (Saturday Aug 25 2007 15:47:50.816).
std::string Facts(int sol = 1295) {
    return "START_TIME = 2007-08-25T15:48:21.816Z\r\nPLANET_DAY_NUMBER = " + std::to_string(sol) +
           "\r\nLOCAL_TRUE_SOLAR_TIME = \"12:00:12\"\r\n";
}

// An 8-bit picture of one grey, whose samples the display shows as they are.
ArchiveLayout Grey(int grey, int size = 8) {
    ArchiveLayout layout;
    layout.width = layout.height = size;
    layout.bits = 8;
    layout.samples.assign(static_cast<std::size_t>(size * size), grey);
    layout.extraLabel = Facts();
    return layout;
}

// A text as a person reads it: the spaces that hold words together are spaces, and the
// invisible joiners are gone.
QString AsRead(QString text) {
    return text.replace(QChar(0x00A0), u' ').remove(QChar(0x2060));
}

class ArchiveWindowsTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    testing::FakePrompts& prompts = fakes.prompts;
    QTemporaryDir programDir;   // the program's own
    test::ScratchDir pictures;  // the user's downloaded sol
    std::unique_ptr<Windows> windows;

    static void SetUpTestSuite() { RegisterArchiveReader(); }

    MainWindow& Main() { return windows->Main(); }
    StereoViewer& Viewer() { return windows->Stereo(); }
    QString Folder() const { return QString::fromStdString(pictures / "").chopped(1); }
    QString Path(const std::string& name) const { return QString::fromStdString(pictures / name); }

    void Attached(const std::string& name, const ArchiveLayout& layout) {
        test::Put(pictures, name, test::AttachedPds3(layout, false));
    }
    void Open() {
        windows = testing::OpenWindows(fakes.platform, programDir.path());
        Main().ShowListDirectory(Folder().toStdString());
        prompts.Clear();  // the empty program directory's warning
    }
    QListWidget& FileList() { return *Main().findChild<QListWidget*>("FileListBox1"); }
    QStringList Listed() {
        QStringList names;
        for (int i = 0; i < FileList().count(); ++i) names << FileList().item(i)->text();
        return names;
    }
    void Choose(const std::string& name) {
        ASSERT_TRUE(testing::ChooseFile(Main(), QString::fromStdString(name))) << name;
    }
    QLabel& Attributes() { return *Main().findChild<QLabel*>("Label77"); }
    static int Red(const PictureView& view) { return view.Image().pixelColor(2, 2).red(); }
    int Shown() { return Red(*Main().findChild<PictureView*>("Image1")); }
};

TEST_F(ArchiveWindowsTest, FileListShowsEachArchivePictureOnceAndTheDisplayPassOpensIt) {
    Attached("1N241637757EFF8615P1999L0M1.IMG", Grey(30));
    // A detached pair: the raw samples and their label beside them, the label's extension in
    // small letters.
    ArchiveLayout detached = Grey(60);
    test::DetachedPds3(pictures, "2P241328935EFFAUCTP2582L2M1.lbl",
                       "2P241328935EFFAUCTP2582L2M1.IMG", detached);
    test::Pds4(pictures, "2P241328935EFFAUCTP2582L3M1", Grey(90));
    // An XML file that is no label.
    test::Put(pictures, "0-notes.xml", {'<', 'a', '/', '>'});
    Open();
    const QStringList listed = Listed();
    EXPECT_TRUE(listed.contains("1N241637757EFF8615P1999L0M1.IMG"));
    EXPECT_TRUE(listed.contains("2P241328935EFFAUCTP2582L2M1.IMG"));
    EXPECT_FALSE(listed.contains("2P241328935EFFAUCTP2582L2M1.lbl"));
    EXPECT_TRUE(listed.contains("2P241328935EFFAUCTP2582L3M1.xml"));

    Choose("2P241328935EFFAUCTP2582L2M1.IMG");
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    EXPECT_EQ(Shown(), 60);
    EXPECT_EQ(QString::fromStdString(Main().SelectedPath()),
              Path("2P241328935EFFAUCTP2582L2M1.IMG"));
    Choose("2P241328935EFFAUCTP2582L3M1.xml");
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    EXPECT_EQ(Shown(), 90);
    // The XML file that is no label is passed over like any other document: the pass goes
    // on to the next entry and says nothing.
    Choose("0-notes.xml");
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    EXPECT_EQ(QString::fromStdString(Main().SelectedPath()),
              Path("1N241637757EFF8615P1999L0M1.IMG"));
    EXPECT_EQ(Shown(), 30);
}

TEST_F(ArchiveWindowsTest, ADamagedArchiveFileIsNamedInTheErrorAndThePictureStays) {
    Attached(kLeft, Grey(120));
    ArchiveLayout cut = Grey(40);
    cut.cut = 5;  // the download broke off
    Attached(kRight, cut);
    // A label whose samples are missing.
    test::DetachedPds3(pictures, "2P241328935EFFAUCTP2582R6M1.LBL",
                       "2P241328935EFFAUCTP2582R6M1.IMG", Grey(10), false);
    Open();
    Choose(kLeft);
    const QString attributes = Attributes().text();
    Choose(kRight);
    const std::vector<std::string> errors = prompts.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(kRight), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("but the data file holds"), std::string::npos) << errors[0];
    EXPECT_EQ(Shown(), 120);
    EXPECT_EQ(Attributes().text(), attributes);

    // The label alone is listed (it has no picture beside it), and says what is missing.
    prompts.Clear();
    Choose("2P241328935EFFAUCTP2582R6M1.LBL");
    ASSERT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_NE(prompts.Texts("error")[0].find("named by the label is missing"), std::string::npos);
    EXPECT_EQ(Shown(), 120);
    // The Stereo button names a damaged partner as the display pass does.
    prompts.Clear();
    Choose(kLeft);
    Main().findChild<QPushButton*>("Button13")->click();
    ASSERT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_NE(prompts.Texts("error")[0].find(kRight), std::string::npos);
}

TEST_F(ArchiveWindowsTest, AttributesLineGivesTheLabelsTrueTimeAndMarksAnotherSol) {
    Attached(kLeft, Grey(120, 12));
    // Same clock, but the label puts it on another sol.
    ArchiveLayout otherSol = Grey(40);
    otherSol.extraLabel = Facts(1294);
    Attached(kRight, otherSol);
    Bitmap24 jpeg(4, 4);
    jpeg.Fill(10, 10, 10);
    WriteJpegFile(jpeg, (pictures / "2P241328935EFFAUCTP2582R6M1.jpg"));
    Open();

    Choose(kLeft);
    // Each caption is held to its value (see AttributesLineWrapsOnlyBetweenItsUnits).
    EXPECT_EQ(AsRead(Attributes().text()).toStdString(),
              "12 x 12 pixels  24 bit\nPDS3  8 bit  START_TIME 2007-08-25T15:48:21.816Z"
              "  sol 1295  LTST 12:00:12  label - panel UTC +31 s");
    EXPECT_NE(Attributes().palette().color(QPalette::WindowText), QColor(255, 0, 0));

    Choose(kRight);
    EXPECT_TRUE(AsRead(Attributes().text()).contains("sol 1294"));
    EXPECT_EQ(Attributes().palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // The panel keeps the name's sol.
    EXPECT_EQ(windows->Main().GetBrowser().Decoded().panel.sol, "1295");

    // A JPEG has no label: one line, in the window's own colour again.
    Choose("2P241328935EFFAUCTP2582R6M1.jpg");
    EXPECT_EQ(Attributes().text(), "4 x 4 pixels  24 bit");
    EXPECT_NE(Attributes().palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

// The lines a word-wrapped label of `width` shows `text` in (as the label lays out plain text).
QStringList WrappedLines(const QString& text, const QFont& font, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    return lines;
}

TEST_F(ArchiveWindowsTest, AttributesLineWrapsOnlyBetweenItsUnits) {
    Attached(kLeft, Grey(120, 12));
    Open();
    Choose(kLeft);
    QLabel& line = Attributes();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QString text = line.text();
    const QString plain = AsRead(text);
    QStringList units;
    for (const QString& paragraph : plain.split(u'\n')) units << paragraph.split("  ");
    // Each line the label shows is whole units: no caption parted from its value.
    const auto check = [&](int width) {
        const QStringList lines = WrappedLines(text, line.font(), width);
        for (const QString& shown : lines) {
            for (const QString& unit : AsRead(shown).trimmed().split("  ")) {
                EXPECT_TRUE(units.contains(unit))
                    << width << " px: \"" << AsRead(shown).toStdString() << "\" in "
                    << lines.join(" | ").toStdString();
            }
        }
        return lines.size();
    };
    const int width = line.contentsRect().width();
    // At the window's own size the archive line does not fit on one line.
    EXPECT_GT(check(width), 2);
    for (const int narrower : {width * 3 / 4, width / 2, width / 3}) check(narrower);
}

TEST_F(ArchiveWindowsTest, StereoViewerFindsThePartnerWithTheFilesOwnExtension) {
    Attached(kLeft, Grey(200));
    // The partner's extension in small letters, as copies from other systems have it.
    Attached("2P241328935EFFAUCTP2582R5M1.img", Grey(20));
    Open();
    Choose(kLeft);
    Main().Button13Click();
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_EQ(Red(Viewer().RightEyeView()), 20);  // crossed: the right eye on the left
    EXPECT_EQ(Red(Viewer().LeftEyeView()), 200);
    EXPECT_EQ(Viewer().findChild<QLabel*>("RightEyeName")->text(), kRight);
    EXPECT_EQ(Viewer().findChild<QLabel*>("LeftEyeName")->text(), kLeft);

    // With autoshow on, browsing onto the left eye shows the pair by itself.
    Viewer().hide();
    Main().Menu().Item("Check Stereo Autoshow")->trigger();
    Choose("2P241328935EFFAUCTP2582R5M1.img");
    Choose(kLeft);
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_EQ(Red(Viewer().RightEyeView()), 20);
}

TEST_F(ArchiveWindowsTest, AutomaticColourRunCompositesThreeImgBands) {
    Attached(kSequence + "4M1.IMG", Grey(200));
    Attached(kSequence + "5M1.IMG", Grey(100));
    Attached(kSequence + "6M1.IMG", Grey(50));
    Open();
    Choose(kSequence + "4M1.IMG");
    Main().findChild<QPushButton*>("Button9")->click();
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    ColourWindow& colour = windows->Colour();
    ASSERT_TRUE(colour.AllLoaded());
    const std::uint8_t* p = colour.Composite().Row(0);
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{50, 100, 200}));
    // Whatever the composite is saved as, the band files stay as they were.
    EXPECT_TRUE(QFileInfo::exists(Path(kSequence + "4M1.IMG")));
}

TEST_F(ArchiveWindowsTest, SunsetOpensAnArchiveFileThroughItsDialog) {
    test::DetachedPds3(pictures, "2P241328935EFFAUCTP2582L2M1.LBL",
                       "2P241328935EFFAUCTP2582L2M1.IMG", Grey(77));
    Open();
    SunsetWindow& sunset = windows->Sunset();
    // The detached label's picture, chosen as its raw samples.
    prompts.fileChoices = {{true, Path("2P241328935EFFAUCTP2582L2M1.IMG"), 5}};
    sunset.Button2Click();
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].filters.contains(
        "Planetary archive (*.IMG;*.img;*.LBL;*.lbl;*.xml)"));
    EXPECT_EQ(prompts.log, std::vector<std::string>{"open: Open Image"});
    ASSERT_EQ(sunset.Working().Width(), 8);
    EXPECT_EQ(sunset.Working().Row(3)[0], 77);
}

TEST_F(ArchiveWindowsTest, MagnifierReadsOutTheStoredSampleBesideTheGrey) {
    // A 16-bit EDR: 12-bit values, stretched for display.
    ArchiveLayout edr;
    edr.width = edr.height = 16;
    edr.bits = 16;
    for (int i = 0; i < 256; ++i) edr.samples.push_back(i * 16);
    edr.extraLabel = Facts();
    Attached(kLeft, edr);
    Open();
    windows->Magnifier().SetSettingsPath(programDir.filePath("kobrix.INI"));
    Choose(kLeft);
    Main().Menu().Item("Magnifier Tool")->trigger();
    MagnifierWindow& tool = windows->Magnifier();
    ASSERT_TRUE(tool.isVisible());
    tool.PointerMoved({15, 15});  // the last sample, 4080: white after the stretch
    EXPECT_EQ(tool.findChild<QLabel*>("LocationLabel")->text(),
              "(X,Y) = (15, 15)     (R,G,B) = (255, 255, 255) = clWhite     sample 4080");
    tool.PointerMoved({1, 0});
    EXPECT_TRUE(tool.findChild<QLabel*>("LocationLabel")->text().endsWith("     sample 16"));
}

TEST_F(ArchiveWindowsTest, CopiedToTheAviToolADetachedPairTravelsWholeAndBecomesABitmap) {
    const std::string frame = "2P241328935EFFAUCTP2582L2M1";
    test::DetachedPds3(pictures, frame + ".LBL", frame + ".IMG", Grey(70));
    Attached(kLeft, Grey(140));
    Open();
    auto& multi = *Main().findChild<QListWidget*>("ListBox1");
    prompts.answers = {true};
    Main().FileOps().FileListRightClick();
    ASSERT_EQ(multi.count(), 2);
    for (int i = 0; i < multi.count(); ++i) multi.item(i)->setSelected(true);
    Main().FileOps().MultiSelectClick();
    prompts.Clear();
    prompts.answers = {true};
    Main().FileOps().MultiSelectRightClick();
    // Both pictures copied, the raw samples with their label, and made into frames there.
    ASSERT_FALSE(prompts.log.empty());
    EXPECT_EQ(prompts.log.front(), "question: COPY SELECTED FILES TO AVI SOURCE DIRECTORY");
    for (const std::string& entry : prompts.log) {
        EXPECT_EQ(entry.find("FAILED"), std::string::npos) << entry;  // no copy failed
        EXPECT_EQ(entry.find("not converted"), std::string::npos) << entry;
    }
    const QDir source(programDir.filePath("AVIsource"));
    EXPECT_EQ(source.entryList(QDir::Files), (QStringList{QString::fromStdString(frame) + ".bmp",
                                                          "2P241328935EFFAUCTP2582L5M1.bmp"}));
    const Bitmap24 converted =
        ReadBmpFile(source.filePath(QString::fromStdString(frame) + ".bmp").toStdString());
    EXPECT_EQ(converted.Row(0)[0], 70);
    // The user's own files are where they were.
    for (const std::string& name : {frame + ".LBL", frame + ".IMG", std::string(kLeft)}) {
        EXPECT_TRUE(QFileInfo::exists(Path(name))) << name;
    }
}

TEST_F(ArchiveWindowsTest, AnArchiveFrameWhoseBitmapIsInTheWayStaysWhole) {
    Open();
    const QDir source(programDir.filePath("AVIsource"));
    const std::string frame = "2P241328935EFFAUCTP2582L2M1";
    const std::string label = source.filePath(QString::fromStdString(frame + ".LBL")).toStdString();
    const ArchiveLayout layout = Grey(70);
    const std::string text =
        "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\nRECORD_BYTES = 8\r\n"
        "^IMAGE = (\"" +
        frame + ".IMG\", 1)\r\n" + test::Pds3ImageObject(layout);
    test::WriteBytes(label, std::vector<std::uint8_t>(text.begin(), text.end()));
    test::WriteBytes(source.filePath(QString::fromStdString(frame + ".IMG")).toStdString(),
                     test::EncodeSamples(layout));
    Bitmap24 mine(2, 2);
    mine.Fill(1, 2, 3);
    WriteBmpFile(mine, source.filePath(QString::fromStdString(frame + ".bmp")).toStdString());
    Main().Menu().Item("AVI Creation Tool")->trigger();
    prompts.Clear();
    windows->AviTool().ConvertJpgsToBmps();
    EXPECT_EQ(source.entryList(QDir::Files), (QStringList{QString::fromStdString(frame) + ".bmp",
                                                          QString::fromStdString(frame) + ".IMG",
                                                          QString::fromStdString(frame) + ".LBL"}));
    EXPECT_EQ(
        ReadBmpFile(source.filePath(QString::fromStdString(frame + ".bmp")).toStdString()).Width(),
        2);
    ASSERT_EQ(prompts.Texts("warning").size(), 1u);
    EXPECT_NE(prompts.Texts("warning")[0].find("already exists"), std::string::npos);
}

// Delete in the user's folder, with the question answered Yes.
class ArchiveDeleteTest : public ArchiveWindowsTest {
  protected:
    QString shown;  // the path caption under an error box
    void DeleteChosen() {
        prompts.answers = {true};
        Main().Menu().Item("Delete")->trigger();
    }
    QLabel& Caption() { return *Main().findChild<QLabel*>("Label1"); }
    std::vector<std::string> Left() const { return test::Names(pictures); }
};

TEST_F(ArchiveDeleteTest, DeletingADetachedPairTakesItsLabelInEitherCase) {
    const std::string upper = "2P241328935EFFAUCTP2582L2M1";
    const std::string lower = "2P241328935EFFAUCTP2582L3M1";
    test::DetachedPds3(pictures, upper + ".LBL", upper + ".IMG", Grey(60));
    test::DetachedPds3(pictures, lower + ".lbl", lower + ".IMG", Grey(90));
    // Files whose names only begin like the pair's, and a JPEG of the same product.
    for (const std::string& decoy : {upper + "X.LBL", upper + ".LBL.bak", upper + ".jpg"}) {
        test::Put(pictures, decoy, {'x'});
    }
    Open();
    Choose(upper + ".IMG");
    DeleteChosen();
    EXPECT_EQ(prompts.log,
              (std::vector<std::string>{"question: Confirm File Deletion",
                                        "message: Yes pressed, file will be deleted."}));
    EXPECT_EQ(Left(), (std::vector<std::string>{upper + ".LBL.bak", upper + ".jpg", upper + "X.LBL",
                                                lower + ".IMG", lower + ".lbl"}));
    EXPECT_EQ(Caption().text(), Path(upper + ".IMG") + " FILE DELETED  " +
                                    QString::fromStdString(upper) + ".LBL FILE DELETED");
    // No label is left behind in the list either.
    EXPECT_FALSE(Listed().contains(QString::fromStdString(upper + ".LBL")));

    // The small-letter label goes too, and the caption names both files. The pair was the
    // folder's last picture: the re-read list warns.
    std::filesystem::remove(pictures / (upper + ".jpg"));
    std::filesystem::remove(pictures / (upper + "X.LBL"));
    std::filesystem::remove(pictures / (upper + ".LBL.bak"));
    Main().RereadFileList();
    Choose(lower + ".IMG");
    prompts.Clear();
    DeleteChosen();
    EXPECT_TRUE(Left().empty());
    EXPECT_EQ(prompts.Texts("warning").size(), 1u);
    EXPECT_EQ(Caption().text(), Path(lower + ".IMG") + " FILE DELETED  " +
                                    QString::fromStdString(lower) + ".lbl FILE DELETED");
    EXPECT_TRUE(prompts.Texts("error").empty());
    EXPECT_EQ(Caption().palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(ArchiveDeleteTest, DeletingAPds4LabelTakesItsDataAndLeavesTheOtherProduct) {
    const std::string gone = "2P241328935EFFAUCTP2582L3M1";
    const std::string kept = "2P241328935EFFAUCTP2582L4M1";
    test::Pds4(pictures, gone, Grey(90));
    test::Pds4(pictures, kept, Grey(40));
    Open();
    Choose(gone + ".xml");
    DeleteChosen();
    EXPECT_EQ(Left(), (std::vector<std::string>{kept + ".dat", kept + ".xml"}));
    EXPECT_TRUE(prompts.Texts("error").empty());
    // The remaining product still opens.
    Choose(kept + ".xml");
    EXPECT_EQ(Shown(), 40);
}

TEST_F(ArchiveDeleteTest, ALabelThatCannotBeDeletedIsReportedAndNotClaimed) {
    const std::string pair = "2P241328935EFFAUCTP2582L2M1";
    test::DetachedPds3(pictures, pair + ".LBL", pair + ".IMG", Grey(60));
    Attached(kLeft, Grey(30));
    Open();
    Choose(pair + ".IMG");
    // While the box is open, something puts a folder where the label was.
    prompts.answers = {true};
    prompts.onPrompt = [this, pair](const std::string& entry) {
        if (entry.rfind("question", 0) == 0) {
            std::filesystem::remove(pictures / (pair + ".LBL"));
            std::filesystem::create_directory(pictures / (pair + ".LBL"));
        } else if (entry.rfind("error", 0) == 0) {
            shown = Main().findChild<QLabel*>("Label1")->text();
        }
    };
    Main().Menu().Item("Delete")->trigger();
    prompts.onPrompt = nullptr;
    ASSERT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_EQ(prompts.Texts("error")[0], pictures / (pair + ".LBL") + ": a directory, not a file.");
    EXPECT_FALSE(std::filesystem::exists(pictures / (pair + ".IMG")));
    // Under the error box, and after it, the caption claims the samples only, in red.
    EXPECT_EQ(shown, Path(pair + ".IMG") + " FILE DELETED");
    EXPECT_EQ(Caption().text(), shown);
    EXPECT_EQ(Caption().palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // The samples cannot be deleted: nothing is, and the label stays with them.
    test::DetachedPds3(pictures, "2P241328935EFFAUCTP2582L6M1.LBL",
                       "2P241328935EFFAUCTP2582L6M1.IMG", Grey(60));
    Main().RereadFileList();
    Choose("2P241328935EFFAUCTP2582L6M1.IMG");
    prompts.Clear();
    prompts.answers = {true};
    prompts.onPrompt = [this](const std::string& entry) {
        if (entry.rfind("question", 0) == 0) {
            std::filesystem::remove(pictures / "2P241328935EFFAUCTP2582L6M1.IMG");
            std::filesystem::create_directory(pictures / "2P241328935EFFAUCTP2582L6M1.IMG");
        }
    };
    Main().Menu().Item("Delete")->trigger();
    prompts.onPrompt = nullptr;
    ASSERT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(pictures / "2P241328935EFFAUCTP2582L6M1.LBL"));
    EXPECT_EQ(Caption().text(), Path("2P241328935EFFAUCTP2582L6M1.IMG"));
}

// A sample picture as a 16-bit EDR.
ArchiveLayout EdrFrom(const QString& sample, const std::string& facts) {
    return test::EdrFromJpeg(QDir(KOBRIX_SAMPLES_DIR).filePath(sample).toStdString(), facts);
}

TEST_F(ArchiveWindowsTest, AnaglyphMakerTakesTheImgPairFromTheViewerAndScreenshots) {
    const std::string pair = "2N241329230EFFAUCTP1952";
    const std::string facts =
        "START_TIME = 2007-08-25T15:53:16.816Z\r\nPLANET_DAY_NUMBER = 1295\r\n"
        "LOCAL_TRUE_SOLAR_TIME = \"12:04:34\"\r\n";
    Attached(pair + "L0M1.IMG", EdrFrom(QString::fromStdString(pair + "L0M1.jpg"), facts));
    Attached(pair + "R0M1.IMG", EdrFrom(QString::fromStdString(pair + "R0M1.jpg"), facts));
    const std::string colour = "2P241328935EFFAUCTP2582L";
    for (const char digit : {'4', '5', '6'}) {
        Attached(colour + digit + "M1.IMG",
                 EdrFrom(QString::fromStdString(colour + digit + "M1.jpg"), Facts(1294)));
    }
    Open();
    Main().resize(1024, 740);
    Choose(pair + "L0M1.IMG");
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    EXPECT_TRUE(AsRead(Attributes().text()).endsWith("label - panel UTC +31 s"))
        << Attributes().text().toStdString();
    testing::SaveScreenshot(Main(), "archive-main-window.png");
    Choose(colour + "5M1.IMG");
    EXPECT_EQ(Attributes().palette().color(QPalette::WindowText), QColor(255, 0, 0));
    testing::SaveScreenshot(Main(), "archive-main-window-other-sol.png");

    Choose(pair + "L0M1.IMG");
    Main().Button13Click();
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_EQ(Viewer().findChild<QLabel*>("RightEyeName")->text(),
              QString::fromStdString(pair + "R0M1.IMG"));
    testing::SaveScreenshot(Viewer(), "archive-stereo-viewer.png");
    Viewer().findChild<QPushButton*>("Button5")->click();
    AnaglyphWindow& maker = windows->Anaglyph();
    ASSERT_TRUE(maker.Loaded1() && maker.Loaded2());
    EXPECT_TRUE(prompts.log.empty()) << prompts.log.front();
    testing::SaveScreenshot(maker, "archive-anaglyph.png");
}

}  // namespace
}  // namespace kobrix
