#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kobrix {

// What the system says of its current time zone.
struct TimeZoneInfo {
    enum class State {
        NoDaylightSaving,  // the zone keeps no daylight saving in this year's rules, or is unknown
        StandardTime,      // standard time is in effect now
        DaylightTime,      // daylight time is in effect now
        Failed,            // the query itself failed
    };
    State state = State::Failed;
    std::string standardName;
    std::string daylightName;
    // Tells one zone from another: its id and its rules (the offsets through the year). Two
    // zones without names ("TimeZone UNKNOWN") differ here. Empty when the source cannot say;
    // the shown name then stands in.
    std::string identity;
};

// Result of converting one UTC instant to local time.
struct UtcOffset {
    bool ok = false;
    int seconds = 0;    // local minus UTC
    std::string error;  // the platform's text when !ok
};

// The computer's time zone: its names now, and its offset from UTC by the zone's rules for a
// given instant (so daylight saving follows the capture date, not today).
class TimeZoneSource {
  public:
    virtual ~TimeZoneSource() = default;
    virtual TimeZoneInfo CurrentZone() const = 0;
    virtual UtcOffset OffsetAt(std::int64_t unixSeconds) const = 0;
};

// "TimeZone UNKNOWN", the standard name, the daylight name or "TimeZone really UNKNOWN".
std::string RefreshTimeZoneName(const TimeZoneSource& zone);
std::string_view TimeZoneNameFor(const TimeZoneInfo& info);
// The same into an existing string, without allocating once it has room.
void RefreshTimeZoneName(const TimeZoneSource& zone, std::string& name);

// Remembers the offset of whole UTC days for one zone. A day is cached only when its first
// and last second have the same offset, so a day with a transition is always asked exactly.
// A batch of thousands of images from a few days then needs a handful of zone lookups.
class LocalTimeCache {
  public:
    UtcOffset OffsetAt(const TimeZoneSource& zone, std::int64_t unixSeconds);
    // Forget everything when the zone has changed: `key` is the zone's identity, or its shown
    // name where the source gives no identity.
    void SetZoneKey(const std::string& key);
    void Clear();

  private:
    struct Entry {
        std::int64_t day = INT64_MIN;
        int seconds = 0;
    };
    std::array<Entry, 64> entries_{};
    std::string zoneKey_;
    bool keyed_ = false;
};

}  // namespace kobrix
