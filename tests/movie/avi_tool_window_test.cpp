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

#include "app/file_commands.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
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
};

TEST_F(AviToolTest, ConvertThenMakeAviPutsTheMovieInTheOutputDirectory) {
    Jpeg(dir.filePath(kSpirit), 8, 8);
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
    EXPECT_EQ(Main().ListDirectory(), dir.path().toStdString());
    EXPECT_EQ(MainList().currentItem()->text(), kSpirit);
}

TEST_F(AviToolTest, NamesRatesAndFailures) {
    Jpeg(dir.filePath(kSpirit), 8, 8);
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
    Jpeg(dir.filePath("a.jpg"), 8, 8);
    Open();
    Main().FileOps().aviToolRequested(dir.path());
    EXPECT_TRUE(Tool().isVisible());
    Jpeg(Source("b.jpg"), 8, 8);  // frames that arrived in the source directory meanwhile
    Main().FileOps().aviToolRequested(dir.path());
    EXPECT_EQ(QDir(Source()).entryList(QDir::Files), QStringList{"b.bmp"});
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
