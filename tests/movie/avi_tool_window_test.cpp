#include "movie/avi_tool_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

#include "app/file_commands.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "movie/avi_player_panel.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kNoFrames =
    "WARNING, there are no image files in the AVIsource. Put some Bitmaps or Jpegs into the "
    "Kobrix2007\\AVIsource\\ Directory first. The AVI creation page needs them.";

class AviToolTest : public testing::WindowsTest {
  protected:
    AviToolWindow& Tool() { return windows->AviTool(); }
    QString Source(const QString& name = QString()) const {
        return QDir(dir.filePath("AVIsource")).filePath(name);
    }
    QString Output(const QString& name = QString()) const {
        return QDir(dir.filePath("AVIoutput")).filePath(name);
    }
    QString Text(const char* name) { return Tool().findChild<QLabel*>(name)->text(); }
    QLineEdit& Edit(const char* name) { return *Tool().findChild<QLineEdit*>(name); }
    QListWidget& MainList() { return *Main().findChild<QListWidget*>("FileListBox1"); }

    static void Jpeg(const QString& path, int width, int height) {
        Bitmap24 picture(width, height);
        picture.Fill(30, 90, 150);
        WriteJpegFile(picture, path.toStdString());
    }
    static void Bmp(const QString& path, int width, int height, std::uint8_t blue,
                    std::uint8_t green, std::uint8_t red) {
        Bitmap24 picture(width, height);
        picture.Fill(blue, green, red);
        WriteBmpFile(picture, path.toStdString());
    }
    // A bitmap of `bits` bits a pixel (a grey palette up to 8) with `compression` in its
    // header; the pixel bytes are zero.
    static void RawBmp(const QString& path, int width, int height, int bits, int compression) {
        const int stride = (width * bits + 31) / 32 * 4;
        const int colours = bits <= 8 ? 1 << bits : 0;
        const int offset = 54 + 4 * colours;
        QByteArray b(offset + stride * height, '\0');
        const auto put = [&b](int at, quint32 value, int bytes) {
            for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(value >> (8 * i));
        };
        b[0] = 'B';
        b[1] = 'M';
        put(2, static_cast<quint32>(b.size()), 4);
        put(10, static_cast<quint32>(offset), 4);
        put(14, 40, 4);
        put(18, static_cast<quint32>(width), 4);
        put(22, static_cast<quint32>(height), 4);
        put(26, 1, 2);
        put(28, static_cast<quint32>(bits), 2);
        put(30, static_cast<quint32>(compression), 4);
        put(34, static_cast<quint32>(stride * height), 4);
        put(46, static_cast<quint32>(colours), 4);
        for (int i = 0; i < colours; ++i) put(54 + 4 * i, static_cast<quint32>(i * 0x010101), 4);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(b);
    }
    static QColor PixelOf(const QString& path) {
        const Bitmap24 picture = ReadBmpFile(path.toStdString());
        const std::uint8_t* p = picture.Row(0);
        return QColor(p[2], p[1], p[0]);
    }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    QString Path(const QString& name) const { return QDir(Pictures()).filePath(name); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    void Open() {
        OpenAll();
        Main().ShowListDirectory(Pictures().toStdString());
        prompts.Clear();  // the empty program directory's warning
    }
};

TEST_F(AviToolTest, ConvertThenMakeAviPutsTheMovieInTheOutputDirectory) {
    Jpeg(Path(kSpirit), 8, 8);
    Open();
    Jpeg(Source("a.jpg"), 33, 17);  // odd width: padded rows
    Jpeg(Source("b.JPG"), 33, 17);
    Jpeg(Source("c.Jpg"), 33, 17);  // this spelling is left alone
    Choose(kSpirit);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    ASSERT_TRUE(Tool().isVisible());
    EXPECT_EQ(Main().ListDirectory(), QDir(Source()).absolutePath().toStdString());
    EXPECT_EQ(Text("Status"), "WAITING");
    EXPECT_EQ(Text("Counter"), "1 of 3");
    EXPECT_EQ(Text("SizeLabel"), "33 x 17 pixels");

    Tool().ConvertJpgsToBmps();
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files), (QStringList{"a.bmp", "b.bmp", "c.Jpg"}));
    EXPECT_EQ(ReadBmpFile(Source("a.bmp").toStdString()).Width(), 33);
    QFile::remove(Source("c.Jpg"));
    Tool().SetUpDirectories();

    Edit("NameEdit").setText("movie");
    Tool().MakeAvi();
    EXPECT_EQ(Text("Status"), "Writing AVI");
    EXPECT_TRUE(Tool().WriteTimer().isActive());
    Tool().WriteStep();
    EXPECT_EQ(Text("Status"), "AVI written successfully");
    EXPECT_TRUE(QFileInfo::exists(Output("movie.avi")));
    EXPECT_FALSE(QFileInfo::exists(Source("movie.avi")));
    EXPECT_EQ(Tool().FrameRate(), 5);

    // A second movie of that name stays where it was made; the first is kept.
    const qint64 first = QFileInfo(Output("movie.avi")).size();
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(prompts.Texts("information").size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(Source("movie.avi")));
    EXPECT_EQ(QFileInfo(Output("movie.avi")).size(), first);

    // Close: the main window is back on its directory and file.
    Tool().CloseTool();
    EXPECT_FALSE(Tool().isVisible());
    EXPECT_EQ(Main().ListDirectory(), Pictures().toStdString());
    EXPECT_EQ(MainList().currentItem()->text(), kSpirit);
}

