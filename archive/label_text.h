#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kobrix {

// The label formats of the planetary archive that the program reads.
enum class ArchiveFormat { Pds3, Pds4, Vicar, Isis3 };

std::string_view ArchiveFormatName(ArchiveFormat format);

// A label longer than this, or nested deeper, is refused before any reader sees it: real
// rover labels are a few tens of kilobytes and a handful of levels deep.
inline constexpr std::size_t kMaxLabelBytes = 256 * 1024;
inline constexpr int kMaxLabelDepth = 24;

// The facts shown for an archive file, in the order they are printed.
inline constexpr std::array<std::string_view, 6> kLabelFactKeys = {
    "PRODUCT_ID",        "INSTRUMENT_ID",        "START_TIME", "SPACECRAFT_CLOCK_START_COUNT",
    "PLANET_DAY_NUMBER", "LOCAL_TRUE_SOLAR_TIME"};

struct LabelFacts {
    ArchiveFormat format = ArchiveFormat::Pds3;
    // One per kLabelFactKeys; the value as the label writes it, without the quotes that
    // delimit a string; nothing when the label lacks the key.
    std::array<std::optional<std::string>, kLabelFactKeys.size()> values;
    // Files the label's pointers name (a detached label's data file), as written.
    std::vector<std::string> dataFiles;
    // The sample description of the image as the label gives it (PDS3 SAMPLE_TYPE, VICAR
    // FORMAT, PDS4 data_type, ISIS3 Type), and its bits where the label says.
    std::string sampleType;
    int sampleBits = 0;
    // The label's own length in bytes: VICAR its LBLSIZE; PDS3 and ISIS3 up to and including
    // the END line, its line break with it, or up to and including END itself where padding
    // or the samples follow it with no line break (blanks and comments after END on its line
    // belong to the END line).
    std::size_t labelBytes = 0;
};

// Which label the first bytes of a file begin, if any.
std::optional<ArchiveFormat> SniffLabel(std::span<const std::uint8_t> head);

// Reads the facts out of label text (the first bytes of the file, at most kMaxLabelBytes + 1
// of them). Throws ImageError, without a file name, for a label that is too long, too deep,
// unterminated, or names a data file outside its own folder.
LabelFacts ParseLabel(ArchiveFormat format, std::string_view text);

// Throws ImageError when the label's sample type is not one the display rule reads.
void CheckSampleType(const LabelFacts& facts);

}  // namespace kobrix
