#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/label_text.h"
#include "decode/date_time.h"

namespace kobrix {

// A label time (START_TIME and its kin) as milliseconds since 1899-12-30 00:00 UTC, the scale
// of DateTimeToMs. Reads "YYYY-MM-DDThh:mm:ss[.fff][Z]" and the day-of-year form
// "YYYY-DDDThh:mm:ss[.fff][Z]"; the seconds and their fraction may be left out. Nothing for
// any other text.
std::optional<std::int64_t> ParseLabelTime(std::string_view text);

// The main window's attributes line for an archive file, after the picture's size.
struct ArchiveAttributes {
    std::string text;
    // The label's sol is a number other than the panel's sol: the line is shown in red.
    bool solDiffers = false;
};

// "PDS3  16 bit  START_TIME 2004-05-12T10:23:45.123Z  sol 126  LTST 12:34:56  label - panel
// UTC +31 s": the label's format, its sample bits, START_TIME, sol (PLANET_DAY_NUMBER) and
// local true solar time as the label writes them ("?" for what it lacks), and the label's
// START_TIME less the panel's "Earth Time (UTC)" in whole seconds, rounded to the nearest.
// `panelUtc` is the panel's capture time from the file name's clock, nothing when the name
// gave none; the difference is then left out, as it is for a START_TIME that does not read
// as a time. The sols are compared only when both are whole numbers.
ArchiveAttributes ArchiveAttributesLine(const LabelFacts& facts, std::string_view panelSol,
                                        std::optional<DateTime> panelUtc);

}  // namespace kobrix
