#pragma once

#include <cmath>
#include <cstdint>

namespace kobrix {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// The project's one rounding rule; independent of the floating-point rounding mode.
template <typename Float>
std::int64_t RoundHalfEven(Float value) {
    const Float lower = std::floor(value);
    const Float diff = value - lower;
    auto result = static_cast<std::int64_t>(lower);
    if (diff > Float(0.5)) {
        ++result;
    } else if (diff == Float(0.5)) {
        if (result % 2 != 0) ++result;
    }
    return result;
}

}  // namespace kobrix
