#include "browse/birthday_search.h"

#include <gtest/gtest.h>

#include "browse/browser.h"
#include "tests/browse/recording_host.h"
#include "tests/browse/sample_names.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix {
namespace {

using Outcome = BirthdayStepResult::Outcome;

LoadOutcome LoadAnyJpeg(const std::string& path, Bitmap24& picture) {
    if (!path.ends_with(".jpg")) return LoadOutcome::UnknownType;
    picture.Resize(4, 4);
    return LoadOutcome::Loaded;
}

std::string IsoDate(int y, int m, int d) {
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

std::string Name(int y, int m, int d, int hour) {
    return testing::NameAt('2', 'F', y, m, d, hour);
}

struct Fixture {
    testing::RecordingHost host;
    testing::FakeTimeZone zone;
    Browser browser{host, zone, DateNames::English(), LoadAnyJpeg};
    BirthdaySearch search{IsoDate};

    explicit Fixture(std::vector<std::string> names) {
        browser.Files().Assign("/pics", std::move(names));
        browser.Files().Select(0);
        browser.Image();
    }
    // Steps as the timer would until a step stops it.
    BirthdayStepResult RunUntilStopped(int limit = 50) {
        BirthdayStepResult r;
        for (int step = 0; step < limit && !r.stopTimer; ++step) r = search.Step(browser);
        return r;
    }
    int Selected() const { return browser.Files().Selected(); }
};

TEST(BirthdaySearch, StopsOneImageAfterTheBirthdayAndContinues) {
    Fixture f({Name(2007, 8, 24, 10), Name(2007, 8, 25, 8), Name(2007, 8, 25, 16),
               Name(2007, 8, 25, 20), Name(2007, 8, 26, 9)});
    f.search.ChooseMonth(8);
    f.search.ChooseDay(25);
    EXPECT_EQ(f.search.View().monthCaption, "August");
    EXPECT_EQ(f.search.View().dayCaption, "25");
    EXPECT_TRUE(f.search.View().calendarVisible);

    BirthdayStepResult r = f.RunUntilStopped();
    EXPECT_EQ(r.outcome, Outcome::Found);
    EXPECT_TRUE(r.beep);
    EXPECT_EQ(f.Selected(), 2);  // the image after the first August 25 image
    const BirthdaySearchView& v = f.search.View();
    EXPECT_EQ(v.message, "Birthday Image Found.");
    EXPECT_TRUE(v.continueVisible);
    EXPECT_EQ(v.date1, "2007-8-25");
    EXPECT_EQ(v.date2, "2007-8-25");
    EXPECT_EQ(v.yearCaption, "2007");
    EXPECT_EQ(v.cameraCaption, "Forward HAZCAM");

    f.search.Continue(f.browser);
    EXPECT_EQ(f.Selected(), 3);
    EXPECT_FALSE(f.search.View().continueVisible);
    r = f.RunUntilStopped();
    EXPECT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(f.Selected(), 3);
    EXPECT_TRUE(f.host.events.empty());
}

TEST(BirthdaySearch, DefaultsFindJanuaryFirstOfEachYear) {
    Fixture f({Name(2004, 12, 30, 12), Name(2005, 1, 1, 6), Name(2005, 3, 1, 9),
               Name(2006, 1, 1, 7), Name(2006, 2, 2, 8)});
    EXPECT_EQ(f.search.SearchMonth(), 1);
    EXPECT_EQ(f.search.SearchDay(), 1);
    f.search.Step(f.browser);
    EXPECT_EQ(f.search.View().message, "Continuing with the Search.");  // January 1 2004 is behind
    EXPECT_EQ(f.search.View().yearCaption, "2004");
    EXPECT_EQ(f.RunUntilStopped().outcome, Outcome::Found);
    EXPECT_EQ(f.Selected(), 2);
    f.search.Continue(f.browser);
    EXPECT_EQ(f.RunUntilStopped().outcome, Outcome::Found);
    EXPECT_EQ(f.Selected(), 4);
    EXPECT_EQ(f.search.SearchYear(), 2006);
    EXPECT_EQ(f.search.View().yearCaption, "2006");
    f.search.ResetYear();
    EXPECT_EQ(f.search.SearchYear(), 2004);
}

TEST(BirthdaySearch, DaysAMonthDoesNotHave) {
    Fixture f(
        {Name(2007, 2, 28, 10), Name(2007, 3, 1, 10), Name(2008, 2, 29, 5), Name(2008, 3, 1, 5)});
    // No year has April 31: the search stops at once and nothing else changes.
    f.search.ChooseMonth(4);
    f.search.ChooseDay(31);
    const BirthdaySearchView before = f.search.View();
    const BirthdayStepResult refused = f.search.Step(f.browser);
    EXPECT_EQ(refused.outcome, Outcome::Refused);
    EXPECT_TRUE(refused.stopTimer);
    EXPECT_EQ(refused.warning,
              "April has no day 31. Choose a day from 1 to 30 in the calendar and search again.");
    EXPECT_EQ(f.search.View().date1, before.date1);
    EXPECT_EQ(f.search.View().cameraCaption, before.cameraCaption);
    EXPECT_EQ(f.Selected(), 0);
    EXPECT_EQ(
        BirthdaySearch::NoSuchDayText(2, 30),
        "February has no day 30. Choose a day from 1 to 29 in the calendar and search again.");

    // February 29 exists in leap years only; the other years simply have no birthday image.
    f.search.ChooseMonth(2);
    f.search.ChooseDay(29);
    f.search.Step(f.browser);
    EXPECT_EQ(f.search.View().date2, "No February 29 in 2007");
    EXPECT_EQ(f.RunUntilStopped().outcome, Outcome::Found);
    EXPECT_EQ(f.Selected(), 3);
    EXPECT_EQ(f.search.View().date1, "2008-2-29");
}

TEST(BirthdaySearch, EmptyDirectoryStopsAfterOnePass) {
    Fixture f({});
    f.host.events.clear();
    const BirthdayStepResult r = f.search.Step(f.browser);
    EXPECT_TRUE(r.stopTimer);
    EXPECT_EQ(f.host.events,
              (std::vector<std::string>{
                  "warning: No valid image filetypes (BMP, JPG) found in this directory !"}));
}

}  // namespace
}  // namespace kobrix
