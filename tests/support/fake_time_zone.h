#pragma once

#include <cstdint>
#include <string>

#include "decode/time_zone.h"

namespace kobrix::testing {

// A zone with a fixed offset, or one that fails every conversion; counts its lookups.
class FakeTimeZone final : public TimeZoneSource {
  public:
    TimeZoneInfo info{TimeZoneInfo::State::NoDaylightSaving, "UTC", "UTC", {}};
    int offsetSeconds = 0;
    bool failConversion = false;
    std::string failureText = "The parameter is incorrect.";
    mutable int lookups = 0;

    TimeZoneInfo CurrentZone() const override { return info; }
    UtcOffset OffsetAt(std::int64_t) const override {
        ++lookups;
        if (failConversion) return UtcOffset{false, 0, failureText};
        return UtcOffset{true, offsetSeconds, {}};
    }
};

}  // namespace kobrix::testing
