#include "browse/browser.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "imaging/image_error.h"
#include "tests/browse/recording_host.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix {
namespace {

using testing::RecordingHost;

// Pictures by name: ".jpg"/".gif" load (1024 x 1024 for names with "big"), "bad" is damaged,
// "gone" is missing, anything else is not a picture.
LoadOutcome FakeLoad(const std::string& path, Bitmap24& picture) {
    if (path.find("gone") != std::string::npos) return LoadOutcome::Missing;
    if (path.find("bad") != std::string::npos) throw ImageError(path, "damaged JPEG data");
    const bool picture_ = path.ends_with(".jpg") || path.ends_with(".gif") ||
                          path.ends_with(".GIF") || path.ends_with(".Gif");
    if (!picture_) return LoadOutcome::UnknownType;
    const int side = path.find("big") != std::string::npos ? 1024 : 4;
    picture.Resize(side, side);
    picture.SetSourceFormat(PixelFormat::Bits8);
    return LoadOutcome::Loaded;
}

struct Fixture {
    RecordingHost host;
    testing::FakeTimeZone zone;
    Browser browser{host, zone, DateNames::English(), FakeLoad};

    explicit Fixture(std::vector<std::string> names) {
        browser.Files().Assign("/pics", std::move(names));
    }
    std::string Selected() const { return browser.Files().SelectedName(); }
};

constexpr const char* kA = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kB = "2P241328940EFFAUCTP2582L5M1.jpg";

TEST(DisplayPass, TextFileBetweenTwoPicturesShowsTheNextPicture) {
    Fixture f({kA, "2P241328937notes.txt", kB});
    f.browser.Files().Select(1);
    f.browser.Image();
    EXPECT_EQ(f.Selected(), kB);
    EXPECT_EQ(f.browser.PathCaption(), std::string("/pics/") + kB);
    // The position text was set before the skip.
    EXPECT_EQ(f.browser.PositionText(), "2");
    EXPECT_EQ(f.browser.Decoded().panel.positionCaption, "Using File 2 of 3");
    EXPECT_EQ(f.browser.Decoded().panel.fileNameBox, kB);
    EXPECT_TRUE(f.host.events.empty());
    EXPECT_EQ(f.host.dirsNpaths, 2);  // before each load attempt
}

TEST(DisplayPass, OnlyNonPictureFiles) {
    {
        Fixture f({"a.txt", "b.doc", "c.ini"});
        f.browser.Options().loopSlideshow = false;
        f.browser.Files().Select(0);
        f.browser.Image();
        EXPECT_EQ(
            f.host.events,
            (std::vector<std::string>{"warning: Invalid image Load attempt! No more images"}));
        EXPECT_FALSE(f.browser.HasPicture());
    }
    {
        Fixture f({"a.txt", "b.doc", "c.ini"});
        f.browser.Files().Select(1);
        f.browser.Image();
        EXPECT_TRUE(f.host.events.empty());
        EXPECT_EQ(f.browser.Files().Selected(), 0);  // back to the first entry
    }
}

TEST(DisplayPass, EndOfListLoopsOrStopsTheSlideshow) {
    {
        Fixture f({kA, kB});
        f.browser.SetSlideshowCheckBox(true);
        f.browser.Files().Select(1);
        f.browser.SlideshowStep();  // first step: selects the first, then moves on
        f.browser.SlideshowStep();  // past the end: loops
        EXPECT_EQ(f.Selected(), kA);
        EXPECT_TRUE(f.host.events.empty());
        EXPECT_TRUE(f.host.timerRunning);
    }
    {
        Fixture f({kA, kB});
        f.browser.Options().loopSlideshow = false;
        f.browser.SetSlideshowCheckBox(true);
        f.browser.SlideshowStep();
        EXPECT_EQ(f.Selected(), kB);
        f.browser.SlideshowStep();
        EXPECT_EQ(f.host.events,
                  (std::vector<std::string>{
                      "information: End of directory, no more images in this directory !"}));
        EXPECT_EQ(f.Selected(), kB);
        EXPECT_FALSE(f.host.timerRunning);
        EXPECT_FALSE(f.host.checkBox);
        EXPECT_FALSE(f.host.menuMark);
        EXPECT_EQ(f.host.searchStops, 1);
        f.browser.SlideshowStep();  // the timer is off: no second message
        EXPECT_EQ(f.host.events.size(), 1u);
    }
}

TEST(DisplayPass, LoopOffSlideshowEndsWhenTheListEndsInANonPicture) {
    Fixture f({"a.jpg", "b.jpg", "z.txt"});
    f.browser.Options().loopSlideshow = false;
    f.browser.SetSlideshowCheckBox(true);
    f.browser.SlideshowStep();  // a, then b
    f.browser.SlideshowStep();  // z.txt is skipped past the end: the show ends there
    EXPECT_EQ(f.host.events,
              (std::vector<std::string>{
                  "information: End of directory, no more images in this directory !"}));
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_FALSE(f.host.checkBox);
    EXPECT_TRUE(f.browser.PassReachedEnd());
    f.browser.SlideshowStep();
    EXPECT_EQ(f.host.events.size(), 1u);
}

TEST(DisplayPass, PreviousOntoTheFirstEntry) {
    Fixture f({kA, kB});
    f.browser.Files().Select(1);
    f.browser.PreviousImage();
    EXPECT_EQ(f.host.events, (std::vector<std::string>{"information: Start of directory !"}));
    EXPECT_FALSE(f.browser.BrowseBackward());

    Fixture g({kA, kB});
    g.browser.SetSlideshowCheckBox(true);
    g.browser.Files().Select(1);
    g.browser.PreviousImage();
    EXPECT_TRUE(g.host.events.empty());
    EXPECT_FALSE(g.host.timerRunning);  // previous stops the timer
}

TEST(DisplayPass, EmptyDirectoryWarnsTwiceOnADirectoryChange) {
    Fixture f({});
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / "kobrix-empty-browse";
    std::filesystem::remove_all(empty);
    std::filesystem::create_directories(empty);
    f.browser.ChangeDirectory(empty.string());
    const std::string warning =
        "warning: No valid image filetypes (BMP, JPG) found in this directory !";
    EXPECT_EQ(f.host.events, (std::vector<std::string>{warning, warning}));
    EXPECT_EQ(f.host.decodedNames, (std::vector<std::string>{"", ""}));
}

TEST(DisplayPass, RereadLoadsNothingAndDecodesAnEmptyName) {
    Fixture f({kA, kB});
    f.browser.Reread();
    EXPECT_FALSE(f.browser.HasPicture());
    EXPECT_EQ(f.host.paths.back(), "");
    EXPECT_EQ(f.host.decodedNames, (std::vector<std::string>{""}));
    EXPECT_EQ(f.browser.Decoded().panel.positionCaption, "Using File 0 of 2");
    EXPECT_EQ(f.browser.SizeText(), "");
}

TEST(DisplayPass, SizeTextIsAlwaysTwentyFourBitAfterTheWorkingCopy) {
    Fixture f({"big.jpg"});
    f.browser.Files().Select(0);
    f.browser.Image();
    EXPECT_EQ(f.browser.SizeText(), "1024 x 1024 pixels  24 bit");
    EXPECT_EQ(f.host.sizeText, "1024 x 1024 pixels  24 bit");
}

TEST(DisplayPass, DamagedPictureKeepsThePreviousAndSkipsTheRest) {
    Fixture f({"a.jpg", "bad.jpg"});
    f.browser.Files().Select(0);
    f.browser.SelectionSequence();
    ASSERT_TRUE(f.browser.HasPicture());
    f.host.decodedNames.clear();
    f.browser.Files().Select(1);
    f.browser.SetBrowseBackward(true);
    f.browser.SelectionSequence();
    EXPECT_EQ(f.host.events, (std::vector<std::string>{"error: /pics/bad.jpg: damaged JPEG data"}));
    EXPECT_TRUE(f.host.decodedNames.empty());
    EXPECT_EQ(f.browser.Picture().Width(), 4);
    EXPECT_FALSE(f.browser.BrowseBackward());  // not left on for the next pass
}

TEST(DisplayPass, MissingFileLoadsNothingButDecodes) {
    Fixture f({"gone.jpg"});
    f.browser.Files().Select(0);
    f.browser.Image();
    EXPECT_TRUE(f.host.events.empty());
    EXPECT_EQ(f.host.decodedNames, (std::vector<std::string>{"gone.jpg"}));
}

TEST(DisplayPass, OnlyLowerAndUpperCaseGifAnimate) {
    for (const char* name : {"x.gif", "x.GIF", "x.Gif"}) {
        Fixture f({name});
        f.browser.Files().Select(0);
        f.browser.SelectionSequence();
        EXPECT_EQ(f.host.animated,
                  std::string(name) == "x.Gif" ? "" : std::string("/pics/") + name);
    }
}

TEST(DisplayPass, StretchFollowsTheOption) {
    Fixture f({kA});
    f.browser.Options().thumbnailsAsFullsize = true;
    f.browser.Image();
    EXPECT_TRUE(f.host.stretch);
    f.browser.Options().thumbnailsAsFullsize = false;
    f.browser.Image();
    EXPECT_FALSE(f.host.stretch);
}

TEST(DisplayPass, AutoshowWithAMissingPartnerMovesInTheBrowsingDirection) {
    Fixture f({kA, kB, "2P241328945EFFAUCTP2582L5M1.jpg"});
    f.browser.Options().stereoAutoshow = true;
    f.host.stereoLoads = false;
    f.browser.Files().Select(1);
    f.browser.Image();
    EXPECT_EQ(f.host.stereoRequests, 1);
    EXPECT_EQ(f.browser.Files().Selected(), 2);
    f.browser.Files().Select(1);
    f.browser.SetBrowseBackward(true);
    f.browser.Image();
    EXPECT_EQ(f.browser.Files().Selected(), 0);
    f.host.stereoLoads = true;
    f.browser.Image();
    EXPECT_EQ(f.browser.Files().Selected(), 0);
}

TEST(Slideshow, Switches) {
    Fixture f({kA, kB});
    f.browser.SetSlideshowCheckBox(true);
    EXPECT_TRUE(f.host.timerRunning);
    EXPECT_TRUE(f.host.menuMark);
    f.browser.ToggleSlideshowMenu();  // checked: stops
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_FALSE(f.host.checkBox);
    f.browser.ToggleSlideshowMenu();  // unchecked: starts
    EXPECT_TRUE(f.host.timerRunning);
    EXPECT_TRUE(f.host.checkBox);
    f.browser.CloseLargePage();
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_FALSE(f.host.checkBox);
    EXPECT_FALSE(f.host.menuMark);

    f.browser.ToggleMovies();
    EXPECT_EQ(f.browser.SlideshowDelay(), 10);
    EXPECT_EQ(f.host.timerInterval, 10);
    EXPECT_EQ(f.host.largePageShown, 1);
    // Pictures advance only while the check box is on: the step stops the timer.
    f.browser.SlideshowStep();
    EXPECT_FALSE(f.host.timerRunning);
}

TEST(Slideshow, DelayEditPausesAndTheNewDelayAppliesOnRestart) {
    Fixture f({kA, kB, "c.jpg"});
    f.browser.SetSlideshowCheckBox(true);
    f.browser.SlideshowStep();
    EXPECT_EQ(f.browser.BeginDelayEdit(), 2000);
    EXPECT_FALSE(f.host.timerRunning);
    f.browser.SetSlideshowDelay(500);
    EXPECT_FALSE(f.host.timerRunning);  // Save does not restart it
    f.browser.SetSlideshowCheckBox(false);
    f.browser.SetSlideshowCheckBox(true);
    f.browser.SlideshowStep();
    EXPECT_EQ(f.host.timerInterval, 500);
    EXPECT_TRUE(f.host.timerRunning);
}

}  // namespace
}  // namespace kobrix
