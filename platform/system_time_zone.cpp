#include "platform/system_time_zone.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace kobrix {
namespace {

bool LocalFields(std::int64_t unixSeconds, std::tm& out) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    return localtime_r(&t, &out) != nullptr;
}

}  // namespace

TimeZoneInfo SystemTimeZone::ZoneAt(std::int64_t unixSeconds) {
    TimeZoneInfo info;
    tzset();
    std::tm now{};
    if (!LocalFields(unixSeconds, now)) return info;  // Failed

    // Does this year's rule set have daylight saving? Look at the middle of every month.
    std::tm probe{};
    std::tm standard{};
    std::tm daylight{};
    bool haveStandard = false;
    bool haveDaylight = false;
    for (int month = 0; month < 12; ++month) {
        std::tm mid{};
        mid.tm_year = now.tm_year;
        mid.tm_mon = month;
        mid.tm_mday = 15;
        mid.tm_hour = 12;
        const std::time_t t = timegm(&mid);
        if (!LocalFields(static_cast<std::int64_t>(t), probe)) return info;
        info.identity += std::to_string(probe.tm_gmtoff);
        info.identity += ' ';
        if (probe.tm_isdst > 0) {
            if (!haveDaylight) daylight = probe;
            haveDaylight = true;
        } else {
            if (!haveStandard) standard = probe;
            haveStandard = true;
        }
    }
    if (now.tm_isdst > 0 && !haveDaylight) {
        daylight = now;
        haveDaylight = true;
    }
    if (const char* tz = std::getenv("TZ")) info.identity += tz;
    info.standardName = haveStandard && standard.tm_zone ? standard.tm_zone : tzname[0];
    info.daylightName = haveDaylight && daylight.tm_zone ? daylight.tm_zone : tzname[1];
    if (!haveDaylight) {
        info.state = TimeZoneInfo::State::NoDaylightSaving;
    } else {
        info.state = now.tm_isdst > 0 ? TimeZoneInfo::State::DaylightTime
                                      : TimeZoneInfo::State::StandardTime;
    }
    return info;
}

TimeZoneInfo SystemTimeZone::CurrentZone() const {
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    std::lock_guard<std::mutex> lock(mutex_);
    if (!checked_ || now - checkedAt_ >= 60 || now < checkedAt_) {
        checked_ = true;
        cached_ = ZoneAt(now);
        checkedAt_ = now;
    }
    return cached_;
}

UtcOffset SystemTimeZone::OffsetAt(std::int64_t unixSeconds) const {
    std::tm local{};
    errno = 0;
    if (!LocalFields(unixSeconds, local)) {
        const int err = errno;
        return UtcOffset{false, 0, err ? std::strerror(err) : "local time conversion failed"};
    }
    return UtcOffset{true, static_cast<int>(local.tm_gmtoff), {}};
}

DateNames LocaleDateNames() {
    DateNames names = DateNames::English();
    char buf[128];
    for (int d = 0; d < 7; ++d) {
        std::tm t{};
        t.tm_wday = d;
        if (std::strftime(buf, sizeof buf, "%A", &t) > 0)
            names.days[static_cast<std::size_t>(d)] = buf;
    }
    for (int m = 0; m < 12; ++m) {
        std::tm t{};
        t.tm_mon = m;
        if (std::strftime(buf, sizeof buf, "%b", &t) > 0)
            names.months[static_cast<std::size_t>(m)] = buf;
    }
    return names;
}

}  // namespace kobrix
