#include "platform/system_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "decode/mission_time.h"

namespace kobrix {
namespace {

// Sets TZ for one test and puts the old value back.
class ScopedZone {
  public:
    explicit ScopedZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
            had_ = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedZone() {
        if (had_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::string old_;
    bool had_ = false;
};

constexpr std::int64_t kJanuary2026 = 1'768'478'400;  // 2026-01-15 12:00 UTC
constexpr std::int64_t kJuly2026 = 1'784'116'800;     // 2026-07-15 12:00 UTC

std::string LocalCapture(std::int32_t clock) {
    SystemTimeZone zone;
    const LocalTimeResult r = UtcToLocal(ClockToUtc(clock), zone, nullptr);
    EXPECT_TRUE(r.ok);
    return FormatEarthTime(r.local);
}

TEST(SystemTimeZone, ZonesWithoutDaylightSavingAreUnknown) {
    for (const char* name : {"UTC", "Asia/Kolkata"}) {
        ScopedZone zone(name);
        EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJanuary2026)), "TimeZone UNKNOWN")
            << name;
        EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJuly2026)), "TimeZone UNKNOWN") << name;
    }
}

TEST(SystemTimeZone, CurrentZoneIsAskedOnFirstUse) {
    ScopedZone zone("UTC");
    const SystemTimeZone system;
    EXPECT_EQ(RefreshTimeZoneName(system), "TimeZone UNKNOWN");
}

TEST(SystemTimeZone, StandardAndDaylightNamesFollowNow) {
    ScopedZone zone("America/New_York");
    EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJanuary2026)), "EST");
    EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJuly2026)), "EDT");
    ScopedZone berlin("Europe/Berlin");
    EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJanuary2026)), "CET");
    EXPECT_EQ(TimeZoneNameFor(SystemTimeZone::ZoneAt(kJuly2026)), "CEST");
}

TEST(SystemTimeZone, LocalTimeUsesTheRulesOfTheCaptureDate) {
    {
        ScopedZone zone("America/New_York");
        EXPECT_EQ(LocalCapture(241328935), "Saturday Aug 25 2007 11:47:50");  // EDT
        EXPECT_EQ(LocalCapture(0), "Saturday Jan 1 2000 06:58:55");           // EST
    }
    {
        ScopedZone zone("Europe/Berlin");
        EXPECT_EQ(LocalCapture(241328935), "Saturday Aug 25 2007 17:47:50");
    }
    {
        ScopedZone zone("Asia/Kolkata");
        EXPECT_EQ(LocalCapture(241328935), "Saturday Aug 25 2007 21:17:50");
    }
    {
        ScopedZone zone("UTC");
        EXPECT_EQ(LocalCapture(241328935), "Saturday Aug 25 2007 15:47:50");
    }
}

TEST(SystemTimeZone, CLocaleGivesEnglishNames) {
    const DateNames names = LocaleDateNames();
    EXPECT_EQ(names.days[6], "Saturday");
    EXPECT_EQ(names.months[7], "Aug");
}

}  // namespace
}  // namespace kobrix
