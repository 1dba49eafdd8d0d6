#include "app/window_gallery.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QWidget>
#include <cstdint>

#include "app/full_size_window.h"
#include "app/large_image_page.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/stereo_viewer.h"
#include "app/window_tour.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "colour/anaglyph_window.h"
#include "colour/colour_processor_window.h"
#include "colour/colour_run.h"
#include "colour/colour_window.h"
#include "colour/sunset_window.h"
#include "imaging/bitmap24.h"
#include "movie/avi_player_panel.h"
#include "movie/avi_tool_window.h"
#include "movie/large_player_window.h"
#include "movie/movie_player.h"
#include "pages/dedication_page.h"
#include "pages/earth_time_page.h"
#include "pages/martian_time_page.h"
#include "tools/clipboard_window.h"
#include "tools/magnifier_window.h"
#include "tools/tagging_window.h"

namespace kobrix {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The three filters of one exposure, for the colour tool: red, green, blue.
constexpr const char* kRedBand = "2P241328935EFFAUCTP2582L4M1.jpg";
constexpr const char* kGreenBand = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kBlueBand = "2P241328935EFFAUCTP2582L6M1.jpg";

// The movie's frames: the sample pictures of this size.
constexpr QSize kFrameSize(512, 512);

bool IsPictureFile(const QFileInfo& file) {
    const QString suffix = file.suffix().toLower();
    return file.isFile() &&
           (suffix == "jpg" || suffix == "jpeg" || suffix == "bmp" || suffix == "gif");
}

// The sum of every byte of the picture: its light.
std::int64_t TotalLevel(const Bitmap24& picture) {
    std::int64_t total = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width() * 3; ++x) total += row[x];
    }
    return total;
}

}  // namespace

QString BundledSamplesDirectory() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* place : {"../samples", "../share/kobrix/samples"}) {
        const QString candidate = QDir::cleanPath(program.filePath(place));
        if (QFileInfo(QDir(candidate).filePath(WindowGallery::kPicture)).isFile()) {
            return candidate;
        }
    }
    return {};
}

bool PrepareGalleryHome(const QString& samples, const QString& home) {
    const WorkingTree tree = MakeWorkingTree(home.toStdString());
    for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
        if (!QDir().mkpath(Q(tree.Path(number)))) return false;
    }
    const QFileInfoList files = QDir(samples).entryInfoList(QDir::Files, QDir::Name);
    for (const QString& target : {home, Q(tree.MainImageDirectory)}) {
        for (const QFileInfo& file : files) {
            if (!IsPictureFile(file)) continue;
            const QString copy = QDir(target).filePath(file.fileName());
            if (!QFileInfo::exists(copy) && !QFile::copy(file.filePath(), copy)) return false;
        }
    }
    return true;
}

WindowGallery::WindowGallery(Windows& windows, UnattendedDesktop& desktop)
    : windows_(windows),
      desktop_(desktop),
      home_(Q(windows.Main().ListDirectory())),
      // Before the tools add their working files.
      samples_(QDir(home_).entryList(QDir::Files, QDir::Name)) {}

void WindowGallery::Choose(const QString& name) {
    MainWindow& main = windows_.Main();
    if (QDir(Q(main.ListDirectory())) != QDir(home_)) main.ShowListDirectory(home_.toStdString());
    main.SelectFile(name);
}

