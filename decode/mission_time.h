#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix {

// Instant at which both rovers' clocks read 0: 2000-01-01 11:58:55.816 UTC, in seconds
// since 1899-12-30 (kept exact; 36526 days plus 43135.816 s).
inline constexpr long double ClockEpochSeconds = 36526.0L * 86400.0L + 43135.816L;
inline constexpr DateTime ClockEpochUtc = static_cast<double>(ClockEpochSeconds / 86400.0L);

// Landing instants, 2004-01-04 04:35:00 UTC (Spirit) and 2004-01-25 05:05:00 UTC (Opportunity).
inline constexpr DateTime LandingUtcSpirit = 37990.0 + (4.0 * 3600 + 35 * 60) / 86400.0;
inline constexpr DateTime LandingUtcOpportunity = 38011.0 + (5.0 * 3600 + 5 * 60) / 86400.0;

inline constexpr std::int32_t SolSeconds = 88775;
inline constexpr double MarsSecondRatio = 1.0274884259259;

struct SolarTime {
    double hours = 0;
    double minutes = 0;
    double seconds = 0;
};
inline constexpr SolarTime LandingLocalSolarTimeSpirit{14, 24, 15};
inline constexpr SolarTime LandingLocalSolarTimeOpportunity{13, 20, 49};

enum RoverIndex { kSpirit = 0, kOpportunity = 1 };

// Martian time since landing: the totals and the remainders, doubles holding whole numbers.
struct MarsElapsed {
    double totalSeconds = 0;  // S
    double totalMinutes = 0;  // M
    double totalHours = 0;    // H
    double sols = 0;          // D
    double hours = 0;         // 0..23
    double minutes = 0;       // 0..59
    double seconds = 0;       // 0..59
};

struct MartianLocalTime {
    double hours = 0;
    double minutes = 0;
    double seconds = 0;
    std::string text;  // "HH:MM:SS"
};

struct MissionTimes {
    DateTime ImageTimeUtc = 0;
    DateTime ImageTimeLocal = 0;
    std::array<std::int32_t, 2> SecondsFromLanding{};  // indexed by RoverIndex
    std::array<std::int32_t, 2> SolIndex{};            // indexed by RoverIndex
    std::int32_t SolNumber = 0;
    MarsElapsed Elapsed;
    MartianLocalTime LocalSolarTime;
    // The rover number the panel showed when the Martian values were worked out. A name
    // outside the scheme shows "Invalid" afterwards, but the values stay those of this text.
    std::string MarsRoverNumber;
    std::string TimeZoneName;
};

// Capture instant in UTC for a clock reading, worked in extended precision.
DateTime ClockToUtc(std::int32_t clockSeconds);

// UTC, seconds from both landings, both sol indexes and the sol number of the given rover
// ("2" Spirit, "1" Opportunity; any other text leaves SolNumber 0).
void ComputeMissionTimes(std::int32_t clockSeconds, std::string_view roverDigit,
                         MissionTimes& times);

// Martian elapsed time and local solar time for the rover shown on the panel: "2" selects
// Spirit's values, any other text Opportunity's.
void ComputeMarsElapsed(std::string_view shownRoverNumber,
                        const std::array<std::int32_t, 2>& secondsFromLanding, MarsElapsed& elapsed,
                        MartianLocalTime& localTime);

struct LocalTimeResult {
    bool ok = false;
    DateTime local = 0;
    std::string error;
};

// The capture instant in the computer's local time, by the zone's rules for that date.
LocalTimeResult UtcToLocal(DateTime utc, const TimeZoneSource& zone, LocalTimeCache* cache);

// "07:05:09" style: at least two digits each.
void AppendTwoDigitTime(std::string& out, double hours, double minutes, double seconds);

}  // namespace kobrix
