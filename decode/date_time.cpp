#include "decode/date_time.h"

#include "decode/rounding.h"

namespace kobrix {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

void AppendTwoDigits(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void AppendInt(std::string& out, std::int64_t v) {
    char buf[24];
    int n = 0;
    const bool negative = v < 0;
    std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    do {
        buf[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative) out.push_back('-');
    while (n > 0) out.push_back(buf[--n]);
}

}  // namespace

const DateNames& DateNames::English() {
    static const DateNames names{
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}};
    return names;
}

// Howard Hinnant's days_from_civil.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                        int millisecond) {
    const std::int64_t days = DaysFromCivil(year, month, day) + kUnixEpochDays;
    const std::int64_t ms = ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 +
                            millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

std::int64_t DateTimeToMs(DateTime value) {
    return RoundHalfEven(value * static_cast<double>(kMsPerDay));
}

CivilTime CivilFromMs(std::int64_t msSince1899) {
    const std::int64_t days1899 = FloorDiv(msSince1899, kMsPerDay);
    std::int64_t msOfDay = msSince1899 - days1899 * kMsPerDay;
    CivilTime t;
    // civil_from_days, counting from 1970.
    const std::int64_t z = days1899 - kUnixEpochDays + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    // 1899-12-30 was a Saturday.
    t.dayOfWeek = static_cast<int>((days1899 % 7 + 7 + 6) % 7);
    t.hour = static_cast<int>(msOfDay / 3'600'000);
    msOfDay %= 3'600'000;
    t.minute = static_cast<int>(msOfDay / 60'000);
    msOfDay %= 60'000;
    t.second = static_cast<int>(msOfDay / 1000);
    t.millisecond = static_cast<int>(msOfDay % 1000);
    return t;
}

CivilTime DecodeDateTime(DateTime value) { return CivilFromMs(DateTimeToMs(value)); }

void AppendEarthTime(std::string& out, DateTime value, const DateNames& names) {
    const CivilTime t = DecodeDateTime(value);
    out += names.days[static_cast<std::size_t>(t.dayOfWeek)];
    out.push_back(' ');
    out += names.months[static_cast<std::size_t>(t.month - 1)];
    out.push_back(' ');
    AppendInt(out, t.day);
    out.push_back(' ');
    if (t.year >= 0 && t.year < 1000) {
        // Four digits, as the pattern asks.
        out.push_back(static_cast<char>('0' + t.year / 1000));
        out.push_back(static_cast<char>('0' + t.year / 100 % 10));
        AppendTwoDigits(out, t.year % 100);
    } else {
        AppendInt(out, t.year);
    }
    out.push_back(' ');
    AppendTwoDigits(out, t.hour);
    out.push_back(':');
    AppendTwoDigits(out, t.minute);
    out.push_back(':');
    AppendTwoDigits(out, t.second);
}

std::string FormatEarthTime(DateTime value, const DateNames& names) {
    std::string out;
    AppendEarthTime(out, value, names);
    return out;
}

}  // namespace kobrix
