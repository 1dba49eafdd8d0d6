#pragma once

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>

#include <QListWidget>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "decode/product_name.h"
#include "platform/platform.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_prompts.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::testing {

// The fakes a window is built on, in a zone two hours east of UTC with daylight time on.
struct WindowPlatform {
    FakePrompts prompts;
    FakeDesktop desktop;
    FakeTimeZone zone;
    Platform platform{prompts, desktop, zone, DateNames::English()};

    WindowPlatform() {
        zone.info = {TimeZoneInfo::State::DaylightTime, "CET", "CEST", {}};
        zone.offsetSeconds = 2 * 3600;
    }
    void Decode(std::string_view name, DecodeState& state) const {
        DecodeContext context;
        context.zone = &zone;
        DecodeProductName(name, context, state);
    }
};

inline void ClickAt(QWidget& widget, QPointF at, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget.mapToGlobal(at), button,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

inline void Click(QWidget& widget, Qt::MouseButton button) {
    ClickAt(widget, QRectF(widget.rect()).center(), button);
}

// A gradient, so that scaling and placement show in a screenshot.
inline QImage SampleImage(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int shade = x * 160 / width + y * 80 / height;
            image.setPixelColor(x, y, QColor(shade, shade * 3 / 4, shade / 2));
        }
    }
    return image;
}

// Every window of the program, started on `directory` with its working tree made beforehand,
// so that nothing asks.
inline std::unique_ptr<Windows> OpenWindows(Platform& platform, const QString& directory) {
    const WorkingTree tree = MakeWorkingTree(directory.toStdString());
    for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
        QDir().mkpath(QString::fromStdString(tree.Path(number)));
    }
    auto windows = std::make_unique<Windows>(platform);
    windows->Start(directory);
    return windows;
}

// A click on `name` in the main window's file list; false when it is not listed.
inline bool ChooseFile(MainWindow& main, const QString& name) {
    auto& list = *main.findChild<QListWidget*>("FileListBox1");
    const auto items = list.findItems(name, Qt::MatchExactly);
    if (items.size() != 1) return false;
    list.setCurrentItem(items.front());
    return true;
}

// Every window of the program on the fakes, in a temporary directory (OpenAll).
class WindowsTest : public ::testing::Test {
  protected:
    WindowPlatform fakes;
    FakePrompts& prompts = fakes.prompts;
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    void OpenAll() { windows = OpenWindows(fakes.platform, dir.path()); }
    MainWindow& Main() { return windows->Main(); }
    // A click on `name` in the file list, which must list it.
    void Choose(const QString& name) {
        ASSERT_TRUE(ChooseFile(Main(), name)) << name.toStdString();
    }
};

// Where users keep their pictures: a folder of its own under `dir`, neither the program
// directory nor its All-MER-Images, with a space in its name as many have.
inline QString PicturesFolder(const QTemporaryDir& dir) {
    return dir.filePath("Rover pictures/sol 241");
}

// The widget as it is painted on the screen.
inline QImage Rendered(QWidget& widget) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of `a` a person tells from the same pixels of `b`: some channel differs by
// at least `step` (a grey of 213 on white does not count).
inline int PixelsApart(const QImage& a, const QImage& b, int step = 96) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) >= step || std::abs(p.green() - q.green()) >= step ||
                std::abs(p.blue() - q.blue()) >= step) {
                ++count;
            }
        }
    }
    return count;
}

// How many pixels of `image` stand out from `ground` (as the text on a plain background).
inline int PixelsAwayFrom(const QImage& image, const QColor& ground, int step = 96) {
    QImage plain(image.size(), QImage::Format_RGB32);
    plain.fill(ground);
    return PixelsApart(image, plain, step);
}

// Under the build directory, for a look at the layout.
inline void SaveScreenshot(QWidget& widget, const QString& fileName) {
    const QDir dir(QStringLiteral(KOBRIX_TEST_BINARY_DIR "/screenshots"));
    QDir().mkpath(dir.path());
    // Pending layout requests only: timers must not run behind the test's back.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    widget.grab().save(dir.filePath(fileName));
}

}  // namespace kobrix::testing