TEST_F(AviToolTest, NamesRatesAndFailures) {
    Jpeg(Path(kSpirit), 8, 8);
    Open();
    Main().Menu().Item("AVI Creation Tool")->trigger();  // an empty source directory
    const auto warnings = prompts.Texts("warning");
    EXPECT_NE(std::find(warnings.begin(), warnings.end(), kNoFrames), warnings.end());
    EXPECT_EQ(Edit("NameEdit").text(), "NoNameYet");  // nothing decoded yet
    Tool().CloseTool();

    Jpeg(Source(kSpirit), 8, 8);  // frames named as the mission names them
    prompts.Clear();
    Main().Menu().Item("AVI Creation Tool")->trigger();
    EXPECT_EQ(Edit("NameEdit").text(), "Mer2PSol1295Hr21Min35");

    Edit("NameEdit").setText("");
    Tool().EnterNewSettings();
    EXPECT_EQ(Tool().MovieFileName(), ".avi");
    EXPECT_EQ(Text("FileInUse"), ".avi");
    for (const char* rate : {"abc", "0"}) {
        Edit("RateEdit").setText(rate);
        EXPECT_THROW(Tool().EnterNewSettings(), std::exception) << rate;
        EXPECT_EQ(Tool().FrameRate(), 5);
    }
    // A refused rate writes nothing; a JPEG frame fails the write as the tool always said.
    Edit("RateEdit").setText("x");
    EXPECT_THROW(Tool().MakeAvi(), std::exception);
    EXPECT_FALSE(Tool().WriteTimer().isActive());
    Edit("RateEdit").setText("5");
    Tool().MakeAvi();
    prompts.Clear();
    Tool().WriteStep();
    EXPECT_TRUE(Tool().WriteFailed());
    EXPECT_EQ(Text("Status"), "AVI write FAILED");
    EXPECT_EQ(prompts.Texts("warning"), (std::vector<std::string>{"AVI creation failed !"}));
}

TEST_F(AviToolTest, DeletionsAskAndCopiesNeverReplace) {
    Open();
    Jpeg(Source("a.jpg"), 8, 8);
    Jpeg(Source("b.jpg"), 8, 8);
    Jpeg(Output("b.jpg"), 4, 4);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    Tool().findChild<QListWidget*>("FileListBox1")->setCurrentRow(1);
    Tool().CopyToOutput();
    EXPECT_EQ(ReadJpegFile(Output("b.jpg").toStdString()).Width(), 4);  // kept
    EXPECT_EQ(prompts.Texts("information").size(), 1u);
    Tool().findChild<QListWidget*>("FileListBox1")->setCurrentRow(0);
    Tool().MoveToOutput();
    EXPECT_TRUE(QFileInfo::exists(Output("a.jpg")));
    EXPECT_FALSE(QFileInfo::exists(Source("a.jpg")));

    prompts.answers = {false, true};
    Tool().DeleteAll();
    EXPECT_TRUE(QFileInfo::exists(Source("b.jpg")));
    Tool().DeleteAll();
    EXPECT_TRUE(QDir(Source()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(Text("Status"), "b.jpg FILE DELETED");
    // The output directory holds pictures only: opening, copying and moving say so.
    const std::string noMovies = "Incorrect filetypes or no AVIs were found.";
    EXPECT_EQ(prompts.Texts("message"),
              (std::vector<std::string>{noMovies, noMovies, noMovies,
                                        "Cancel pressed, files will be kept.",
                                        "Yes pressed, ALL files will be deleted."}));
}

TEST_F(AviToolTest, CopiedSelectionOpensTheToolOnItsFramesAsBitmaps) {
    Jpeg(Path("a.jpg"), 8, 8);
    Open();
    Main().FileOps().aviToolRequested(Pictures());
    EXPECT_TRUE(Tool().isVisible());
    Jpeg(Source("b.jpg"), 8, 8);  // frames that arrived in the source directory meanwhile
    Main().FileOps().aviToolRequested(Pictures());
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files), QStringList{"b.bmp"});
}

