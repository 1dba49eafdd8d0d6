#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <fstream>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "decode/rounding.h"
#include "imaging/jpeg_io.h"
#include "movie/avi_player_panel.h"
#include "movie/avi_tool_window.h"
#include "movie/core/movie_module.h"
#include "movie/large_player_window.h"
#include "movie/movie_player.h"
#include "tests/movie/movie_fixtures.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kNoMovies = "Incorrect filetypes or no AVIs were found.";
constexpr const char* kNoMovieOpen =
    "No movie is open: choose one in the movie list and press \"Play AVI\".";

bool ShowsFrame(const QImage& shown, int i, int width, int height) {
    const Bitmap24 expected = testing::MovieFrame(i, width, height);
    const QImage copy = shown.convertToFormat(QImage::Format_BGR888);
    if (copy.width() != width || copy.height() != height) return false;
    for (int y = 0; y < height; ++y) {
        if (std::memcmp(copy.constScanLine(y), expected.Row(y), std::size_t(width) * 3) != 0)
            return false;
    }
    return true;
}

// Drives a player by a clock of its own: each step moves the clock on, waits until the
// decoder has filled its queue and presents what is due.
struct ClockedPlayer {
    MoviePlayer& player;
    std::int64_t now = 0;
    std::vector<PlayResult> results;

    explicit ClockedPlayer(MoviePlayer& p) : player(p) {
        player.SetClock([this] { return now; });
        QObject::connect(&player, &MoviePlayer::notified,
                         [this](PlayResult result) { results.push_back(result); });
    }
    void Step(int milliseconds) {
        now += milliseconds;
        player.WaitForBuffered(4);
        player.PresentStep();
    }
    void RunToEnd() {
        for (int i = 0; i < 1000 && player.Mode() == PlayerMode::Playing; ++i) Step(100);
    }
};

class MoviePlayerTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString movie = dir.filePath("a.avi");
    QWidget display;
    MoviePlayer player;
    ClockedPlayer clocked{player};
    void SetUp() override { testing::WriteTestMovie(movie.toStdString(), 55, 32, 24); }
};

TEST_F(MoviePlayerTest, PlaysByTheMoviesTimingNotifiesAndRestartsFromTheEnd) {
    player.SetDisplayWindow(&display);
    player.Open(movie);
    EXPECT_EQ(player.Length(), 55);
    EXPECT_EQ(player.DisplayRect(), QRect(0, 0, 32, 24));
    clocked.Step(0);
    EXPECT_TRUE(ShowsFrame(player.CurrentFrame(), 0, 32, 24));

    player.Play(-1, true);
    clocked.Step(0);
    EXPECT_EQ(player.Position(), 0);
    clocked.Step(100);
    EXPECT_EQ(player.Position(), 1);
    clocked.Step(250);  // 350 ms in: frame 2 is skipped for frame 3
    EXPECT_EQ(player.Position(), 3);
    EXPECT_EQ(player.DroppedFrames(), 1);
    EXPECT_TRUE(ShowsFrame(player.CurrentFrame(), 3, 32, 24));
    clocked.RunToEnd();
    EXPECT_EQ(clocked.results, std::vector<PlayResult>{PlayResult::Successful});
    EXPECT_EQ(player.Position(), 55);

    player.Play(-1, true);  // from the end: from the beginning
    clocked.Step(0);
    EXPECT_EQ(player.Position(), 0);
    player.Play(10, true);
    EXPECT_EQ(clocked.results.back(), PlayResult::Superseded);
    clocked.Step(0);
    EXPECT_EQ(player.Position(), 10);
    player.Pause();
    clocked.Step(500);
    EXPECT_EQ(player.Position(), 10);
    player.Resume();  // the next frame at once, the rest by the clock again
    clocked.Step(0);
    EXPECT_EQ(player.Position(), 11);
    clocked.Step(100);
    EXPECT_EQ(player.Position(), 12);
    player.Stop();
    EXPECT_EQ(clocked.results.back(), PlayResult::Aborted);
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);

    player.Seek(42);
    clocked.Step(0);
    EXPECT_TRUE(ShowsFrame(player.CurrentFrame(), 42, 32, 24));

    // Paused on the last frame, then resumed: nothing more comes, and the play ends well.
    player.Play(54, true);
    clocked.Step(0);
    player.Pause();
    player.WaitForBuffered(4);
    player.Resume();
    clocked.Step(0);
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    EXPECT_EQ(clocked.results.back(), PlayResult::Successful);
}

