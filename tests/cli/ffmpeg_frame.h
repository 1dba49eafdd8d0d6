#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"
#include "tests/imaging/magick.h"

namespace kobrix::test {

// Frame `index` of `movie` as ffmpeg decodes it, as top-down BGR rows without padding;
// `raw` is a scratch file for it.
inline std::vector<std::uint8_t> FfmpegFrame(const std::string& movie, int index,
                                             const std::string& raw) {
    Run("ffmpeg -v error -y -i '" + movie + "' -vf 'select=eq(n\\," + std::to_string(index) +
        ")' -frames:v 1 -f rawvideo -pix_fmt bgr24 '" + raw + "'");
    return ReadBytes(raw);
}

// The picture's rows without their padding, to compare with FfmpegFrame.
inline std::vector<std::uint8_t> PackedRows(const Bitmap24& b) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < b.Height(); ++y) out.insert(out.end(), b.Row(y), b.Row(y) + 3 * b.Width());
    return out;
}

}  // namespace kobrix::test