TEST_F(AviToolTest, FramesCopiedFromTheUsersFolderMakeAMovieAndTheMainWindowGoesBack) {
    const QString second = "2P241328935EFFAUCTP2582L6M1.jpg";
    Jpeg(Path(kSpirit), 24, 16);
    Jpeg(Path(second), 24, 16);
    Open();
    Choose(second);
    // The multi-select list: both pictures collected, then copied to the source directory.
    prompts.answers = {true};
    Main().FileOps().FileListRightClick();
    auto& multi = *Main().findChild<QListWidget*>("ListBox1");
    for (int i = 0; i < multi.count(); ++i) multi.item(i)->setSelected(true);
    Main().FileOps().MultiSelectClick();
    prompts.Clear();
    prompts.answers = {true};
    Main().FileOps().MultiSelectRightClick();
    ASSERT_TRUE(Tool().isVisible());
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files),
              (QStringList{kSpirit, second}).replaceInStrings(".jpg", ".bmp"));
    EXPECT_EQ(Edit("NameEdit").text(), "Mer2PSol1295Hr21Min35");
    for (const std::string& said : prompts.log) {
        EXPECT_EQ(said.find("FAILED"), std::string::npos) << said;
    }
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(Text("Status"), "AVI written successfully");
    EXPECT_TRUE(QFileInfo::exists(Output("Mer2PSol1295Hr21Min35.avi")));

    // Closed, the main window is back in the user's folder on the picture last collected; the
    // user's pictures are as they were.
    Tool().CloseTool();
    EXPECT_EQ(Main().ListDirectory(), Pictures().toStdString());
    ASSERT_NE(MainList().currentItem(), nullptr);
    EXPECT_EQ(MainList().currentItem()->text(), second);
    EXPECT_EQ(Main().SelectedPath(), Path(second).toStdString());
    EXPECT_EQ(QDir(Pictures()).entryList(QDir::Files), (QStringList{kSpirit, second}));
}

TEST_F(AviToolTest, InTheUsersOwnFolderNothingOfTheirsGoesWithoutAsking) {
    Jpeg(Path("a.jpg"), 24, 16);
    Jpeg(Path("b.jpg"), 24, 16);
    Open();
    Main().Menu().Item("AVI Creation Tool")->trigger();
    Tool().NavigateTo(Pictures());  // the source box moved to the user's folder
    EXPECT_EQ(Text("Counter"), "1 of 2");
    // Converting deletes the JPEGs: asked, and kept on Cancel.
    prompts.Clear();
    prompts.answers = {false};
    Tool().ConvertJpgsToBmps();
    ASSERT_EQ(prompts.Texts("question").size(), 1u);
    EXPECT_NE(prompts.Texts("question")[0].find(Pictures().toStdString()), std::string::npos);
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>{"Cancel pressed, pictures will be kept."});
    EXPECT_EQ(QDir(Pictures()).entryList(QDir::Files), (QStringList{"a.jpg", "b.jpg"}));
    prompts.answers = {true};
    Tool().ConvertJpgsToBmps();
    EXPECT_EQ(QDir(Pictures()).entryList(QDir::Files), (QStringList{"a.bmp", "b.bmp"}));

    // A movie of the name the user already keeps there is not written over unasked.
    QFile mine(Path("holiday.avi"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("the user's own movie");
    mine.close();
    Edit("NameEdit").setText("holiday");
    prompts.Clear();
    prompts.answers = {false};
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(prompts.Texts("question"),
              std::vector<std::string>{"holiday.avi already exists in " +
                                       (Pictures() + "/").toStdString() + ". Replace it?"});
    EXPECT_EQ(QFileInfo(Path("holiday.avi")).size(), 20);
    EXPECT_FALSE(QFileInfo::exists(Output("holiday.avi")));
    EXPECT_EQ(Text("Status"), "Waiting");
    // Said Yes to, the movie is made and moved to the output directory as always.
    prompts.answers = {true};
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(Text("Status"), "AVI written successfully");
    EXPECT_TRUE(QFileInfo::exists(Output("holiday.avi")));

    // In the AVI source directory itself both go on without a question, as they always did.
    Tool().CloseTool();
    Jpeg(Source("c.jpg"), 24, 16);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    prompts.Clear();
    Tool().ConvertJpgsToBmps();
    EXPECT_TRUE(prompts.Texts("question").empty());
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files), QStringList{"c.bmp"});
}

