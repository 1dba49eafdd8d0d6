#include "decode/time_zone.h"

namespace kobrix {

std::string_view TimeZoneNameFor(const TimeZoneInfo& info) {
    switch (info.state) {
        case TimeZoneInfo::State::NoDaylightSaving:
            return "TimeZone UNKNOWN";
        case TimeZoneInfo::State::StandardTime:
            return info.standardName;
        case TimeZoneInfo::State::DaylightTime:
            return info.daylightName;
        case TimeZoneInfo::State::Failed:
            break;
    }
    return "TimeZone really UNKNOWN";
}

std::string RefreshTimeZoneName(const TimeZoneSource& zone) {
    return std::string(TimeZoneNameFor(zone.CurrentZone()));
}

void RefreshTimeZoneName(const TimeZoneSource& zone, std::string& name) {
    const TimeZoneInfo info = zone.CurrentZone();
    name.assign(TimeZoneNameFor(info));
}

UtcOffset LocalTimeCache::OffsetAt(const TimeZoneSource& zone, std::int64_t unixSeconds) {
    std::int64_t day = unixSeconds / 86400;
    if (unixSeconds % 86400 < 0) --day;
    Entry& slot = entries_[static_cast<std::size_t>(day & 63)];
    if (slot.day == day) return UtcOffset{true, slot.seconds, {}};

    const std::int64_t first = day * 86400;
    UtcOffset start = zone.OffsetAt(first);
    if (!start.ok) return start;
    const UtcOffset end = zone.OffsetAt(first + 86399);
    if (end.ok && end.seconds == start.seconds) {
        slot.day = day;
        slot.seconds = start.seconds;
        return start;
    }
    return zone.OffsetAt(unixSeconds);
}

void LocalTimeCache::SetZoneKey(const std::string& key) {
    if (keyed_ && key == zoneKey_) return;
    Clear();
    zoneKey_ = key;
    keyed_ = true;
}

void LocalTimeCache::Clear() {
    entries_.fill(Entry{});
}

}  // namespace kobrix
