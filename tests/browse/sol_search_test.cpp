#include "browse/sol_search.h"

#include <gtest/gtest.h>

#include "browse/browser.h"
#include "tests/browse/recording_host.h"
#include "tests/browse/sample_names.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix {
namespace {

using testing::NameOnSol;
using Outcome = SolStepResult::Outcome;

LoadOutcome LoadAnyJpeg(const std::string& path, Bitmap24& picture) {
    if (!path.ends_with(".jpg")) return LoadOutcome::UnknownType;
    picture.Resize(4, 4);
    return LoadOutcome::Loaded;
}

struct Fixture {
    testing::RecordingHost host;
    testing::FakeTimeZone zone;
    Browser browser{host, zone, DateNames::English(), LoadAnyJpeg};
    SolSearch search;

    explicit Fixture(std::vector<std::string> names, int first = 0) {
        browser.Files().Assign("/pics", std::move(names));
        browser.Files().Select(first);
        browser.Image();
    }
    // Steps as the timer would until the search stops; the number of steps taken.
    int RunUntilStopped(const SolSearchControls& controls, SolStepResult& last, int limit = 50) {
        last = search.Search(browser, controls);
        int steps = 1;
        while (!last.stopTimer && host.searchStops == 0 && steps < limit) {
            last = search.Step(browser, controls);
            ++steps;
        }
        return steps;
    }
    std::string Selected() const { return browser.Files().SelectedName(); }
};

SolSearchControls Spirit(const char* camera, const char* sol) {
    return SolSearchControls{false, true, camera, sol};
}

TEST(SolSearch, StopsAtTheFirstImagePastTheSolAndOffersTheGalleryPage) {
    // The lower-case "n" of sol 57 is another camera to the search.
    Fixture f({NameOnSol('2', 'N', 55), NameOnSol('2', 'N', 56), NameOnSol('2', 'n', 57),
               NameOnSol('2', 'N', 58), NameOnSol('2', 'N', 59)});
    SolStepResult last;
    f.RunUntilStopped(Spirit("N", "57"), last);
    EXPECT_EQ(last.outcome, Outcome::Passed);
    EXPECT_TRUE(last.beep);
    EXPECT_EQ(f.Selected(), NameOnSol('2', 'N', 58));
    const SolSearchView& v = f.search.View();
    EXPECT_TRUE(v.statusVisible);
    EXPECT_EQ(v.status,
              "CLICK the Find at NASA button above. SOL 57 images not present in your directory");
    EXPECT_TRUE(v.findAtNasaVisible);
    EXPECT_EQ(v.searchingRover + v.searchingCamera + v.searchingSol, "2N57");
    EXPECT_EQ(v.foundRover + v.foundCamera + v.foundSol, "2N58");
    for (int press = 0; press < 2; ++press) {
        const GalleryAddress page = f.search.FindAtNasaAddress();
        ASSERT_TRUE(page.ok);
        EXPECT_EQ(page.address, "https://mars.nasa.gov/mer/gallery/all/spirit_n057.html");
    }
    EXPECT_EQ(f.search.View().searchingSol, "57");

    // The sol itself is found on its own image; the first step's find is hidden by the button
    // and found again by the timer's step.
    SolStepResult found = f.search.Search(f.browser, Spirit("N", "58"));
    EXPECT_EQ(found.outcome, Outcome::Found);
    EXPECT_TRUE(found.startTimer);
    EXPECT_FALSE(f.search.View().statusVisible);
    found = f.search.Step(f.browser, Spirit("N", "58"));
    EXPECT_EQ(found.outcome, Outcome::Found);
    EXPECT_TRUE(found.stopTimer);
    EXPECT_FALSE(found.beep);
    EXPECT_EQ(f.search.View().status, "SOL 58 images FOUND!");
    EXPECT_EQ(f.Selected(), NameOnSol('2', 'N', 58));
}

TEST(SolSearch, OtherRoverRunsToTheEndOfTheDirectory) {
    Fixture f({NameOnSol('2', 'F', 98), NameOnSol('2', 'F', 99), NameOnSol('2', 'F', 102)});
    f.browser.Options().loopSlideshow = false;
    SolStepResult last;
    const int steps = f.RunUntilStopped(SolSearchControls{}, last);  // Opportunity, F, 100
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(last.matchLevel, SolSearch::kNothing);
    EXPECT_EQ(f.host.searchStops, 1);
    EXPECT_EQ(f.host.events,
              (std::vector<std::string>{
                  "information: End of directory, no more images in this directory !"}));
    EXPECT_EQ(f.search.CurrentRover(), 2);
    EXPECT_EQ(f.Selected(), NameOnSol('2', 'F', 102));
    EXPECT_FALSE(f.search.View().statusVisible);

    // With looping on the search goes round from the first entry.
    Fixture g({NameOnSol('2', 'F', 98), NameOnSol('2', 'F', 99)});
    g.search.Search(g.browser, SolSearchControls{});
    g.search.Step(g.browser, SolSearchControls{});
    EXPECT_EQ(g.Selected(), NameOnSol('2', 'F', 98));
    EXPECT_TRUE(g.host.events.empty());
}

TEST(SolSearch, NameWithoutARoverNumberStartsOverFromTheTop) {
    Fixture f({NameOnSol('2', 'F', 11), NameOnSol('2', 'F', 12), "XNmas.jpg"});
    // Spirit read from the first image must not stand in for the odd name's rover (whose sol
    // number is 0).
    SolSearchControls controls = Spirit("N", "0");
    f.search.Search(f.browser, controls);
    EXPECT_EQ(f.search.CurrentRover(), 2);
    f.browser.Files().Select(2);
    f.browser.Image();
    const SolStepResult r = f.search.Step(f.browser, controls);
    EXPECT_EQ(r.outcome, Outcome::Moved);
    EXPECT_EQ(r.matchLevel, SolSearch::kNothing);
    EXPECT_EQ(f.search.View().status, "Invalid File Name X Value");
    EXPECT_FALSE(f.search.View().statusVisible);
    EXPECT_EQ(f.browser.Files().Selected(), 1);  // the first entry, then one on
    EXPECT_EQ(f.search.CurrentRover(), 2);
}

TEST(SolSearch, ControlsAndRefusedSolBox) {
    Fixture f({NameOnSol('1', 'E', 1), NameOnSol('1', 'E', 2)});
    // Descent searches sol 1 whatever the box says, and puts 1 into it.
    const SolStepResult descent =
        f.search.Search(f.browser, SolSearchControls{true, false, "E", "abc"});
    EXPECT_EQ(descent.outcome, Outcome::Found);
    EXPECT_EQ(descent.solBoxText, "1");
    EXPECT_EQ(f.search.SearchSol(), 1);

    // No box checked keeps the last rover and camera.
    f.search.Step(f.browser, SolSearchControls{false, false, "", "2"});
    EXPECT_EQ(f.search.SearchRover(), 1);
    EXPECT_EQ(f.search.SearchCamera(), "E");

    // A sol box without a whole number stops the search and changes nothing.
    const SolSearchView before = f.search.View();
    const int selected = f.browser.Files().Selected();
    for (const char* text : {"", "12a", "1.5"}) {
        const SolStepResult r =
            f.search.Search(f.browser, SolSearchControls{true, false, "F", text});
        EXPECT_EQ(r.outcome, Outcome::Refused);
        EXPECT_TRUE(r.stopTimer);
        EXPECT_FALSE(r.startTimer);
        EXPECT_EQ(r.warning, SolSearch::NotASolText(text));
    }
    EXPECT_EQ(
        SolSearch::NotASolText("12a"),
        "The SOL box must hold a whole number, not '12a'. Enter the SOL number and search again.");
    EXPECT_EQ(f.search.SearchCamera(), "E");
    EXPECT_EQ(f.search.View().searchingSol, before.searchingSol);
    EXPECT_EQ(f.browser.Files().Selected(), selected);

    // The menu resets the search values, not the window's.
    f.search.ResetSearchValues();
    EXPECT_EQ(f.search.SearchRover(), 1);
    EXPECT_EQ(f.search.SearchCamera(), "F");
    EXPECT_EQ(f.search.SearchSol(), 100);
}

// An empty directory would show its warning at every 1 ms step.
TEST(SolSearch, ListsWithNothingMoreToShowStopTheSearch) {
    Fixture f({});
    f.host.events.clear();
    const SolStepResult r = f.search.Search(f.browser, SolSearchControls{});
    EXPECT_FALSE(r.startTimer);
    EXPECT_TRUE(r.stopTimer);
    EXPECT_EQ(f.host.events,
              (std::vector<std::string>{
                  "warning: No valid image filetypes (BMP, JPG) found in this directory !"}));

    // Looping off: no picture at all warns once; a list that ends in other files does not start
    // over from the top.
    for (const std::vector<std::string>& names :
         {std::vector<std::string>{"a.txt", "b.txt"},
          std::vector<std::string>{NameOnSol('2', 'F', 1), NameOnSol('2', 'F', 2), "z.txt"}}) {
        Fixture g(names);
        g.browser.Options().loopSlideshow = false;
        g.host.events.clear();
        SolStepResult last;
        EXPECT_LE(g.RunUntilStopped(Spirit("F", "500"), last), 3);
        EXPECT_TRUE(last.stopTimer);
        EXPECT_LE(g.host.events.size(), 1u);
    }
}

}  // namespace
}  // namespace kobrix
