#include "browse/browser.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "browse/browse_texts.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

constexpr const char* kEndOfDirectory = "End of directory, no more images in this directory !";
constexpr const char* kStartOfDirectory = "Start of directory !";
constexpr const char* kNoMoreImages = "Invalid image Load attempt! No more images";

}  // namespace

LoadOutcome LoadPictureFile(const std::string& path, Bitmap24& picture) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return LoadOutcome::Missing;
    if (!IsPictureName(path)) return LoadOutcome::UnknownType;
    picture = ReadAnyPicture(path);
    return LoadOutcome::Loaded;
}

Browser::Browser(BrowserHost& host, const TimeZoneSource& zone, const DateNames& names,
                 PictureLoader loader)
    : host_(host), loader_(std::move(loader)) {
    context_.zone = &zone;
    context_.dateNames = &names;
    context_.localTimeCache = &localTimeCache_;
    context_.separator = static_cast<char>(std::filesystem::path::preferred_separator);
}

void Browser::GetFileSize() {
    const std::string path = files_.SelectedPath();
    if (path.empty()) return;
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (ec) return;
    host_.SetFileSizeHint(FileSizeText(bytes));
}

void Browser::Image() {
    passFailed_ = false;
    passReachedEnd_ = false;
    // 1-2. Stretching; the landing instants are constants.
    host_.ApplyStretch(options_.thumbnailsAsFullsize);
    // 3-4. The pass's counters and the position texts.
    int failedTries = 0;
    bool endReached = false;
    bool loaded = false;
    const int entryCount = files_.Count();
    countText_ = std::to_string(entryCount);
    positionText_ = std::to_string(files_.Selected() + 1);

    // 5. A move past the last entry loops or ends the slideshow.
    if (files_.TakePastEndRequest()) {
        if (options_.loopSlideshow) {
            files_.Select(0);
        } else {
            StopSlideshow();
            host_.Information(kEndOfDirectory);
        }
    }
    // 6. Backward onto the first entry.
    if (browseBackward_ && positionText_ == "1" && !slideshow_.checkBox) {
        host_.Information(kStartOfDirectory);
    }

    // 7. Load, skipping files that are not pictures.
    do {
        pathCaption_ = files_.SelectedPath();
        host_.SetPathCaption(pathCaption_);
        host_.RunDirsNpaths();
        if (!pathCaption_.empty()) {
            LoadOutcome outcome;
            try {
                outcome = loader_(pathCaption_, loaded_);
            } catch (const ImageError& e) {
                // A damaged picture: the previous one stays and the pass ends here.
                host_.Error(e.what());
                browseBackward_ = false;
                passFailed_ = true;
                return;
            }
            if (outcome == LoadOutcome::UnknownType) {
                // With looping on, skips wrap at the end so that every entry is tried once.
                const bool wraps = files_.Selected() + 1 >= entryCount;
                ++failedTries;
                loaded = false;
                if (failedTries == entryCount) {
                    endReached = true;
                    passReachedEnd_ = true;
                    files_.Select(wraps || options_.loopSlideshow ? 0 : files_.Selected() + 1);
                    if (!options_.loopSlideshow) host_.Warning(kNoMoreImages);
                } else if (wraps && !options_.loopSlideshow) {
                    // Looping off: a skip past the last entry is the end of the directory,
                    // as a step past it would be. Wrapping here made the slideshow go round
                    // for ever when the list ended in a file that is not a picture.
                    endReached = true;
                    passReachedEnd_ = true;
                    StopSlideshow();
                    host_.Information(kEndOfDirectory);
                } else {
                    files_.Select(wraps ? 0 : files_.Selected() + 1);
                }
                pathCaption_ = files_.SelectedPath();
                host_.SetPathCaption(pathCaption_);
            } else if (outcome == LoadOutcome::Loaded) {
                loaded = true;
                hasPicture_ = true;
                picturePath_ = pathCaption_;
            }
        }
        if (entryCount == 0) {
            passReachedEnd_ = true;
            host_.Warning(kNoImagesWarning);
        }
    } while (entryCount > 0 && !endReached && !loaded && failedTries > 0);

    // 8-11.
    Data();
    BufrScan();
    sizeText_ = hasPicture_ ? PictureSizeText(working2_.Width(), working2_.Height(),
                                              working2_.SourceFormat())
                            : std::string();
    host_.SetSizeText(sizeText_);
    browseBackward_ = false;
}

void Browser::Data() {
    context_.positionIndex = positionText_;
    context_.positionCount = countText_;
    context_.directory = files_.Directory();
    context_.stereoAutoshow = options_.stereoAutoshow;
    DecodeProductName(files_.SelectedName(), context_, decoded_);
    if (!decoded_.failure.empty()) {
        host_.ShowDecoded(decoded_);
        host_.Error(decoded_.failure);
        return;
    }
    host_.ShowDecoded(decoded_);
    if (decoded_.autoshow.requested && !host_.LoadStereoPair(decoded_.autoshow)) {
        // Browsing skips images whose partner is missing.
        if (browseBackward_)
            files_.MovePrevious();
        else
            files_.MoveNext();
    }
}