QImage WindowGallery::Stage(QWidget& window) {
    MainWindow& main = windows_.Main();
    const auto trigger = [&main](const char* caption) { main.Menu().Item(caption)->trigger(); };
    if (&window == &main) {
        Choose(kPicture);
    } else if (&window == &windows_.Stereo()) {
        Choose(kPairLeft);
        main.Button13Click();
    } else if (&window == &windows_.EarthTime()) {
        Choose(kPicture);
        windows_.EarthTime().Button2Click();
    } else if (&window == &windows_.MartianTime()) {
        Choose(kPicture);
        windows_.MartianTime().Button2Click();
    } else if (&window == &windows_.LargePage()) {
        Choose(kPicture);
        main.Button8Click();
    } else if (&window == &windows_.FullSize()) {
        Choose(kPicture);
        main.Image1Click();
        // Maximised, as a window manager shows it (an X server without one leaves it small).
        if (const QScreen* screen = window.screen()) {
            if (window.size() != screen->availableGeometry().size()) {
                window.setGeometry(screen->availableGeometry());
            }
        }
    } else if (&window == &windows_.ManualStereo()) {
        // The left eye's picture locked, then the next file of the list, the right eye's.
        autoshow_ = main.Menu().Item("Check Stereo Autoshow")->isChecked();
        Choose(kPairLeft);
        main.Button11Click();
        windows_.ManualStereo().LockImage();
        main.ManualStereoNext();
        windows_.ManualStereo().LockImage();
    } else if (&window == &windows_.Dedication()) {
        windows_.Dedication().Start();
        windows_.Dedication().AdvanceStep();
    } else if (&window == &windows_.Anaglyph()) {
        Choose(kPairLeft);
        main.Button13Click();
        windows_.Stereo().AnaglyphButton().click();
    } else if (&window == &windows_.Colour()) {
        // The bands as the automatic processing loads them, by their preset names, after a
        // decode of that exposure.
        Choose(kPicture);
        ColourWindow& colour = windows_.Colour();
        const QString red = QDir(home_).filePath(kRedBand);
        const QString green = QDir(home_).filePath(kGreenBand);
        const QString blue = QDir(home_).filePath(kBlueBand);
        colour.SetPresetNames(red, green, blue);
        colour.SetDialogFile(Band::Red, red);
        colour.SetDialogFile(Band::Green, green);
        colour.SetDialogFile(Band::Blue, blue);
        const bool automatic = colour.AutoColour();
        colour.SetAutoColour(true);
        colour.Button1Click();
        colour.Button2Click();
        colour.Button3Click();
        colour.SetAutoColour(automatic);
        colour.show();
    } else if (&window == &windows_.Sunset()) {
        Choose(kPicture);
        trigger("Sunset Sim fade");
        return FadeHalfWay();
    } else if (&window == &windows_.ColourProcessor()) {
        // Manual mode: the processor asks which band the picture is.
        Choose(kPicture);
        main.Menu().Item("Auto L4L5L6 RGB")->setChecked(false);
        windows_.ColourProcessing().ColourButton();
    } else if (&window == &windows_.AviTool()) {
        MakeMovie();
    } else if (&window == &windows_.LargePlayer()) {
        AviPlayerPanel& panel = windows_.AviTool().Player();
        if (panel.MovieEntries().isEmpty()) MakeMovie();
        // Chosen as a click chooses it, also when it was the current entry.
        auto* movies = windows_.AviTool().findChild<QListWidget*>("MovieList");
        movies->setCurrentRow(-1);
        movies->setCurrentRow(0);
        panel.PlayLargeAvi();
        MoviePlayer& player = panel.Player();
        if (player.IsOpen()) {
            // From the middle on, its first frame on the screen before the picture is taken.
            player.Play(player.Length() / 2);
            player.WaitForBuffered(1);
            player.PresentStep();
        }
    } else if (&window == &windows_.Magnifier()) {
        Choose(kPicture);
        trigger("Magnifier Tool");
        MagnifierWindow& magnifier = windows_.Magnifier();
        auto* area = magnifier.findChild<QWidget*>("Image1");
        const QPoint at(area->width() * 3 / 5, area->height() * 3 / 5);
        magnifier.PressAt(at);
        magnifier.PointerMoved(at);
    } else if (&window == &windows_.Clipboard()) {
        if (desktop_.ClipboardImage().isNull()) {
            Choose(kPicture);
            desktop_.SetClipboardImage(main.DisplayedPicture());
        }
        trigger("Clipboard Tool");
    } else if (&window == &windows_.Tagging()) {
        Choose(kPicture);
        trigger("Watermark Tool");
        windows_.Tagging().EnterAutoTagAndPlace();
    }
    return {};
}

void WindowGallery::Finish(QWidget& window) {
    if (&window == &windows_.ManualStereo()) {
        QAction* autoshow = windows_.Main().Menu().Item("Check Stereo Autoshow");
        if (autoshow->isChecked() != autoshow_) autoshow->trigger();
    } else if (&window == &windows_.Dedication()) {
        windows_.Dedication().CloseStep();
    } else if (&window == &windows_.ColourProcessor()) {
        windows_.ColourProcessor().Button2Click();
        windows_.ColourProcessor().NotFoundTimer().stop();
        windows_.Main().Menu().Item("Auto L4L5L6 RGB")->setChecked(true);
    } else if (&window == &windows_.LargePlayer()) {
        windows_.AviTool().Player().LargePlayerClicked();
    } else if (&window == &windows_.AviTool()) {
        windows_.AviTool().Player().StopMovie();
    } else if (&window == &windows_.Magnifier()) {
        // The lens as it was shown goes to the clipboard, as "Image Capture" puts it there.
        MagnifierWindow& magnifier = windows_.Magnifier();
        magnifier.StartCapture();
        for (int tick = 0; tick < 10 && magnifier.CaptureTimer().isActive(); ++tick) {
            magnifier.CaptureTick();
        }
        magnifier.Release();
    }
}

void WindowGallery::MakeMovie() {
    // Frames as a user brings them: the pictures of one size copied to the source directory,
    // converted by the tool itself, then made into a movie.
    const QString source = Q(windows_.Main().Tree().AviSourceDirectory);
    for (const QString& name : samples_) {
        const QString path = QDir(home_).filePath(name);
        if (!name.endsWith(".jpg") || QImageReader(path).size() != kFrameSize) continue;
        QFile::copy(path, QDir(source).filePath(name));
    }
    AviToolWindow& tool = windows_.AviTool();
    windows_.Main().Menu().Item("AVI Creation Tool")->trigger();
    tool.ConvertJpgsToBmps();
    tool.findChild<QLineEdit*>("RateEdit")->setText("2");
    tool.MakeAvi();
    tool.WriteStep();
    auto* frames = tool.findChild<QListWidget*>("FileListBox1");
    frames->setCurrentRow(frames->count() / 2);
}

QImage WindowGallery::FadeHalfWay() {
    // Half-way is where the picture has lost half of its light: the passes take the same
    // amount off every pixel, so that comes well before half the passes.
    SunsetWindow& sunset = windows_.Sunset();
    const std::int64_t start = TotalLevel(sunset.Working());
    QImage halfWay;
    desktop_.afterWait = [&] {
        if (halfWay.isNull() && TotalLevel(sunset.Working()) * 2 <= start) {
            halfWay = sunset.grab().toImage();
        }
    };
    sunset.Button4Click();
    desktop_.afterWait = nullptr;
    return halfWay;
}

}  // namespace kobrix
