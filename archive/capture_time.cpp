#include "archive/capture_time.h"

#include <charconv>
#include <cmath>

namespace kobrix {
namespace {

// Reads exactly `digits` decimal digits at `at`, moving past them.
std::optional<int> Digits(std::string_view text, std::size_t& at, std::size_t digits) {
    if (at + digits > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    at += digits;
    return value;
}

bool Take(std::string_view text, std::size_t& at, char c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<long long> WholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string ValueOr(const std::optional<std::string>& value) {
    return value && !value->empty() ? *value : std::string("?");
}

const std::optional<std::string>& Fact(const LabelFacts& facts, std::string_view key) {
    for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
        if (kLabelFactKeys[i] == key) return facts.values[i];
    }
    static const std::optional<std::string> kNone;
    return kNone;
}

}  // namespace

std::optional<std::int64_t> ParseLabelTime(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == 'Z' || text.back() == 'z'))
        text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::size_t at = 0;
    const std::optional<int> year = Digits(text, at, 4);
    if (!year || !Take(text, at, '-')) return std::nullopt;
    int month = 0;
    int day = 0;
    const std::size_t afterYear = at;
    std::optional<int> first = Digits(text, at, 3);
    if (first && (at == text.size() || text[at] == 'T')) {
        // Day of the year.
        if (*first < 1 || *first > (IsLeapYear(*year) ? 366 : 365)) return std::nullopt;
        month = 1;
        day = *first;
        while (day > DaysInMonth(*year, month)) day -= DaysInMonth(*year, month++);
    } else {
        at = afterYear;
        const std::optional<int> m = Digits(text, at, 2);
        if (!m || !Take(text, at, '-')) return std::nullopt;
        const std::optional<int> d = Digits(text, at, 2);
        if (!d || *m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(*year, *m)) return std::nullopt;
        month = *m;
        day = *d;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    if (Take(text, at, 'T')) {
        const std::optional<int> h = Digits(text, at, 2);
        if (!h || !Take(text, at, ':')) return std::nullopt;
        const std::optional<int> mi = Digits(text, at, 2);
        if (!mi || *h > 23 || *mi > 59) return std::nullopt;
        hour = *h;
        minute = *mi;
        if (Take(text, at, ':')) {
            const std::optional<int> s = Digits(text, at, 2);
            if (!s || *s > 60) return std::nullopt;
            second = *s;
            if (Take(text, at, '.')) {
                // Milliseconds from the first three digits of the fraction, the rest rounded.
                int scale = 100;
                std::size_t digits = 0;
                bool roundUp = false;
                while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
                    if (scale > 0) {
                        millisecond += (text[at] - '0') * scale;
                        scale /= 10;
                    } else if (digits == 3) {
                        roundUp = text[at] >= '5';
                    }
                    ++digits;
                    ++at;
                }
                if (digits == 0) return std::nullopt;
                if (roundUp) ++millisecond;
            }
        }
    }
    if (at != text.size()) return std::nullopt;
    const std::int64_t days = DaysFromCivil(*year, month, day) + kUnixEpochDays;
    return days * kMsPerDay + ((std::int64_t{hour} * 60 + minute) * 60 + second) * 1000 +
           millisecond;
}

ArchiveAttributes ArchiveAttributesLine(const LabelFacts& facts, std::string_view panelSol,
                                        std::optional<DateTime> panelUtc) {
    ArchiveAttributes line;
    const std::optional<std::string>& start = Fact(facts, "START_TIME");
    const std::optional<std::string>& sol = Fact(facts, "PLANET_DAY_NUMBER");
    std::string& text = line.text;
    text = std::string(ArchiveFormatName(facts.format));
    text += "  " + (facts.sampleBits > 0 ? std::to_string(facts.sampleBits) : std::string("?")) +
            " bit";
    text += "  START_TIME " + ValueOr(start);
    text += "  sol " + ValueOr(sol);
    text += "  LTST " + ValueOr(Fact(facts, "LOCAL_TRUE_SOLAR_TIME"));
    const std::optional<std::int64_t> labelMs = start ? ParseLabelTime(*start) : std::nullopt;
    if (labelMs && panelUtc) {
        const double seconds = static_cast<double>(*labelMs - DateTimeToMs(*panelUtc)) / 1000.0;
        const long long rounded = std::llround(seconds);
        text += "  label - panel UTC " + std::string(rounded > 0 ? "+" : "") +
                std::to_string(rounded) + " s";
    }
    const std::optional<long long> labelSol = sol ? WholeNumber(*sol) : std::nullopt;
    const std::optional<long long> shownSol = WholeNumber(panelSol);
    line.solDiffers = labelSol && shownSol && *labelSol != *shownSol;
    return line;
}

}  // namespace kobrix
