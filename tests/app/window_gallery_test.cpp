#include <QAction>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/directories_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/stereo_viewer.h"
#include "app/window_gallery.h"
#include "app/window_tour.h"
#include "app/windows.h"
#include "colour/colour_window.h"
#include "colour/sunset_window.h"
#include "movie/avi_player_panel.h"
#include "movie/avi_tool_window.h"
#include "movie/large_player_window.h"
#include "movie/movie_player.h"
#include "pages/dedication_page.h"
#include "tests/support/window_fixture.h"
#include "tools/clipboard_window.h"
#include "tools/magnifier_window.h"
#include "tools/tagging_window.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

// What a person looking at a picture notices.
int DistinctColours(const QImage& picture) {
    QSet<QRgb> colours;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) colours.insert(row[x]);
    }
    return static_cast<int>(colours.size());
}

double MeanLevel(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) sum += grey.constScanLine(y)[x];
    }
    return grey.isNull() ? 0 : sum / (static_cast<double>(grey.width()) * grey.height());
}

// Pixels whose channels differ clearly: colour, not grey.
int ColouredPixels(const QImage& picture) {
    int count = 0;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            const int spread =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (spread >= 24) ++count;
        }
    }
    return count;
}

int YellowPixels(const QImage& picture) {
    int count = 0;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() < 80) ++count;
        }
    }
    return count;
}

// The part of a window's picture where `child` can be seen (not scrolled away or covered by
// its parents' edges).
QImage Part(const QImage& picture, QWidget& window, const QWidget& child) {
    const QRect seen = child.visibleRegion().boundingRect();
    const QRect area(child.mapTo(&window, seen.topLeft()), seen.size());
    return picture.copy(area & picture.rect());
}

// The largest difference in brightness from the colour most of the area has: 0 when text is
// drawn in its background's colour.
int Contrast(const QImage& area) {
    const QImage grey = area.convertToFormat(QImage::Format_Grayscale8);
    QHash<int, int> counts;
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) ++counts[grey.constScanLine(y)[x]];
    }
    int background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) std::tie(background, most) = std::pair(it.key(), it.value());
    }
    int contrast = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        contrast = std::max(contrast, std::abs(it.key() - background));
    }
    return contrast;
}

// The windows on the fakes, on the desktop a gallery run uses, in a program directory made for
// the gallery from the sample pictures. The process's current directory is another folder.
class WindowGalleryTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    UnattendedDesktop desktop{fakes.desktop};
    Platform platform{fakes.prompts, desktop, fakes.zone, DateNames::English()};
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    QString previousDirectory = QDir::currentPath();
    std::unique_ptr<Windows> windows;
    std::unique_ptr<WindowGallery> gallery;

    void Open() {
        QDir::setCurrent(elsewhere.path());
        ASSERT_TRUE(PrepareGalleryHome(KOBRIX_SAMPLES_DIR, home.path()));
        windows = std::make_unique<Windows>(platform);
        windows->Magnifier().SetSettingsPath(home.filePath("kobrix.INI"));
        windows->Start(home.path());
        gallery = std::make_unique<WindowGallery>(*windows, desktop);
    }
    void TearDown() override { QDir::setCurrent(previousDirectory); }

    // The window put to work and shown, as the tour takes its picture.
    QImage Staged(QWidget& window) {
        QImage picture = gallery->Stage(window);
        window.show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return picture.isNull() ? window.grab().toImage() : picture;
    }
};