TEST_F(MoviePlayerTest, AFileThatDoesNotPlayLeavesNothingOpen) {
    std::ofstream(dir.filePath("notes.txt").toStdString()) << "not a movie\n";
    player.Open(movie);
    EXPECT_THROW(player.Open(dir.filePath("notes.txt")), MovieReadError);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_THROW(player.Play(), MovieReadError);
}

class AviPlayerTest : public testing::WindowsTest {
  protected:
    AviToolWindow& Tool() { return windows->AviTool(); }
    AviPlayerPanel& Panel() { return Tool().Player(); }
    QListWidget& Movies() { return *Tool().findChild<QListWidget*>("MovieList"); }
    QString Output(const QString& name = QString()) const {
        return QDir(dir.filePath("AVIoutput")).filePath(name);
    }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    void Open() {
        OpenAll();
        windows->Main().ShowListDirectory(Pictures().toStdString());
        windows->Main().Menu().Item("AVI Creation Tool")->trigger();
        prompts.Clear();
    }
};

TEST_F(AviPlayerTest, TheMovieListNamesEveryMovieWithItsSizeAndSkipsOtherFiles) {
    OpenAll();
    testing::WriteTestMovie(Output("a.avi").toStdString(), 55, 32, 24);
    std::ofstream(Output("b.txt").toStdString()) << "notes\n";
    testing::WriteTestMovie(Output("c.avi").toStdString(), 3, 16, 16);
    Open();
    EXPECT_EQ(Panel().MovieEntries(), (QStringList{"a.avi --- 32 x 24", "c.avi --- 16 x 16"}));
    EXPECT_TRUE(prompts.Texts("message").empty());

    Movies().setCurrentRow(1);  // the second movie, not the second file
    EXPECT_EQ(QFileInfo(Panel().SelectedMovie()).fileName(), "c.avi");
    EXPECT_TRUE(Panel().HintTimer().isActive());
    Panel().ShowSizeHint();
    const auto kb = RoundHalfEven(static_cast<double>(QFileInfo(Output("c.avi")).size()) / 1024);
    EXPECT_EQ(Movies().toolTip(), QString::number(kb) + " kb");

    // A movie kept in the user's own folder, spaces in its names, plays from there.
    testing::WriteTestMovie(QDir(Pictures()).filePath("sol 241 pan.avi").toStdString(), 3, 16, 16);
    Panel().ChooseOutputDirectory(Pictures());
    EXPECT_EQ(Panel().MovieEntries(), QStringList{"sol 241 pan.avi --- 16 x 16"});
    Movies().setCurrentRow(0);
    Panel().PlayAvi();
    EXPECT_EQ(Panel().Player().Length(), 3);
    Tool().findChild<QPushButton*>("Stop")->click();

    std::ofstream(Output("z.txt").toStdString()) << "last\n";
    Panel().ChooseOutputDirectory(Output());
    QDir().mkpath(dir.filePath("empty"));
    Panel().ChooseOutputDirectory(dir.filePath("empty"));
    EXPECT_TRUE(Panel().MovieEntries().isEmpty());
    EXPECT_EQ(prompts.Texts("message"), (std::vector<std::string>{kNoMovies, kNoMovies}));
}