TEST_F(AviToolTest, TagAllFramesStampsEveryFrameInItsFile) {
    Open();
    Bitmap24 black(64, 64);
    black.Fill(0, 0, 0);
    for (const char* name : {"a.bmp", "b.BMP"}) WriteBmpFile(black, Source(name).toStdString());
    Jpeg(Source("c.Jpg"), 64, 64);  // this spelling is left alone
    const qint64 untouched = QFileInfo(Source("c.Jpg")).size();
    Main().Menu().Item("AVI Creation Tool")->trigger();
    Tool().TagAllFrames();
    EXPECT_TRUE(Tool().TagTimer().isActive());
    for (int step = 0; step < 5 && Tool().TagTimer().isActive(); ++step) Tool().TagStep();
    EXPECT_FALSE(Tool().TagTimer().isActive());
    for (const char* name : {"a.bmp", "b.BMP"}) {
        const Bitmap24 tagged = ReadBmpFile(Source(name).toStdString());
        bool yellow = false;
        for (int y = 0; y < tagged.Height() && !yellow; ++y) {
            for (int x = 0; x < tagged.Width() && !yellow; ++x) {
                const std::uint8_t* p = tagged.Row(y) + 3 * x;
                yellow = p[2] > 60 && p[1] > 60 && p[0] < 40;
            }
        }
        EXPECT_TRUE(yellow) << name;
    }
    EXPECT_EQ(QFileInfo(Source("c.Jpg")).size(), untouched);
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files).size(), 3);
}

TEST_F(AviToolTest, ConvertingNeverReplacesAFrameAndSaysWhichJpegStayed) {
    Open();
    Jpeg(Source("x1.jpg"), 16, 16);
    Bitmap24 blue(16, 16);
    blue.Fill(255, 0, 0);
    WriteJpegFile(blue, Source("x1.JPG").toStdString());
    Bmp(Source("x2.bmp"), 16, 16, 0, 255, 0);  // lime, already a frame
    Jpeg(Source("x2.jpg"), 16, 16);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    EXPECT_EQ(Text("Counter"), "1 of 4");

    prompts.Clear();
    Tool().ConvertJpgsToBmps();
    // x1.JPG, first in the list, made x1.bmp; nothing else was replaced or lost.
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files),
              (QStringList{"x1.bmp", "x1.jpg", "x2.bmp", "x2.jpg"}));
    EXPECT_GT(PixelOf(Source("x1.bmp")).blue(), 200);
    EXPECT_LT(PixelOf(Source("x1.bmp")).red(), 60);
    EXPECT_EQ(PixelOf(Source("x2.bmp")), QColor(0, 255, 0));
    EXPECT_EQ(prompts.Texts("warning"),
              (std::vector<std::string>{"x1.jpg was not converted: x1.bmp was just made from "
                                        "x1.JPG.\nx2.jpg was not converted: x2.bmp already "
                                        "exists."}));
    EXPECT_EQ(Text("Counter"), "1 of 4");
}