TEST_F(WindowGalleryTest, ShowsTheToolsAtWorkOnTheSamplePictures) {
    Open();
    MainWindow& main = windows->Main();
    Staged(main);
    EXPECT_EQ(QFileInfo(QString::fromStdString(main.DisplayedPath())).fileName(),
              WindowGallery::kPicture);

    StereoViewer& stereo = windows->Stereo();
    const QImage pair = Staged(stereo);
    EXPECT_GT(DistinctColours(Part(pair, stereo, stereo.LeftEyeView())), 100);
    EXPECT_GT(DistinctColours(Part(pair, stereo, stereo.RightEyeView())), 100);
    gallery->Finish(stereo);

    // Both eyes locked in the manual selection; the autoshow option it turned off is back.
    ManualStereoWindow& manual = windows->ManualStereo();
    const bool autoshow = main.Menu().Item("Check Stereo Autoshow")->isChecked();
    Staged(manual);
    EXPECT_FALSE(manual.LeftPicture().isNull());
    EXPECT_FALSE(manual.RightPicture().isNull());
    gallery->Finish(manual);
    EXPECT_EQ(main.Menu().Item("Check Stereo Autoshow")->isChecked(), autoshow);

    // The composite of the three filters is in colour, not grey.
    ColourWindow& colour = windows->Colour();
    const QImage composite = Staged(colour);
    const QImage compositeArea = Part(composite, colour, *colour.findChild<QWidget*>("Image7"));
    EXPECT_GT(ColouredPixels(compositeArea), compositeArea.width() * compositeArea.height() / 4);

    // Half-way through the fade: darker than the picture, but not yet night.
    SunsetWindow& sunset = windows->Sunset();
    const QImage halfWay = Staged(sunset);
    const QImage fadeArea = Part(halfWay, sunset, *sunset.findChild<QWidget*>("Image1"));
    const double original = MeanLevel(QImage(QDir(home.path()).filePath(WindowGallery::kPicture)));
    EXPECT_LT(MeanLevel(fadeArea), original * 0.8);
    EXPECT_GT(MeanLevel(fadeArea), 2.0);
    EXPECT_FALSE(sunset.Fading());

    // The lens over the picture and the readout of the pixel under it.
    MagnifierWindow& magnifier = windows->Magnifier();
    Staged(magnifier);
    bool readout = false;
    for (QLabel* label : magnifier.findChildren<QLabel*>()) {
        readout = readout || label->text().startsWith("(X,Y) = (");
    }
    EXPECT_TRUE(readout);
    gallery->Finish(magnifier);
    EXPECT_FALSE(desktop.ClipboardImage().isNull());

    ClipboardWindow& clipboard = windows->Clipboard();
    const QImage capture = Staged(clipboard);
    EXPECT_GT(DistinctColours(Part(capture, clipboard, clipboard.Picture())), 100);

    TaggingWindow& tagging = windows->Tagging();
    const QImage tagged = Staged(tagging);
    EXPECT_FALSE(tagging.Text().isEmpty());
    EXPECT_GT(YellowPixels(Part(tagged, tagging, *tagging.findChild<QWidget*>("Image1"))), 50);

    // Nine frames of one size, converted by the tool and made into a movie.
    AviToolWindow& tool = windows->AviTool();
    Staged(tool);
    EXPECT_EQ(tool.findChild<QListWidget*>("FileListBox1")->count(), 9);
    ASSERT_EQ(tool.Player().MovieEntries().size(), 1);
    EXPECT_TRUE(tool.Player().MovieEntries().front().endsWith("--- 512 x 512"));
    gallery->Finish(tool);

    LargePlayerWindow& large = windows->LargePlayer();
    Staged(large);
    EXPECT_TRUE(large.isVisible());
    const MoviePlayer& player = tool.Player().Player();
    EXPECT_GT(player.Position(), 0);  // in the middle of the movie, playing
    EXPECT_LT(player.Position(), player.Length() - 1);
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    EXPECT_GT(DistinctColours(large.grab().toImage()), 100);
    gallery->Finish(large);
    EXPECT_FALSE(large.isVisible());

    DedicationPage& dedication = windows->Dedication();
    Staged(dedication);
    EXPECT_EQ(dedication.CaptionLine(), DedicationPage::Names().front());
    gallery->Finish(dedication);
    EXPECT_FALSE(dedication.SequenceTimer().isActive());
    EXPECT_TRUE(fakes.desktop.clipboard.isNull());  // the user's clipboard is left alone
}

TEST_F(WindowGalleryTest, NoWindowIsBlankAndEveryCaptionCanBeRead) {
    Open();
    for (QWidget* window : windows->All()) {
        EXPECT_GT(DistinctColours(Staged(*window)), 24) << window->objectName().toStdString();
        // As it is now (a scene may have caught it earlier, before a caption appeared).
        const QImage picture = window->grab().toImage();
        const std::string name = window->objectName().toStdString();
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().trimmed().isEmpty() || !label->isVisibleTo(window)) continue;
            const QImage part = Part(picture, *window, *label);
            if (part.isNull()) continue;  // scrolled away
            EXPECT_GE(Contrast(part), 64) << name << ": \"" << label->text().toStdString() << "\"";
        }
        gallery->Finish(*window);
        window->hide();
    }
}

// The large player is laid out for an 800 x 600 screen, where it keeps its own size.
TEST_F(WindowGalleryTest, TheLargePlayerHasItsOwnSizeOnTheScreenItWasLaidOutFor) {
    fakes.desktop.screen = {800, 600};
    Open();
    LargePlayerWindow& large = windows->LargePlayer();
    Staged(windows->AviTool());
    Staged(large);
    EXPECT_EQ(large.size(), QSize(777, 553));
    EXPECT_EQ(large.grab().size(), QSize(777, 553));
}

TEST_F(WindowGalleryTest, TheTourSavesEveryWindowOverOldPicturesAndLeavesTheWindowsHidden) {
    Open();
    const QString out = elsewhere.filePath("gallery");
    QDir().mkpath(out);
    {
        QFile old(QDir(out).filePath("02-mer-images-stereo-viewer.png"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a picture");
    }
    const QStringList written = SaveWindowPictures(*windows, out, gallery.get());
    EXPECT_EQ(written.size(), windows->All().size());
    const QImage stereo(QDir(out).filePath("02-mer-images-stereo-viewer.png"));
    EXPECT_FALSE(stereo.isNull());
    for (QWidget* window : windows->All()) {
        if (window != &windows->Main() && window != &windows->Directories()) {
            EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        }
    }
    EXPECT_TRUE(windows->Main().isVisible());
    // Nothing was opened or started, and the user's own folders were not touched.
    EXPECT_TRUE(fakes.desktop.urls.empty());
    EXPECT_TRUE(fakes.desktop.programs.empty());
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"gallery"});
}

}  // namespace
}  // namespace kobrix