TEST_F(AviPlayerTest, PlayLoopPauseSeekStopAndDelete) {
    OpenAll();
    testing::WriteTestMovie(Output("a.avi").toStdString(), 55, 32, 24);
    Open();
    ClockedPlayer clocked(Panel().Player());
    auto& pause = *Tool().findChild<QPushButton*>("Pause");
    pause.click();  // nothing open yet
    EXPECT_EQ(pause.text(), "Continue");
    EXPECT_EQ(prompts.Texts("message").size(), 1u);
    pause.click();
    EXPECT_EQ(pause.text(), "Pause");

    Movies().setCurrentRow(0);
    Tool().findChild<QCheckBox*>("LoopAVI")->setChecked(true);
    Tool().findChild<QPushButton*>("Play AVI")->click();
    auto& bar = *Tool().findChild<QSlider*>("FramesBar");
    EXPECT_EQ(bar.maximum(), 5);
    EXPECT_EQ(Tool().findChild<QLabel*>("FramesLabel")->text(), "5");
    EXPECT_EQ(Panel().Player().DisplayRect(), QRect(1, 1, 239, 239));
    EXPECT_TRUE(Panel().LoopTimer().isActive());
    Panel().LoopStep();
    EXPECT_EQ(Panel().Player().Mode(), PlayerMode::Playing);
    clocked.RunToEnd();
    Panel().LoopStep();  // ended well: again from the start
    clocked.Step(0);
    EXPECT_EQ(Panel().Player().Mode(), PlayerMode::Playing);
    EXPECT_EQ(Panel().Player().Position(), 0);
    Panel().LoopStep();  // still playing: left alone
    EXPECT_EQ(clocked.results, std::vector<PlayResult>{PlayResult::Successful});

    pause.click();
    EXPECT_EQ(Panel().Player().Mode(), PlayerMode::Paused);
    pause.click();
    EXPECT_EQ(Panel().Player().Mode(), PlayerMode::Playing);
    bar.setValue(3);  // tens of frames
    clocked.Step(0);
    EXPECT_EQ(Panel().Player().Position(), 30);

    Tool().findChild<QPushButton*>("Stop")->click();
    EXPECT_FALSE(Panel().LoopTimer().isActive());
    EXPECT_TRUE(Panel().SelectedMovie().isEmpty());
    EXPECT_TRUE(Panel().Player().CurrentFrame().isNull());
    Panel().PlayAvi();  // the entry still chosen; the aborted play does not hold the loop back
    Panel().LoopStep();
    EXPECT_EQ(Panel().Player().Mode(), PlayerMode::Playing);

    prompts.answers = {false, true};
    Movies().setCurrentRow(0);
    Panel().DeleteMovie();
    EXPECT_TRUE(QFileInfo::exists(Output("a.avi")));
    Panel().DeleteMovie();
    EXPECT_FALSE(QFileInfo::exists(Output("a.avi")));
    EXPECT_EQ(Tool().findChild<QLabel*>("Status")->text(), "a.avi FILE DELETED");
    EXPECT_EQ(
        prompts.Texts("message"),
        (std::vector<std::string>{kNoMovieOpen, kNoMovieOpen, "Cancel pressed, file will be kept.",
                                  "Yes pressed, file will be deleted.", kNoMovies}));
}

TEST_F(AviPlayerTest, WithoutTheMovieModuleTheListSaysWhyAndAChangedMovieIsRefused) {
    OpenAll();
    testing::WriteTestMovie(Output("a.avi").toStdString(), 12, 32, 24);
    Open();
    const QString missing = dir.filePath("lib/kobrix/libkobrix_ffmpeg.so");
    SetMovieModulePath(missing.toStdString());
    Panel().RefreshMovieList();
    SetMovieModulePath("");
    EXPECT_TRUE(Panel().MovieEntries().isEmpty());
    ASSERT_EQ(prompts.Texts("message").size(), 1u);
    EXPECT_EQ(prompts.Texts("message")[0].rfind(
                  "Movies cannot be played: " + missing.toStdString() + ": cannot open", 0),
              0u)
        << prompts.Texts("message")[0];

    // With the module the movie is listed; overwritten after that, it is refused on "Play AVI"
    // with the reason, and nothing is left open.
    prompts.Clear();
    Panel().RefreshMovieList();
    ASSERT_EQ(Panel().MovieEntries(), QStringList{"a.avi --- 32 x 24"});
    Movies().setCurrentRow(0);
    std::ofstream(Output("a.avi").toStdString(), std::ios::trunc) << "overwritten\n";
    Tool().findChild<QPushButton*>("Play AVI")->click();
    EXPECT_FALSE(Panel().Player().IsOpen());
    ASSERT_EQ(prompts.Texts("message").size(), 1u);
    EXPECT_EQ(prompts.Texts("message")[0].rfind("Cannot play " + Output("a.avi").toStdString(), 0),
              0u)
        << prompts.Texts("message")[0];
}

