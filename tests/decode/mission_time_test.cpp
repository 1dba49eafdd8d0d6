#include "decode/mission_time.h"

#include <gtest/gtest.h>

#include "decode/rounding.h"
#include "tests/decode/decode_test_support.h"

namespace kobrix {
namespace {

using testing::Decoder;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1293.90), 1294);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

TEST(MissionTimes, Constants) {
    EXPECT_EQ(FormatEarthTime(ClockEpochUtc), "Saturday Jan 1 2000 11:58:55");
    EXPECT_EQ(DateTimeToMs(ClockEpochUtc) % 1000, 816);
    EXPECT_EQ(FormatEarthTime(LandingUtcSpirit), "Sunday Jan 4 2004 04:35:00");
    EXPECT_EQ(FormatEarthTime(LandingUtcOpportunity), "Sunday Jan 25 2004 05:05:00");
    EXPECT_DOUBLE_EQ(LandingUtcSpirit, EncodeDateTime(2004, 1, 4, 4, 35));
    EXPECT_NEAR(MarsSecondRatio, 88775.0 / 86400.0, 1e-13);
}

TEST(MissionTimes, SpiritSol1295) {
    MissionTimes t;
    ComputeMissionTimes(241328935, "2", t);
    EXPECT_EQ(FormatEarthTime(t.ImageTimeUtc), "Saturday Aug 25 2007 15:47:50");
    EXPECT_EQ(t.SecondsFromLanding[kSpirit], 114865970);
    EXPECT_EQ(t.SolIndex[kSpirit], 1294);
    EXPECT_EQ(t.SolNumber, 1295);

    ComputeMarsElapsed("2", t.SecondsFromLanding, t.Elapsed, t.LocalSolarTime);
    EXPECT_EQ(t.Elapsed.totalSeconds, 111792957);
    EXPECT_EQ(t.Elapsed.totalMinutes, 1863215);
    EXPECT_EQ(t.Elapsed.totalHours, 31053);
    EXPECT_EQ(t.Elapsed.sols, 1293);
    EXPECT_EQ(t.Elapsed.hours, 21);
    EXPECT_EQ(t.Elapsed.minutes, 35);
    EXPECT_EQ(t.Elapsed.seconds, 57);
    // 14:24:15 + 21:35:57 = 36:00:12 after the carries, 12:00:12 after the wrap.
    EXPECT_EQ(t.LocalSolarTime.text, "12:00:12");
}

TEST(MissionTimes, OpportunitySol1278) {
    MissionTimes t;
    ComputeMissionTimes(241637757, "1", t);
    EXPECT_EQ(FormatEarthTime(t.ImageTimeUtc), "Wednesday Aug 29 2007 05:34:52");
    EXPECT_EQ(t.SecondsFromLanding[kOpportunity], 113358592);
    EXPECT_EQ(t.SolNumber, 1278);
    ComputeMarsElapsed("1", t.SecondsFromLanding, t.Elapsed, t.LocalSolarTime);
    EXPECT_EQ(t.Elapsed.sols, 1276);
    EXPECT_EQ(t.Elapsed.hours, 22);
    EXPECT_EQ(t.Elapsed.minutes, 5);
    EXPECT_EQ(t.Elapsed.seconds, 6);
    EXPECT_EQ(t.LocalSolarTime.text, "11:25:55");
}

TEST(MissionTimes, ClockZeroCountsTimeUntilLanding) {
    MissionTimes t;
    ComputeMissionTimes(0, "2", t);
    EXPECT_EQ(t.ImageTimeUtc, ClockEpochUtc);
    EXPECT_EQ(t.SecondsFromLanding[kSpirit], 126462964);
    EXPECT_EQ(t.SolNumber, 1426);
    ComputeMissionTimes(0, "9", t);
    EXPECT_EQ(t.SolNumber, 0);
}

TEST(MissionTimes, PublishedSolsOfRealArchiveNames) {
    Decoder d;
    d.Decode("2N127168412SLN0211P1515L0M1.JPG");
    EXPECT_EQ(d.Panel().sol, "9");
    d.Decode("2R318573382RNNB2ZJP1336L0M1.JPG");
    EXPECT_EQ(d.Panel().sol, "2165");
}

