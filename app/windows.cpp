#include "app/windows.h"

#include "app/fit_window.h"
#include "app/full_size_window.h"
#include "app/large_image_page.h"
#include "app/main_window.h"
#include "app/slideshow_delay_window.h"

namespace kobrix {

template <typename W>
std::unique_ptr<W> Windows::Create(bool fontStep) {
    auto window = std::make_unique<W>(platform_);
    window->ensurePolished();
    window->adjustSize();
    all_.append(window.get());
    FitWindowToScreen(*window, platform_.desktop, fontStep ? FitSteps::All : FitSteps::WithoutFont,
                      all_);
    return window;
}

Windows::Windows(Platform& platform) : platform_(platform) {
    // Creation order: main window, large image page, slideshow delay, full-size window
    // (the windows of the other tools take their places between them as they arrive).
    main_ = Create<MainWindow>();
    largePage_ = Create<LargeImagePage>(false);
    slideshowDelay_ = Create<SlideshowDelayWindow>();
    fullSize_ = Create<FullSizeWindow>();
    main_->SetPeers(MainWindowPeers{largePage_.get(), fullSize_.get(), slideshowDelay_.get()});
}

Windows::~Windows() = default;

void Windows::Start(const QString& directory) {
    main_->show();
    main_->Start(directory);
}

}  // namespace kobrix
