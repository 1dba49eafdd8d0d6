#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image_file.h"

namespace kobrix {

// A 1024 x 1024 EDR as the rovers' cameras send them: a PDS3 label of one 2048-byte record,
// then 12-bit values in 16-bit words, most significant byte first, scattered so that no run
// repeats.
inline void WriteBenchEdr(const std::string& path) {
    std::string label =
        "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\nRECORD_BYTES = 2048\r\n"
        "LABEL_RECORDS = 1\r\n^IMAGE = 2\r\nSTART_TIME = 2007-08-25T15:48:21.816Z\r\n"
        "OBJECT = IMAGE\r\n  LINES = 1024\r\n  LINE_SAMPLES = 1024\r\n"
        "  SAMPLE_TYPE = MSB_UNSIGNED_INTEGER\r\n  SAMPLE_BITS = 16\r\n  BANDS = 1\r\n"
        "END_OBJECT = IMAGE\r\nEND\r\n";
    label.resize(2048, ' ');
    std::vector<std::uint8_t> bytes(label.begin(), label.end());
    for (std::size_t i = 0; i < 1024u * 1024u; ++i) {
        const unsigned v = static_cast<unsigned>((i * 2654435761u >> 7) % 4096);
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        bytes.push_back(static_cast<std::uint8_t>(v & 255));
    }
    WriteWholeFile(path, bytes);
}

}  // namespace kobrix
