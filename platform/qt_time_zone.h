#pragma once

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix {

// The system time zone as Qt sees it, with its long names ("Central European Standard Time").
class QtTimeZone final : public TimeZoneSource {
  public:
    TimeZoneInfo CurrentZone() const override;
    UtcOffset OffsetAt(std::int64_t unixSeconds) const override;

    // The zone's state at a given instant instead of now.
    static TimeZoneInfo ZoneAt(std::int64_t unixSeconds);
};

// Day names and abbreviated month names of the user's locale.
DateNames QtLocaleDateNames();

}  // namespace kobrix
