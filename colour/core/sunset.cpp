#include "colour/core/sunset.h"

#include <algorithm>
#include <cstdint>

namespace kobrix {
namespace {

// A saturating subtraction a byte, which the compiler turns into one vector instruction for
// many bytes.
void DarkenRows(Bitmap24& picture, std::uint8_t amount) {
    const std::size_t stride = picture.Stride();
    std::uint8_t* const* rows = picture.Rows();
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = rows[y];
        for (std::size_t i = 0; i < stride; ++i) {
            const std::uint8_t v = row[i];
            row[i] = static_cast<std::uint8_t>(v > amount ? v - amount : 0);
        }
    }
}

}  // namespace

void SunsetPass(Bitmap24& picture) {
    DarkenRows(picture, 1);
}

void SunsetPasses(Bitmap24& picture, int passes) {
    if (passes <= 0) return;
    DarkenRows(picture, static_cast<std::uint8_t>(std::min(passes, 255)));
}

}  // namespace kobrix
