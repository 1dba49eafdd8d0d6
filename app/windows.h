#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "platform/platform.h"

class QWidget;

namespace kobrix {

class FullSizeWindow;
class LargeImagePage;
class MainWindow;
class SlideshowDelayWindow;

// Owns every window of the program. They are created once, in a fixed order with the main
// window first, each fitting itself to the screen; all but the main window stay hidden until
// something shows them, and none is destroyed before the program ends.
class Windows {
public:
    explicit Windows(Platform& platform);
    ~Windows();

    // Shows the main window and starts browsing in `directory`.
    void Start(const QString& directory);

    MainWindow& Main() { return *main_; }
    LargeImagePage& LargePage() { return *largePage_; }
    FullSizeWindow& FullSize() { return *fullSize_; }
    SlideshowDelayWindow& SlideshowDelay() { return *slideshowDelay_; }
    const QList<QWidget*>& All() const { return all_; }

private:
    template <typename W>
    std::unique_ptr<W> Create(bool fontStep = true);

    Platform& platform_;
    QList<QWidget*> all_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<LargeImagePage> largePage_;
    std::unique_ptr<SlideshowDelayWindow> slideshowDelay_;
    std::unique_ptr<FullSizeWindow> fullSize_;
};

}  // namespace kobrix
