#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "imaging/bitmap24.h"

namespace kobrix {

// What the headers of a BMP file say, checked against each other and against the file's
// size. Used by the BMP reader only.
struct BmpLayout {
    enum class Coding { Rgb, Rle8, Rle4, BitFields };

    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    Coding coding = Coding::Rgb;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue; for 16 and 32 bits only
    // Blue, green, red, 0 per entry. Indexes past the file's palette read black, so a pixel
    // loop needs no bounds check for any index a pixel of up to 8 bits can hold.
    std::array<std::uint8_t, 256 * 4> palette{};
    int paletteSize = 0;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataSize = 0;   // bytes of pixel data the reader may use, from dataOffset
    std::uint64_t rowStride = 0;  // uncompressed rows only

    PixelFormat SourceFormat() const;
};

// The most bytes ParseBmpLayout looks at: file header, V5 header, masks and 256 entries.
inline constexpr std::size_t kBmpHeadBytes = 14 + 124 + 12 + 256 * 4;

// Parses the headers from the first bytes of a file of `fileSize` bytes (`head` holds at
// least min(fileSize, kBmpHeadBytes) bytes). Checks that the pixel data the headers
// describe lies inside the file. `name` labels the errors. Throws ImageError.
BmpLayout ParseBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                         const std::string& name);

}  // namespace kobrix
