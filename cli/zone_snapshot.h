#pragma once

#include "decode/time_zone.h"

namespace kobrix::cli {

// A batch run names the zone once: it is the same zone for every name of the run.
class ZoneSnapshot final : public TimeZoneSource {
  public:
    explicit ZoneSnapshot(const TimeZoneSource& zone) : zone_(zone), info_(zone.CurrentZone()) {}
    TimeZoneInfo CurrentZone() const override { return info_; }
    UtcOffset OffsetAt(std::int64_t unixSeconds) const override {
        return zone_.OffsetAt(unixSeconds);
    }

  private:
    const TimeZoneSource& zone_;
    TimeZoneInfo info_;
};

}  // namespace kobrix::cli