TEST(MissionTimes, MarsElapsedUsesOpportunityForAnyOtherRoverText) {
    std::array<std::int32_t, 2> fromLanding{114865970, 113358592};
    MarsElapsed spirit, other;
    MartianLocalTime spiritTime, otherTime;
    ComputeMarsElapsed("2", fromLanding, spirit, spiritTime);
    ComputeMarsElapsed("Invalid", fromLanding, other, otherTime);
    EXPECT_EQ(spirit.sols, 1293);
    EXPECT_EQ(other.sols, 1276);
    EXPECT_EQ(otherTime.text, "11:25:55");
}

TEST(MissionTimes, LocalSolarTimeCarries) {
    // Landing 14:24:15 (Spirit). Choose elapsed times by their Martian seconds.
    auto at = [](double sols, double h, double m, double s) {
        const double martian = ((sols * 24 + h) * 60 + m) * 60 + s;
        // Earth seconds whose floor(x / ratio) gives exactly `martian`.
        const auto earth = static_cast<std::int32_t>(std::ceil(martian * MarsSecondRatio));
        MarsElapsed e;
        MartianLocalTime lt;
        ComputeMarsElapsed("2", {earth, 0}, e, lt);
        EXPECT_EQ(e.seconds, s);
        return lt.text;
    };
    EXPECT_EQ(at(0, 0, 0, 0), "14:24:15");
    EXPECT_EQ(at(0, 0, 0, 44), "14:24:59");
    EXPECT_EQ(at(0, 0, 0, 45), "14:25:00");   // seconds carry
    EXPECT_EQ(at(0, 0, 35, 45), "15:00:00");  // 59 + 1 minutes carry into hours
    EXPECT_EQ(at(3, 9, 35, 45), "00:00:00");  // 24 wraps to 0
    EXPECT_EQ(at(1, 23, 59, 59), "14:24:14");
}

TEST(MissionTimes, LocalTimeFollowsTheZoneAndCachesWholeDays) {
    testing::FakeTimeZone zone;
    zone.offsetSeconds = -4 * 3600;
    LocalTimeCache cache;
    MissionTimes t;
    ComputeMissionTimes(241328935, "2", t);
    const LocalTimeResult local = UtcToLocal(t.ImageTimeUtc, zone, &cache);
    ASSERT_TRUE(local.ok);
    EXPECT_EQ(FormatEarthTime(local.local), "Saturday Aug 25 2007 11:47:50");
    const int afterFirst = zone.lookups;
    for (int i = 0; i < 100; ++i) UtcToLocal(t.ImageTimeUtc + i / 100000.0, zone, &cache);
    EXPECT_EQ(zone.lookups, afterFirst);

    zone.failConversion = true;
    cache.Clear();
    const LocalTimeResult failed = UtcToLocal(t.ImageTimeUtc, zone, &cache);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, "The parameter is incorrect.");
}

// A zone whose offset changes at a fixed instant inside a day.
class SteppedZone final : public TimeZoneSource {
  public:
    std::int64_t step = 0;
    TimeZoneInfo CurrentZone() const override { return {}; }
    UtcOffset OffsetAt(std::int64_t s) const override { return {true, s < step ? 3600 : 7200, {}}; }
};

TEST(MissionTimes, CacheAsksExactlyOnADayWithATransition) {
    SteppedZone zone;
    zone.step = 1'174'784'400;  // 2007-03-25 01:00 UTC
    LocalTimeCache cache;
    EXPECT_EQ(cache.OffsetAt(zone, zone.step - 1).seconds, 3600);
    EXPECT_EQ(cache.OffsetAt(zone, zone.step).seconds, 7200);
    EXPECT_EQ(cache.OffsetAt(zone, zone.step - 1).seconds, 3600);
    EXPECT_EQ(cache.OffsetAt(zone, zone.step + 86400).seconds, 7200);
    EXPECT_EQ(cache.OffsetAt(zone, zone.step - 86400).seconds, 3600);
}

TEST(MissionTimes, ZoneNameFallbacks) {
    TimeZoneInfo info{TimeZoneInfo::State::NoDaylightSaving, "India Standard Time", "", {}};
    EXPECT_EQ(TimeZoneNameFor(info), "TimeZone UNKNOWN");
    info = {TimeZoneInfo::State::StandardTime, "EST", "EDT", {}};
    EXPECT_EQ(TimeZoneNameFor(info), "EST");
    info.state = TimeZoneInfo::State::DaylightTime;
    EXPECT_EQ(TimeZoneNameFor(info), "EDT");
    info.state = TimeZoneInfo::State::Failed;
    EXPECT_EQ(TimeZoneNameFor(info), "TimeZone really UNKNOWN");
}

}  // namespace
}  // namespace kobrix
