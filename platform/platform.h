#pragma once

#include "decode/date_time.h"
#include "decode/time_zone.h"
#include "platform/desktop.h"
#include "platform/prompts.h"

namespace kobrix {

// The desktop services every window receives in its constructor.
struct Platform {
    Prompts& prompts;
    Desktop& desktop;
    const TimeZoneSource& timeZone;
    const DateNames& dateNames;
};

}  // namespace kobrix