TEST_F(AviToolTest, HiddenFilesAreNoFramesAndAfterTheMovieTheLastFrameIsShown) {
    Open();
    Bmp(Source("a.bmp"), 24, 16, 0, 0, 255);
    Bmp(Source("b.bmp"), 24, 16, 255, 0, 0);
    QFile hidden(Source(".hidden"));
    ASSERT_TRUE(hidden.open(QIODevice::WriteOnly));
    hidden.write("not a frame");
    hidden.close();
    const QString elsewhere = dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    EXPECT_EQ(Text("Counter"), "1 of 2");
    EXPECT_EQ(Tool().findChild<QListWidget*>("FileListBox1")->count(), 2);
    // The main window follows the frame, hidden file or not.
    Tool().findChild<QListWidget*>("FileListBox1")->setCurrentRow(1);
    ASSERT_NE(MainList().currentItem(), nullptr);
    EXPECT_EQ(MainList().currentItem()->text(), "b.bmp");

    // Looking at another output folder meanwhile: the movie still goes to AVIoutput.
    Tool().Player().ChooseOutputDirectory(elsewhere);
    prompts.Clear();
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(Text("Status"), "AVI written successfully");
    EXPECT_TRUE(prompts.Texts("warning").empty());
    EXPECT_EQ(QDir(Tool().OutputDirectory()), QDir(Output()));
    EXPECT_TRUE(QFileInfo::exists(Output(Tool().MovieFileName())));
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    // The last frame is selected, counted and named.
    EXPECT_EQ(Tool().findChild<QListWidget*>("FileListBox1")->currentRow(), 1);
    EXPECT_EQ(Text("Counter"), "2 of 2");
    EXPECT_EQ(Text("FileNameLabel"), "b.bmp");
}

TEST_F(AviToolTest, AMismatchNamesWhatDiffersAndARefusedWriteSaysSo) {
    Open();
    Bmp(Source("a.bmp"), 161, 121, 0, 0, 255);
    RawBmp(Source("b.bmp"), 161, 121, 8, 0);
    Main().Menu().Item("AVI Creation Tool")->trigger();
    prompts.Clear();
    Tool().MakeAvi();
    Tool().WriteStep();
    ASSERT_EQ(prompts.Texts("warning").size(), 1u);
    std::string said = prompts.Texts("warning").front();
    EXPECT_NE(said.find("frame 2 differs from the first frame: 8 bits a pixel, not 24"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("161 x 121"), std::string::npos) << said;

    RawBmp(Source("a.bmp"), 161, 121, 8, 0);
    RawBmp(Source("b.bmp"), 161, 121, 8, 1);  // RLE8
    prompts.Clear();
    Tool().MakeAvi();
    Tool().WriteStep();
    ASSERT_EQ(prompts.Texts("warning").size(), 1u);
    said = prompts.Texts("warning").front();
    EXPECT_NE(said.find("compression RLE8, not none"), std::string::npos) << said;
    EXPECT_EQ(Text("Status"), "AVI write FAILED");

    // The disk refuses the second frame (a file size limit stands in for a full disk).
    Bmp(Source("a.bmp"), 256, 256, 10, 20, 30);
    Bmp(Source("b.bmp"), 256, 256, 30, 20, 10);
    Tool().SetUpDirectories();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 300 * 1024;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    prompts.Clear();
    Tool().MakeAvi();
    Tool().WriteStep();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(prompts.Texts("message"), (std::vector<std::string>{"Error during Write AVI File"}));
    EXPECT_TRUE(prompts.Texts("warning").empty());
    EXPECT_EQ(Text("Status"), "AVI write FAILED");
    EXPECT_FALSE(QFileInfo::exists(Source(Tool().MovieFileName())));
    EXPECT_FALSE(QFileInfo::exists(Output(Tool().MovieFileName())));
}

TEST_F(AviToolTest, Screenshots) {
    Open();
    for (const char* name : {"2N241329230EFFAUCTP1952L0M1.jpg", "2N241329230EFFAUCTP1952R0M1.jpg",
                             "2P241328935EFFAUCTP2582L5M1.jpg"}) {
        ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath(name), Source(name)));
    }
    Main().Menu().Item("AVI Creation Tool")->trigger();
    testing::SaveScreenshot(Tool(), "avi-tool-opened.png");
    Tool().ConvertJpgsToBmps();
    Tool().MakeAvi();
    Tool().WriteStep();
    EXPECT_EQ(Text("Status"), "AVI written successfully");
    testing::SaveScreenshot(Tool(), "avi-tool-written.png");
}

}  // namespace
}  // namespace kobrix
