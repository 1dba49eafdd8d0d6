#include "batch/name_filter.h"

#include "browse/browse_texts.h"
#include "decode/date_time.h"

namespace kobrix {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// "YYYY-MM-DD" as days since 1970-01-01.
std::optional<std::int64_t> Day(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = ParseWholeNumber(text.substr(0, 4));
    const auto month = ParseWholeNumber(text.substr(5, 2));
    const auto day = ParseWholeNumber(text.substr(8, 2));
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1) return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int longest = kDays[*month - 1] + (*month == 2 && IsLeapYear(*year) ? 1 : 0);
    if (*day > longest) return std::nullopt;
    return DaysFromCivil(*year, *month, *day);
}

bool SameLetter(const std::optional<char>& wanted, const std::string& decoded) {
    if (!wanted) return true;
    const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    return decoded.size() == 1 && fold(decoded[0]) == fold(*wanted);
}

}  // namespace

bool ParseSolRange(std::string_view text, NameFilter& filter) {
    const std::size_t dash = text.find('-', 1);
    const auto first = ParseWholeNumber(text.substr(0, dash));
    const auto last =
        dash == std::string_view::npos ? first : ParseWholeNumber(text.substr(dash + 1));
    if (!first || !last || *first > *last) return false;
    filter.firstSol = first;
    filter.lastSol = last;
    return true;
}

bool ParseDateRange(std::string_view text, NameFilter& filter) {
    const std::size_t dots = text.find("..");
    const auto first = Day(text.substr(0, dots));
    const auto last = dots == std::string_view::npos ? first : Day(text.substr(dots + 2));
    if (!first || !last || *first > *last) return false;
    filter.firstDay = first;
    filter.lastDay = last;
    return true;
}

bool Matches(const NameFilter& filter, const DecodeState& state) {
    const DecodedProduct& product = state.product;
    if (!product.NameValid) return false;
    if (!SameLetter(filter.rover, product.RoverDigit) ||
        !SameLetter(filter.camera, product.CameraLetter) ||
        !SameLetter(filter.eye, product.EyeLetter) ||
        !SameLetter(filter.filter, product.FilterDigit)) {
        return false;
    }
    const bool timed = filter.firstSol || filter.firstDay;
    if (timed && !product.ClockValid) return false;
    const std::int32_t sol = state.times.SolNumber;
    if (filter.firstSol && (sol < *filter.firstSol || sol > *filter.lastSol)) return false;
    if (filter.firstDay) {
        const CivilTime date = DecodeDateTime(state.times.ImageTimeUtc);
        const std::int64_t day = DaysFromCivil(date.year, date.month, date.day);
        if (day < *filter.firstDay || day > *filter.lastDay) return false;
    }
    return true;
}

}  // namespace kobrix
