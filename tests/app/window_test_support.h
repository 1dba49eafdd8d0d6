#pragma once

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

#include "decode/product_name.h"
#include "imaging/bitmap24.h"
#include "platform/platform.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_prompts.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::testing {

inline constexpr const char* kSpiritName = "2P241328935EFFAUCTP2582L5M1.jpg";

// The fakes a window is built on, in a zone two hours east of UTC with daylight time on.
struct WindowPlatform {
    FakePrompts prompts;
    FakeDesktop desktop;
    FakeTimeZone zone;
    Platform platform{prompts, desktop, zone, DateNames::English()};

    WindowPlatform() {
        zone.info = {TimeZoneInfo::State::DaylightTime, "CET", "CEST"};
        zone.offsetSeconds = 2 * 3600;
    }

    // Decodes `name` into `state` as the main window does.
    void Decode(std::string_view name, DecodeState& state) const {
        DecodeContext context;
        context.zone = &zone;
        context.positionIndex = "1";
        context.positionCount = "1";
        context.directory = "/images";
        DecodeProductName(name, context, state);
    }
};

// A press and release of `button` in the middle of `widget`, as a click delivers them.
inline void Click(QWidget& widget, Qt::MouseButton button) {
    const QPointF centre = QRectF(widget.rect()).center();
    const QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// A picture with some structure, so that scaling and placement show in a screenshot.
inline Bitmap24 SamplePicture(int width, int height) {
    Bitmap24 picture(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < width; ++x) {
            const int shade = (x * 160 / width + y * 80 / height) & 0xff;
            row[3 * x] = static_cast<std::uint8_t>(shade / 2);
            row[3 * x + 1] = static_cast<std::uint8_t>(shade * 3 / 4);
            row[3 * x + 2] = static_cast<std::uint8_t>(shade);
        }
    }
    return picture;
}

// Saves a grab of `widget` under the build directory; returns the file's path.
inline QString SaveScreenshot(QWidget& widget, const QString& fileName) {
    const QDir dir(QStringLiteral(KOBRIX_TEST_BINARY_DIR "/screenshots"));
    QDir().mkpath(dir.path());
    const QString path = dir.filePath(fileName);
    widget.grab().save(path);
    return path;
}

}  // namespace kobrix::testing
