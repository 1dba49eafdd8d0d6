#pragma once

#include <string>

#include "browse/browser.h"

namespace kobrix {

// Shows nothing: the browsing's own cost, without a window. Counts the search-timer stops.
class NullHost final : public BrowserHost {
  public:
    int searchStops = 0;
    void Information(const std::string&) override {}
    void Warning(const std::string&) override {}
    void Error(const std::string&) override {}
    void ApplyStretch(bool) override {}
    void RunDirsNpaths() override {}
    void SetPathCaption(const std::string&) override {}
    void ShowDecoded(const DecodeState&) override {}
    void ShowPicture(const Bitmap24&) override {}
    void SetSizeText(const std::string&) override {}
    void SetFileSizeHint(const std::string&) override {}
    void SetSlideshowTimer(bool, int) override {}
    void SetSlideshowChecks(bool, bool) override {}
    void StopSearchTimers() override { ++searchStops; }
};

}  // namespace kobrix
