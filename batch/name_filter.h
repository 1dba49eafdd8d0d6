#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "decode/product_name.h"

namespace kobrix {

// Which decoded names a search keeps. Every criterion given must hold; a name that does not
// decode as a product name never matches.
struct NameFilter {
    std::optional<char> rover;   // '1' Opportunity, '2' Spirit
    std::optional<char> camera;  // F, R, N, P, M or E, either case
    std::optional<char> eye;     // L or R, either case
    std::optional<char> filter;  // the filter digit
    // Sols as the panel shows them, both ends included.
    std::optional<std::int32_t> firstSol, lastSol;
    // Days of the UTC capture date (days since 1970-01-01), both ends included: the date the
    // panel's UTC time shows, which the birthday search compares as well.
    std::optional<std::int64_t> firstDay, lastDay;
};

// "N" or "N-M" (whole numbers, N at most M). False when the text is not such a range.
bool ParseSolRange(std::string_view text, NameFilter& filter);
// "YYYY-MM-DD" or "YYYY-MM-DD..YYYY-MM-DD" (real calendar days, the first not after the
// second). False when the text is not such a range.
bool ParseDateRange(std::string_view text, NameFilter& filter);

bool Matches(const NameFilter& filter, const DecodeState& state);

}  // namespace kobrix
