#include "decode/mission_time.h"

#include <charconv>
#include <cmath>

#include "decode/rounding.h"

namespace kobrix {
namespace {

void AppendAtLeastTwoDigits(std::string& out, double value) {
    const auto v = static_cast<std::int64_t>(value);
    char buf[24];
    char* p = buf;
    if (v >= 0 && v < 10) *p++ = '0';
    p = std::to_chars(p, buf + sizeof buf, v).ptr;
    out.append(buf, static_cast<std::size_t>(p - buf));
}

std::int32_t SecondsBetween(DateTime a, DateTime b) {
    return static_cast<std::int32_t>(std::trunc(std::fabs(a - b) * 86400.0));
}

}  // namespace

DateTime ClockToUtc(std::int32_t clockSeconds) {
    return static_cast<double>((ClockEpochSeconds + static_cast<long double>(clockSeconds)) /
                               86400.0L);
}

void ComputeMissionTimes(std::int32_t clockSeconds, std::string_view roverDigit,
                         MissionTimes& times) {
    times.ImageTimeUtc = ClockToUtc(clockSeconds);
    times.SecondsFromLanding[kSpirit] = SecondsBetween(times.ImageTimeUtc, LandingUtcSpirit);
    times.SecondsFromLanding[kOpportunity] =
        SecondsBetween(times.ImageTimeUtc, LandingUtcOpportunity);
    for (int rover : {kSpirit, kOpportunity}) {
        times.SolIndex[static_cast<std::size_t>(rover)] = static_cast<std::int32_t>(RoundHalfEven(
            static_cast<double>(times.SecondsFromLanding[static_cast<std::size_t>(rover)]) /
            static_cast<double>(SolSeconds)));
    }
    if (roverDigit == "2") {
        times.SolNumber = times.SolIndex[kSpirit] + 1;
    } else if (roverDigit == "1") {
        times.SolNumber = times.SolIndex[kOpportunity] + 1;
    } else {
        times.SolNumber = 0;
    }
}

void ComputeMarsElapsed(std::string_view shownRoverNumber,
                        const std::array<std::int32_t, 2>& secondsFromLanding, MarsElapsed& e,
                        MartianLocalTime& lt) {
    const bool spirit = shownRoverNumber == "2";
    const double fromLanding =
        static_cast<double>(secondsFromLanding[spirit ? kSpirit : kOpportunity]);
    const SolarTime landing =
        spirit ? LandingLocalSolarTimeSpirit : LandingLocalSolarTimeOpportunity;

    e.totalSeconds = std::floor(fromLanding / MarsSecondRatio);
    e.totalMinutes = std::floor(e.totalSeconds / 60);
    e.seconds = e.totalSeconds - 60 * e.totalMinutes;
    e.totalHours = std::floor(e.totalMinutes / 60);
    e.minutes = e.totalMinutes - 60 * e.totalHours;
    e.sols = std::floor(e.totalHours / 24);
    e.hours = e.totalHours - 24 * e.sols;

    lt.hours = landing.hours + e.hours;
    lt.minutes = landing.minutes + e.minutes;
    lt.seconds = landing.seconds + e.seconds;
    if (lt.seconds > 59) {
        lt.seconds -= 60;
        lt.minutes += 1;
    }
    if (lt.minutes > 59) {
        lt.minutes -= 60;
        lt.hours += 1;
    }
    if (lt.hours > 23) lt.hours -= 24;  // the carried day is not used
    lt.text.clear();
    AppendTwoDigitTime(lt.text, lt.hours, lt.minutes, lt.seconds);
}

void AppendTwoDigitTime(std::string& out, double hours, double minutes, double seconds) {
    AppendAtLeastTwoDigits(out, hours);
    out.push_back(':');
    AppendAtLeastTwoDigits(out, minutes);
    out.push_back(':');
    AppendAtLeastTwoDigits(out, seconds);
}

LocalTimeResult UtcToLocal(DateTime utc, const TimeZoneSource& zone, LocalTimeCache* cache) {
    // Split into whole milliseconds as the calendar fields would, convert, join back.
    const std::int64_t utcMs = DateTimeToMs(utc);
    std::int64_t utcSeconds = utcMs / 1000;
    if (utcMs % 1000 < 0) --utcSeconds;
    utcSeconds -= kUnixEpochDays * 86400;
    const UtcOffset offset = cache ? cache->OffsetAt(zone, utcSeconds) : zone.OffsetAt(utcSeconds);
    if (!offset.ok) return LocalTimeResult{false, 0, offset.error};
    const std::int64_t localMs = utcMs + static_cast<std::int64_t>(offset.seconds) * 1000;
    return LocalTimeResult{true, static_cast<double>(localMs) / static_cast<double>(kMsPerDay), {}};
}

}  // namespace kobrix
