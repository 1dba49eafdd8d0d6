#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kobrix::test {

// Builds BMP files field by field, so that tests can make every variant and every lie.
struct BmpSpec {
    std::uint32_t headerSize = 40;  // 12 gives a core header
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks{};  // red, green, blue: after a 40-byte header, else inside
    std::vector<std::array<std::uint8_t, 3>> palette{};  // blue, green, red
    std::vector<std::uint8_t> pixels{};                  // exactly as stored
    std::optional<std::uint32_t> dataOffset{};           // default: right after the palette
};

inline void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::vector<std::uint8_t> BuildBmp(const BmpSpec& layout) {
    const bool core = layout.headerSize == 12;
    const bool masksAfter = layout.headerSize == 40 && !layout.masks.empty();
    const std::size_t entry = core ? 3 : 4;
    const std::size_t paletteAt =
        14 + layout.headerSize + (masksAfter ? 4 * layout.masks.size() : 0);
    const std::size_t pixelsAt = paletteAt + entry * layout.palette.size();
    const std::uint32_t offset = layout.dataOffset.value_or(static_cast<std::uint32_t>(pixelsAt));
    std::vector<std::uint8_t> out(std::max<std::size_t>(pixelsAt, offset) + layout.pixels.size());
    out[0] = 'B';
    out[1] = 'M';
    PutLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    PutLe(out, 10, offset, 4);
    PutLe(out, 14, layout.headerSize, 4);
    if (core) {
        PutLe(out, 18, static_cast<std::uint32_t>(layout.width), 2);
        PutLe(out, 20, static_cast<std::uint32_t>(layout.height), 2);
        PutLe(out, 22, layout.planes, 2);
        PutLe(out, 24, layout.bitCount, 2);
    } else {
        PutLe(out, 18, static_cast<std::uint32_t>(layout.width), 4);
        PutLe(out, 22, static_cast<std::uint32_t>(layout.height), 4);
        PutLe(out, 26, layout.planes, 2);
        PutLe(out, 28, layout.bitCount, 2);
        PutLe(out, 30, layout.compression, 4);
        PutLe(out, 34, layout.sizeImage, 4);
        PutLe(out, 38, 2835, 4);
        PutLe(out, 42, 2835, 4);
        PutLe(out, 46, layout.colorsUsed, 4);
        // Right after the 40 bytes in either case: inside a longer header, else after it.
        for (std::size_t i = 0; i < layout.masks.size(); ++i) {
            PutLe(out, 14 + 40 + 4 * i, layout.masks[i], 4);
        }
    }
    for (std::size_t i = 0; i < layout.palette.size(); ++i) {
        for (std::size_t c = 0; c < 3; ++c) out[paletteAt + entry * i + c] = layout.palette[i][c];
    }
    std::copy(layout.pixels.begin(), layout.pixels.end(), out.begin() + offset);
    return out;
}

// Rows given as their bytes, each padded with zeros to a multiple of 4, in the order given.
inline std::vector<std::uint8_t> PaddedRows(const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) & ~std::size_t{3}, 0);
    }
    return out;
}

}  // namespace kobrix::test
