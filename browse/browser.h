#pragma once

#include <functional>
#include <memory>
#include <string>

#include "browse/file_list.h"
#include "decode/product_name.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// What the browsing logic asks of the windows around it. The main window implements it; the
// tests use a recording fake.
class BrowserHost {
  public:
    virtual ~BrowserHost() = default;

    virtual void Information(const std::string& text) = 0;  // box with OK
    virtual void Warning(const std::string& text) = 0;      // box with OK
    virtual void Error(const std::string& text) = 0;        // the default error box

    // Stretching on or off for every picture area that follows the option.
    virtual void ApplyStretch(bool stretch) = 0;
    // The working-directory check that runs before every load attempt.
    virtual void RunDirsNpaths() = 0;
    virtual void SetPathCaption(const std::string& text) = 0;
    // The decoded panel is ready (texts, copies for the other windows).
    virtual void ShowDecoded(const DecodeState& state) = 0;
    // The 24-bit picture on display changed (main picture and large image page).
    virtual void ShowPicture(const Bitmap24& picture) = 0;
    virtual void SetSizeText(const std::string& text) = 0;
    virtual void SetFileSizeHint(const std::string& text) = 0;
    // Stereo autoshow: load the pair into the stereo viewer; false when either load failed.
    virtual bool LoadStereoPair(const StereoAutoshowRequest& request) {
        (void)request;
        return true;
    }
    // Fits the tag font to the picture width.
    virtual void FontSize() {}
    // A GIF to animate, or nothing (stops any running animation).
    virtual void Animate(const std::string& gifPath) { (void)gifPath; }

    // Slideshow switches as the windows show them.
    virtual void SetSlideshowTimer(bool running, int intervalMs) = 0;
    virtual void SetSlideshowChecks(bool checkBox, bool menuMark) = 0;
    // Search timers of the sol and birthday searchers stop with the slideshow.
    virtual void StopSearchTimers() {}

    // Hooks of the slideshow step for windows that come and go with later tools.
    virtual void CopyPictureToLargePage() {}
    virtual void PointTraverseMapLists() {}
    virtual void ChooseLowerPriority() {}
    virtual void ShowMainWindow() {}
    virtual void ShowLargePage() {}
    virtual void SlideshowToolHooks() {}  // magnifier, tagging, Earth page steps
};

// Options of the Options menu that the browsing reads.
struct BrowseOptions {
    bool thumbnailsAsFullsize = false;
    bool loopSlideshow = true;
    bool stereoAutoshow = false;
};

// The slideshow's switches: the check box is the main switch, the menu mark follows it.
struct SlideshowState {
    bool timerRunning = false;
    int intervalMs = 2000;
    bool checkBox = false;
    bool menuMark = false;
    bool moviesMark = false;
    bool largePageFlag = false;
};

// Picture reading, replaceable in tests.
enum class LoadOutcome { Loaded, UnknownType, Missing };
using PictureLoader = std::function<LoadOutcome(const std::string& path, Bitmap24& picture)>;
// The program's loader: a picture when its extension is known; a damaged one throws ImageError.
LoadOutcome LoadPictureFile(const std::string& path, Bitmap24& picture);

// The browsing logic of the main window: the file list, the display pass, the decode, the
// working copy of the picture and the slideshow. Windows drive it; it reports through the
// host.
class Browser {
  public:
    Browser(BrowserHost& host, const TimeZoneSource& zone, const DateNames& names,
            PictureLoader loader = LoadPictureFile);

    FileList& Files() { return files_; }
    const FileList& Files() const { return files_; }
    BrowseOptions& Options() { return options_; }
    const SlideshowState& Slideshow() const { return slideshow_; }
    const DecodeState& Decoded() const { return decoded_; }
    const Bitmap24& Picture() const { return working2_; }
    bool HasPicture() const { return hasPicture_; }

    int SlideshowDelay() const { return slideshowDelay_; }
    void SetSlideshowDelay(int ms) { slideshowDelay_ = ms; }
    bool BrowseBackward() const { return browseBackward_; }
    void SetBrowseBackward(bool on) { browseBackward_ = on; }
    bool SlideshowStarted() const { return slideshowStarted_; }
    const std::string& PathCaption() const { return pathCaption_; }
    // The file of the picture on display (empty before the first): the path caption moves on
    // when a pass skips files or the stereo autoshow steps past a picture without a partner.
    const std::string& PicturePath() const { return picturePath_; }
    const std::string& SizeText() const { return sizeText_; }
    const std::string& PositionText() const { return positionText_; }
    const std::string& CountText() const { return countText_; }
    // Whether the last display pass came to the end of the list with nothing more to show:
    // an empty list, no picture among the entries, or (looping off) a skip of non-pictures
    // past the last entry. The searches stop there rather than warn or start over forever.
    bool PassReachedEnd() const { return passReachedEnd_; }

    // The named actions.
    void GetFileSize();
    void Image();  // the display pass
    void Data();   // decode the displayed name
    void BufrScan();
    void Animate();

    // File-list events.
    void SelectionSequence();                            // GetFileSize, Image, Animate
    void ChangeDirectory(const std::string& directory);  // re-read, then the first entry
    void Reread();  // the list read again: a pass with nothing selected

    // Navigation used by the other windows' buttons.
    void NextImage();      // stops the slideshow timer, one entry down, display
    void PreviousImage();  // stops the timer, one entry up, backward, display

    // Slideshow switches.
    void SetSlideshowCheckBox(bool on);
    void ToggleSlideshowMenu();
    void ToggleLargePageSlideshow();
    void ToggleMovies();
    void CloseLargePage();
    void StopSlideshowTimer();
    // The timer's event.
    void SlideshowStep();
    // "Slideshow Delay": stop the timer and return the delay to show in the box.
    int BeginDelayEdit();

  private:
    void StopSlideshow();
    void UpdateTimer();

    BrowserHost& host_;
    PictureLoader loader_;
    FileList files_;
    BrowseOptions options_;
    SlideshowState slideshow_;
    DecodeContext context_;
    LocalTimeCache localTimeCache_;
    DecodeState decoded_;
    // The picture as read (already 24-bit, with the file's own depth noted), and the working
    // copy the windows show, created once and reused for every image.
    Bitmap24 loaded_;
    Bitmap24 working2_;
    bool hasPicture_ = false;
    bool passFailed_ = false;
    bool passReachedEnd_ = false;

    int slideshowDelay_ = 2000;
    bool browseBackward_ = false;
    bool slideshowStarted_ = false;
    std::string pathCaption_;
    std::string picturePath_;
    std::string sizeText_;
    std::string positionText_ = "0";
    std::string countText_ = "0";
};

}  // namespace kobrix
