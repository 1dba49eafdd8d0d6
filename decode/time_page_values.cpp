#include "decode/time_page_values.h"

#include <cmath>
#include <cstdio>

namespace kobrix {
namespace {

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && value < 0) --quotient;
    return quotient;
}

std::string Whole(std::int64_t value) {
    return std::to_string(value);
}

// A "0" in front of a value below 10, as the page shows seconds and minutes.
std::string Padded(std::int64_t value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

std::string Whole(double value) {
    return std::to_string(static_cast<std::int64_t>(value));
}

std::string TwoDigits(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

}  // namespace

std::string FormatEarthTimeOf(DateTime value, const DateNames& names) {
    const CivilTime t = DecodeDateTime(value);
    char year[16];
    std::snprintf(year, sizeof year, "%04d", t.year);
    std::string out = names.days[static_cast<std::size_t>(t.dayOfWeek)];
    out += ' ';
    out += std::to_string(t.day);
    out += " of ";
    out += names.months[static_cast<std::size_t>(t.month - 1)];
    out += ' ';
    out += year;
    out += ' ';
    out += TwoDigits(t.hour) + ':' + TwoDigits(t.minute) + ':' + TwoDigits(t.second);
    return out;
}

ClockBreakdown BreakDownClock(std::int32_t clockSeconds) {
    ClockBreakdown b;
    const std::int64_t c = clockSeconds;
    b.minutes = FloorDiv(c, 60);
    b.seconds = c - b.minutes * 60;
    b.hours = FloorDiv(b.minutes, 60);
    b.remainderMinutes = b.minutes - b.hours * 60;
    b.days = FloorDiv(b.hours, 24);
    b.remainderHours = b.hours - b.days * 24;
    return b;
}

EarthPageValues ComputeEarthPageValues(std::string_view clockText, std::int32_t clockSeconds,
                                       const DateNames& names) {
    const ClockBreakdown b = BreakDownClock(clockSeconds);
    EarthPageValues v;
    v.clock.assign(clockText);
    v.minutes = Whole(b.minutes);
    v.minutesInSeconds = Whole(b.minutes * 60);
    v.seconds = Padded(b.seconds);
    v.hours = Whole(b.hours);
    v.hoursInMinutes = Whole(b.hours * 60);
    v.remainderMinutes = Padded(b.remainderMinutes);
    v.days = Whole(b.days);
    v.daysInHours = Whole(b.days * 24);
    v.remainderHours = Whole(b.remainderHours);
    v.elapsed = v.days + " Days, " + v.remainderHours + " Hours, " + v.remainderMinutes +
                " Minutes, " + v.seconds + " Seconds.";
    v.imageTimeUtc = ClockToUtc(clockSeconds);
    v.captureUtc = FormatEarthTimeOf(v.imageTimeUtc, names);
    return v;
}

MartianPageValues ComputeMartianPageValues(std::string_view shownRoverNumber,
                                           const std::array<std::int32_t, 2>& secondsFromLanding) {
    MartianPageValues v;
    v.rover.assign(shownRoverNumber);
    const SolarTime landing =
        shownRoverNumber == "2" ? LandingLocalSolarTimeSpirit : LandingLocalSolarTimeOpportunity;
    v.landedAt = Whole(landing.hours) + ':' + Whole(landing.minutes) + ':' + Whole(landing.seconds);
    ComputeMarsElapsed(shownRoverNumber, secondsFromLanding, v.elapsed, v.localSolarTime);
    const MarsElapsed& e = v.elapsed;
    v.sols = Whole(e.sols);
    v.hours = Whole(e.hours);
    v.minutes = Whole(e.minutes);
    v.seconds = Whole(e.seconds);
    v.totalHours = Whole(e.totalHours);
    v.totalMinutes = Whole(e.totalMinutes);
    v.totalSeconds = Whole(e.totalSeconds);
    v.localTime = v.localSolarTime.text;
    return v;
}

}  // namespace kobrix
