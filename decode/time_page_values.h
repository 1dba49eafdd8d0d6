#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "decode/date_time.h"
#include "decode/mission_time.h"

namespace kobrix {

// The clock epoch, 2000-01-01 11:58:54, as an MS-DOS file date and time: the date in the high
// 16 bits, the time in the low 16 bits with the seconds halved.
inline constexpr std::uint32_t kClockEpochDosDateTime =
    ((((2000u - 1980u) << 9) | (1u << 5) | 1u) << 16) | ((11u << 11) | (58u << 5) | (54u / 2));
static_assert(kClockEpochDosDateTime == 673275739u);

// "dddd d of mmm yyyy hh:mm:ss": full day name, day without leading zero, the word "of", the
// abbreviated month, four-digit year, 24-hour clock; fractions of a second are dropped.
std::string FormatEarthTimeOf(DateTime value, const DateNames& names);

// The clock's seconds as whole minutes, hours and days with their remainders. Every division
// rounds down, so a negative clock still gives remainders in 0..59 (0..23 for hours).
struct ClockBreakdown {
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;  // remainder, 0..59
    std::int64_t hours = 0;
    std::int64_t remainderMinutes = 0;  // 0..59
    std::int64_t days = 0;
    std::int64_t remainderHours = 0;  // 0..23
};
ClockBreakdown BreakDownClock(std::int32_t clockSeconds);

// The values of the Earth time variables page, each noting its control.
struct EarthPageValues {
    std::string clock;             // Label41: the main window's clock text
    std::string minutes;           // Label43
    std::string minutesInSeconds;  // Label47
    std::string seconds;           // Label45: two digits at least
    std::string hours;             // Label49
    std::string hoursInMinutes;    // Label51
    std::string remainderMinutes;  // Label53: two digits at least
    std::string days;              // Label55
    std::string daysInHours;       // Label57
    std::string remainderHours;    // Label59
    std::string elapsed;           // Label61: "2793 Days, 3 Hours, 48 Minutes, 55 Seconds."
    std::string captureUtc;        // Label5
    DateTime imageTimeUtc = 0;
};
EarthPageValues ComputeEarthPageValues(std::string_view clockText, std::int32_t clockSeconds,
                                       const DateNames& names);

// The values of the Martian time page for the rover number shown on the main window: "2"
// selects Spirit's landing time and seconds, any other text Opportunity's.
struct MartianPageValues {
    std::string rover;         // Label6: the shown rover number as it is
    std::string landedAt;      // Label8: "14:24:15" or "13:20:49"
    std::string sols;          // Label63 and Label14
    std::string hours;         // Label61: remainder 0..23
    std::string minutes;       // Label59: remainder 0..59
    std::string seconds;       // Label57: remainder 0..59
    std::string totalHours;    // Label15
    std::string totalMinutes;  // Label16
    std::string totalSeconds;  // Label17
    std::string localTime;     // Label47
    MarsElapsed elapsed;
    MartianLocalTime localSolarTime;
};
MartianPageValues ComputeMartianPageValues(std::string_view shownRoverNumber,
                                           const std::array<std::int32_t, 2>& secondsFromLanding);

}  // namespace kobrix
