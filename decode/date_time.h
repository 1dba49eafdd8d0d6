#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kobrix {

// Date-times are days since 1899-12-30 00:00 as a double; the fraction is the time of day.
using DateTime = double;

inline constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 1899-12-30 to 1970-01-01.
inline constexpr std::int64_t kUnixEpochDays = 25'569;

struct CivilTime {
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 6;  // 0 = Sunday
};

// Day and month names used in displayed Earth times; the platform fills them from the
// user's locale, English is the fallback.
struct DateNames {
    std::array<std::string, 7> days;     // full names, Sunday first
    std::array<std::string, 12> months;  // abbreviated names, January first
    static const DateNames& English();
};

// Days since 1970-01-01 for a proleptic Gregorian date.
std::int64_t DaysFromCivil(int year, int month, int day);

DateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                        int millisecond = 0);

// Milliseconds since 1899-12-30, rounded to the nearest millisecond as the split into
// calendar fields does.
std::int64_t DateTimeToMs(DateTime value);
CivilTime CivilFromMs(std::int64_t msSince1899);
CivilTime DecodeDateTime(DateTime value);

// "dddd mmm d yyyy hh:mm:ss": full day name, abbreviated month, day without leading zero,
// four-digit year, 24-hour clock; fractions of a second are dropped.
void AppendEarthTime(std::string& out, DateTime value, const DateNames& names);
std::string FormatEarthTime(DateTime value, const DateNames& names = DateNames::English());

}  // namespace kobrix
