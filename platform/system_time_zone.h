#pragma once

#include <cstdint>
#include <mutex>

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix {

// The time zone of the C library's zone database (TZ, /etc/localtime). Needs no Qt, so the
// command-line tool uses it too.
class SystemTimeZone final : public TimeZoneSource {
  public:
    TimeZoneInfo CurrentZone() const override;
    UtcOffset OffsetAt(std::int64_t unixSeconds) const override;

    // The zone as it is at the given instant rather than now (for tests and the time pages).
    static TimeZoneInfo ZoneAt(std::int64_t unixSeconds);

  private:
    // The zone is asked again at most once a minute.
    mutable std::mutex mutex_;
    mutable bool checked_ = false;
    mutable std::int64_t checkedAt_ = 0;
    mutable TimeZoneInfo cached_;
};

// Day and month names of the C library's current LC_TIME locale.
DateNames LocaleDateNames();

}  // namespace kobrix