TEST_F(AviPlayerTest, LargePlayerEndsOnAClickAndMovieGoesToTheSource) {
    OpenAll();
    testing::WriteTestMovie(Output("a.avi").toStdString(), 12, 32, 24);
    Open();
    Movies().setCurrentRow(0);
    auto& loop = *Tool().findChild<QCheckBox*>("LoopAVI");
    loop.setChecked(true);
    Panel().PlayLargeAvi();
    LargePlayerWindow& large = Panel().LargePlayer();
    EXPECT_TRUE(large.isVisible());
    EXPECT_EQ(large.windowTitle(), "Kobrix AVI Player");
    EXPECT_TRUE(large.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Panel().Player().DisplayWindow(), &large.ImageWindow());
    EXPECT_EQ(Panel().Player().DisplayRect(), QRect(0, 0, 32, 24));
    emit large.ImageWindow().clicked(Qt::LeftButton);
    EXPECT_FALSE(large.isVisible());
    EXPECT_FALSE(loop.isChecked());
    EXPECT_FALSE(Panel().LoopTimer().isActive());
    // Closed by its own close button: the loop and the playback end all the same.
    loop.setChecked(true);
    Panel().PlayLargeAvi();
    Panel().LoopStep();
    large.close();
    EXPECT_FALSE(Panel().LoopTimer().isActive());
    EXPECT_NE(Panel().Player().Mode(), PlayerMode::Playing);
    EXPECT_FALSE(loop.isChecked());

    Movies().setCurrentRow(0);
    Tool().findChild<QPushButton*>("Mov2Source")->click();
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.filePath("AVIsource")).filePath("a.avi")));
    EXPECT_TRUE(Panel().MovieEntries().isEmpty());
}

TEST_F(AviPlayerTest, LargePlayerOpensAtItsOwnSizeAndShowsAFullFrame) {
    fakes.desktop.screen = QSize(800, 600);  // the size the windows are laid out for
    OpenAll();
    testing::WriteTestMovie(Output("wide.avi").toStdString(), 4, 512, 384);
    Open();
    Movies().setCurrentRow(0);
    Panel().PlayLargeAvi();
    LargePlayerWindow& large = Panel().LargePlayer();
    EXPECT_EQ(large.size(), QSize(777, 553));
    EXPECT_EQ(Panel().Player().DisplayRect(), QRect(0, 0, 512, 384));
    // The frame fits the player's picture whole, at its own size.
    const QSize area = large.ImageWindow().size();
    EXPECT_GE(area.width(), 512);
    EXPECT_GE(area.height(), 384);
    Panel().LargePlayerClicked();
}

TEST_F(AviPlayerTest, Screenshots) {
    OpenAll();
    std::vector<Bitmap24> frames;
    for (const char* name : {"2P241328935EFFAUCTP2582L4M1.jpg", "2P241328935EFFAUCTP2582L5M1.jpg",
                             "2P241328935EFFAUCTP2582L6M1.jpg"}) {
        frames.push_back(ReadJpegFile(QDir(KOBRIX_SAMPLES_DIR).filePath(name).toStdString()));
    }
    WriteMovieFromBitmaps(
        Output("MerPSol1000.avi").toStdString(), 3, [&](int i) { return frames[std::size_t(i)]; },
        2);
    testing::WriteTestMovie(Output("ramp.avi").toStdString(), 20, 320, 240);
    Open();
    ClockedPlayer clocked(Panel().Player());
    Movies().setCurrentRow(0);
    Panel().PlayAvi();
    clocked.Step(0);
    clocked.Step(600);
    testing::SaveScreenshot(Tool(), "avi-player-panel.png");
    Panel().PlayLargeAvi();
    clocked.Step(0);
    clocked.Step(600);
    EXPECT_EQ(Panel().Player().Position(), 1);
    testing::SaveScreenshot(Panel().LargePlayer(), "avi-player-large.png");
    Panel().LargePlayerClicked();
}

}  // namespace
}  // namespace kobrix
