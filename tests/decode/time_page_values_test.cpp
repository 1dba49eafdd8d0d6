#include "decode/time_page_values.h"

#include <gtest/gtest.h>

#include "tests/decode/decode_test_support.h"

namespace kobrix {
namespace {

using testing::Decoder;

TEST(EarthPageValues, PadsSecondsAndMinutesButNotHours) {
    // 1 day, 3 h, 5 min, 7 s.
    const std::int32_t clock = 86400 + 3 * 3600 + 5 * 60 + 7;
    const EarthPageValues v = ComputeEarthPageValues("000097507", clock, DateNames::English());
    EXPECT_EQ(v.elapsed, "1 Days, 3 Hours, 05 Minutes, 07 Seconds.");
    EXPECT_EQ(v.remainderHours, "3");
}

TEST(EarthPageValues, NegativeClockKeepsRemaindersInRange) {
    // A dash before the clock leaves "-" plus eight digits, which parse as a negative count.
    const ClockBreakdown b = BreakDownClock(-61);
    EXPECT_EQ(b.minutes, -2);
    EXPECT_EQ(b.seconds, 59);
    EXPECT_EQ(b.hours, -1);
    EXPECT_EQ(b.remainderMinutes, 58);
    EXPECT_EQ(b.days, -1);
    EXPECT_EQ(b.remainderHours, 23);
    EXPECT_EQ(ComputeEarthPageValues("-99999999", -99999999, DateNames::English()).captureUtc,
              "Thursday 31 of Oct 1996 02:12:16");
}

TEST(MartianPageValues, EveryTextButTwoIsOpportunity) {
    MissionTimes t;
    ComputeMissionTimes(241637757, "1", t);
    const MartianPageValues opportunity = ComputeMartianPageValues("1", t.SecondsFromLanding);
    EXPECT_EQ(opportunity.landedAt, "13:20:49");
    EXPECT_EQ(opportunity.sols, "1276");
    EXPECT_EQ(opportunity.hours, "22");
    EXPECT_EQ(opportunity.minutes, "5");
    EXPECT_EQ(opportunity.seconds, "6");
    EXPECT_EQ(opportunity.localTime, "11:25:55");
    for (const char* other : {"Invalid", "", "12", "1 "}) {
        const MartianPageValues v = ComputeMartianPageValues(other, t.SecondsFromLanding);
        EXPECT_EQ(v.rover, other);
        EXPECT_EQ(v.landedAt, "13:20:49") << other;
        EXPECT_EQ(v.totalSeconds, opportunity.totalSeconds) << other;
        EXPECT_EQ(v.localTime, "11:25:55") << other;
    }
    EXPECT_EQ(ComputeMartianPageValues("2", t.SecondsFromLanding).landedAt, "14:24:15");
}

TEST(MartianPageValues, DecodeRemembersTheRoverItComputedFor) {
    Decoder d;
    d.Decode("2P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.state.times.MarsRoverNumber, "2");
    // An unknown rover digit leaves "2" on the panel for the Martian values, then "Invalid".
    d.Decode("9P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().roverNumber, "Invalid");
    EXPECT_EQ(d.state.times.MarsRoverNumber, "2");
    EXPECT_EQ(d.Panel().martianLocalTime, "12:00:12");
    // The next unknown digit finds "Invalid" there: Opportunity's values.
    d.Decode("9P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.state.times.MarsRoverNumber, "Invalid");
    const MartianPageValues v =
        ComputeMartianPageValues(d.state.times.MarsRoverNumber, d.state.times.SecondsFromLanding);
    EXPECT_EQ(v.landedAt, "13:20:49");
    EXPECT_EQ(v.localTime, d.Panel().martianLocalTime);
}

}  // namespace
}  // namespace kobrix
