#include "decode/date_time.h"

#include <charconv>

#include "decode/rounding.h"

namespace kobrix {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
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
    const std::int64_t ms =
        ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
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

CivilTime DecodeDateTime(DateTime value) {
    return CivilFromMs(DateTimeToMs(value));
}

void AppendEarthTime(std::string& out, DateTime value, const DateNames& names) {
    const CivilTime t = DecodeDateTime(value);
    // Built in a local buffer and appended once: this runs for every decoded name.
    char buf[48];
    char* p = buf;
    const auto put2 = [&p](int v) {
        *p++ = static_cast<char>('0' + v / 10);
        *p++ = static_cast<char>('0' + v % 10);
    };
    *p++ = ' ';
    if (t.day >= 10) *p++ = static_cast<char>('0' + t.day / 10);
    *p++ = static_cast<char>('0' + t.day % 10);
    *p++ = ' ';
    if (t.year >= 0 && t.year < 10000) {
        put2(t.year / 100);  // four digits, as the pattern asks
        put2(t.year % 100);
    } else {
        const auto r = std::to_chars(p, buf + 32, t.year);
        p = r.ec == std::errc() ? r.ptr : p;
    }
    *p++ = ' ';
    put2(t.hour);
    *p++ = ':';
    put2(t.minute);
    *p++ = ':';
    put2(t.second);
    out += names.days[static_cast<std::size_t>(t.dayOfWeek)];
    out.push_back(' ');
    out += names.months[static_cast<std::size_t>(t.month - 1)];
    out.append(buf, static_cast<std::size_t>(p - buf));
}

std::string FormatEarthTime(DateTime value, const DateNames& names) {
    std::string out;
    AppendEarthTime(out, value, names);
    return out;
}

}  // namespace kobrix
