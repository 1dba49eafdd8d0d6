#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "decode/date_time.h"
#include "decode/mission_time.h"

namespace kobrix::testing {

// A product name with the given clock; the rest is that of a Spirit PANCAM sample.
inline std::string ProductName(char rover, char camera, std::int64_t clock) {
    char name[64];
    std::snprintf(name, sizeof name, "%c%c%09lldEFFAUCTP2582L5M1.jpg", rover, camera,
                  static_cast<long long>(clock));
    return name;
}

// A name whose sol number is `sol` (rover '1' or '2'): the clock at landing plus whole sols.
inline std::string NameOnSol(char rover, char camera, int sol) {
    const std::int64_t landingClock = rover == '2' ? 126462965 : 128279165;
    return ProductName(rover, camera, landingClock + std::int64_t{sol - 1} * SolSeconds + 1000);
}

// A name taken at the given UTC instant (to the second the clock can tell).
inline std::string NameAt(char rover, char camera, int year, int month, int day, int hour) {
    const long double seconds =
        static_cast<long double>(EncodeDateTime(year, month, day, hour)) * 86400.0L;
    return ProductName(rover, camera, std::llround(seconds - ClockEpochSeconds));
}

}  // namespace kobrix::testing