void Browser::BufrScan() {
    if (!hasPicture_) return;
    // The picture as read becomes the working copy: it is 24-bit already, so it is moved,
    // not copied, and a large picture is held once. A second scan of the same picture
    // (the slideshow step runs one after the display pass) finds it there.
    if (!loaded_.Empty()) {
        working2_ = std::move(loaded_);
        loaded_ = Bitmap24();
    }
    working2_.SetSourceFormat(PixelFormat::Bits24);
    host_.ShowPicture(working2_);
    host_.FontSize();
}

void Browser::Animate() {
    const std::string& name = files_.SelectedName();
    host_.Animate(hasPicture_ && IsAnimatedGifName(name) ? files_.SelectedPath() : std::string());
}

void Browser::SelectionSequence() {
    GetFileSize();
    Image();
    if (passFailed_) return;
    Animate();
}

void Browser::Reread() {
    files_.Select(-1);
    SelectionSequence();
}

void Browser::ChangeDirectory(const std::string& directory) {
    files_.Read(directory);
    SelectionSequence();
    if (!files_.Empty()) files_.Select(0);
    SelectionSequence();
}

void Browser::NextImage() {
    StopSlideshowTimer();
    files_.MoveNext();
    Image();
}

void Browser::PreviousImage() {
    StopSlideshowTimer();
    files_.MovePrevious();
    browseBackward_ = true;
    Image();
}

void Browser::UpdateTimer() {
    host_.SetSlideshowTimer(slideshow_.timerRunning, slideshow_.intervalMs);
}

void Browser::StopSlideshowTimer() {
    slideshow_.timerRunning = false;
    UpdateTimer();
}

void Browser::StopSlideshow() {
    slideshow_.timerRunning = false;
    slideshow_.checkBox = false;
    slideshow_.menuMark = false;
    UpdateTimer();
    host_.SetSlideshowChecks(false, false);
    host_.StopSearchTimers();
}

void Browser::SetSlideshowCheckBox(bool on) {
    slideshow_.checkBox = on;
    slideshow_.timerRunning = on;
    slideshow_.menuMark = on;
    UpdateTimer();
    host_.SetSlideshowChecks(slideshow_.checkBox, slideshow_.menuMark);
}

void Browser::ToggleSlideshowMenu() {
    if (slideshow_.menuMark) {
        SetSlideshowCheckBox(false);
        slideshow_.menuMark = false;
        slideshow_.moviesMark = false;
    } else {
        slideshow_.timerRunning = true;
        slideshow_.menuMark = true;
        SetSlideshowCheckBox(true);
    }
    if (slideshow_.checkBox) slideshow_.timerRunning = true;
    UpdateTimer();
    host_.SetSlideshowChecks(slideshow_.checkBox, slideshow_.menuMark);
}

void Browser::ToggleLargePageSlideshow() {
    slideshow_.largePageFlag = !slideshow_.largePageFlag;
    ToggleSlideshowMenu();
    slideshow_.menuMark = slideshow_.largePageFlag;
    slideshow_.timerRunning = true;  // a step that finds the check box off stops it again
    UpdateTimer();
    host_.SetSlideshowChecks(slideshow_.checkBox, slideshow_.menuMark);
}

void Browser::ToggleMovies() {
    slideshow_.moviesMark = !slideshow_.moviesMark;
    slideshowDelay_ = 10;
    slideshow_.intervalMs = 10;
    slideshow_.timerRunning = true;
    slideshow_.menuMark = true;
    UpdateTimer();
    host_.SetSlideshowChecks(slideshow_.checkBox, slideshow_.menuMark);
    host_.ShowLargePage();
}

void Browser::CloseLargePage() {
    slideshow_.timerRunning = false;
    slideshow_.checkBox = false;
    slideshow_.menuMark = false;
    UpdateTimer();
    host_.SetSlideshowChecks(false, false);
    host_.ShowMainWindow();
}

int Browser::BeginDelayEdit() {
    StopSlideshowTimer();
    slideshowDelay_ = slideshow_.intervalMs;
    return slideshowDelay_;
}

void Browser::SlideshowStep() {
    if (!slideshowStarted_) {
        host_.CopyPictureToLargePage();
        host_.PointTraverseMapLists();
        slideshowStarted_ = true;
        host_.ChooseLowerPriority();
        host_.ShowMainWindow();
        files_.Select(0);
        SelectionSequence();
    }
    if (slideshow_.checkBox) {
        slideshow_.intervalMs = slideshowDelay_;
        UpdateTimer();
        files_.MoveNext();
        Image();
        BufrScan();
    }
    if (slideshow_.largePageFlag) host_.ShowLargePage();
    host_.SlideshowToolHooks();
    if (!slideshow_.checkBox) StopSlideshowTimer();
}

}  // namespace kobrix
