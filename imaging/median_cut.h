#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// A picture as palette indexes, for formats with a colour table.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;  // red, green, blue
    std::vector<std::uint8_t> indexes;                 // width * height, top row first
};

// Chooses at most `maxColours` (2 to 256) colours for the picture. A picture that has no more
// colours than that keeps them exactly; otherwise the colour cube is split by median cut,
// always cutting the box with the largest squared error, and every pixel takes the nearest
// palette colour (no dithering, so flat areas and lettering stay clean).
IndexedPicture QuantizeMedianCut(const Bitmap24& picture, int maxColours = 256);

}  // namespace kobrix
