#include "platform/qt_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

// Sets TZ for one test and puts the old value back.
class ScopedTz {
  public:
    explicit ScopedTz(const char* value) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", value, 1);
        ::tzset();
    }
    ~ScopedTz() {
        if (old_)
            ::setenv("TZ", old_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::optional<std::string> old_;
};

TEST(QtTimeZoneTest, UnknownZoneIsUtcAsForTheCLibrary) {
    ScopedTz tz("Nowhere/Atlantis");
    const QtTimeZone zone;
    const UtcOffset offset = zone.OffsetAt(1188056870);
    EXPECT_TRUE(offset.ok) << offset.error;
    EXPECT_EQ(offset.seconds, 0);
    EXPECT_EQ(TimeZoneNameFor(zone.CurrentZone()), "TimeZone UNKNOWN");
}

TEST(QtTimeZoneTest, ZonesWithTheSameNameDifferInIdentity) {
    std::string ninth;
    {
        ScopedTz tz("<+09>-9");
        ninth = QtTimeZone().CurrentZone().identity;
    }
    ScopedTz tz("<+0530>-5:30");
    EXPECT_NE(QtTimeZone().CurrentZone().identity, ninth);
}

}  // namespace
}  // namespace kobrix
