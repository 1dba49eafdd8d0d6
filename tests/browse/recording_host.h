#pragma once

#include <string>
#include <vector>

#include "browse/browser.h"

namespace kobrix::testing {

// Records what the browsing logic shows, in order.
class RecordingHost : public BrowserHost {
  public:
    std::vector<std::string> events;  // "information: ...", "warning: ...", "error: ..."
    std::vector<std::string> paths;   // every path caption set
    std::vector<std::string> decodedNames;
    std::string fileSizeHint;
    std::string sizeText;
    std::string animated;
    bool stretch = false;
    int dirsNpaths = 0;
    bool timerRunning = false;
    int timerInterval = 0;
    bool checkBox = false;
    bool menuMark = false;
    bool stereoLoads = true;
    int stereoRequests = 0;
    int searchStops = 0;
    int largePageShown = 0;

    void Information(const std::string& t) override { events.push_back("information: " + t); }
    void Warning(const std::string& t) override { events.push_back("warning: " + t); }
    void Error(const std::string& t) override { events.push_back("error: " + t); }
    void ApplyStretch(bool s) override { stretch = s; }
    void RunDirsNpaths() override { ++dirsNpaths; }
    void SetPathCaption(const std::string& t) override { paths.push_back(t); }
    void ShowDecoded(const DecodeState& s) override { decodedNames.push_back(s.panel.fileNameBox); }
    void ShowPicture(const Bitmap24&) override {}
    void SetSizeText(const std::string& t) override { sizeText = t; }
    void SetFileSizeHint(const std::string& t) override { fileSizeHint = t; }
    bool LoadStereoPair(const StereoAutoshowRequest&) override {
        ++stereoRequests;
        return stereoLoads;
    }
    void Animate(const std::string& p) override { animated = p; }
    void SetSlideshowTimer(bool running, int interval) override {
        timerRunning = running;
        timerInterval = interval;
    }
    void SetSlideshowChecks(bool box, bool mark) override {
        checkBox = box;
        menuMark = mark;
    }
    void StopSearchTimers() override { ++searchStops; }
    void ShowLargePage() override { ++largePageShown; }
};

}  // namespace kobrix::testing
