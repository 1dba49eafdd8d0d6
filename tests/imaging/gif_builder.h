#pragma once

// Writes GIF files byte by byte, so that tests control what an encoder would never write:
// frames outside the screen, indexes past the colour table, missing tables, odd disposals.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kobrix::test {

using Rgb = std::array<std::uint8_t, 3>;

struct GifFrameSpec {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indexes;  // width * height, top row first
    std::vector<Rgb> localTable;        // empty: none (size rounded up to a power of two)
    bool interlaced = false;
    std::optional<int> disposal;  // with a graphics control block when any of these is set
    std::optional<int> transparent;
    int delay = 0;  // hundredths of a second
};

class GifBuilder {
  public:
    GifBuilder(int width, int height, std::vector<Rgb> globalTable = {}, int background = 0) {
        Bytes("GIF89a");
        Word(width);
        Word(height);
        const int bits = TableBits(globalTable.size());
        out_.push_back(globalTable.empty() ? 0
                                           : static_cast<std::uint8_t>(0x80 | 0x70 | (bits - 1)));
        out_.push_back(static_cast<std::uint8_t>(background));
        out_.push_back(0);
        Table(globalTable, bits);
    }

    GifBuilder& Frame(const GifFrameSpec& f) {
        if (f.disposal || f.transparent || f.delay) {
            out_.insert(out_.end(), {0x21, 0xF9, 4});
            out_.push_back(static_cast<std::uint8_t>((f.disposal.value_or(0) & 7) << 2 |
                                                     (f.transparent ? 1 : 0)));
            Word(f.delay);
            out_.push_back(static_cast<std::uint8_t>(f.transparent.value_or(0)));
            out_.push_back(0);
        }
        out_.push_back(0x2C);
        Word(f.left);
        Word(f.top);
        Word(f.width);
        Word(f.height);
        const int bits = TableBits(f.localTable.size());
        out_.push_back(static_cast<std::uint8_t>((f.localTable.empty() ? 0 : 0x80 | (bits - 1)) |
                                                 (f.interlaced ? 0x40 : 0)));
        Table(f.localTable, bits);
        Pixels(f.interlaced ? Interlace(f) : f.indexes);
        return *this;
    }

    std::vector<std::uint8_t> Finish(bool trailer = true) {
        if (trailer) out_.push_back(0x3B);
        return out_;
    }

  private:
    static int TableBits(std::size_t size) {
        int bits = 1;
        while ((std::size_t{1} << bits) < size) ++bits;
        return bits;
    }

    void Bytes(const std::string& s) { out_.insert(out_.end(), s.begin(), s.end()); }
    void Word(int v) {
        out_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out_.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    void Table(const std::vector<Rgb>& table, int bits) {
        if (table.empty()) return;
        for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
            const Rgb c = i < table.size() ? table[i] : Rgb{0, 0, 0};
            out_.insert(out_.end(), c.begin(), c.end());
        }
    }

    // Rows in the order of the four interlace passes.
    static std::vector<std::uint8_t> Interlace(const GifFrameSpec& f) {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        std::vector<std::uint8_t> rows;
        for (int pass = 0; pass < 4; ++pass) {
            for (int y = kStart[pass]; y < f.height; y += kStep[pass]) {
                const auto begin = f.indexes.begin() + static_cast<std::ptrdiff_t>(y) * f.width;
                rows.insert(rows.end(), begin, begin + f.width);
            }
        }
        return rows;
    }

    // LZW with a minimum code size of 8 that sends a clear code often enough for the code
    // width to stay at 9 bits: every pixel is one literal code. Valid, if not small.
    void Pixels(const std::vector<std::uint8_t>& pixels) {
        out_.push_back(8);
        std::vector<std::uint8_t> packed;
        std::uint32_t bitBuffer = 0;
        int bitCount = 0;
        auto code = [&](int c) {
            bitBuffer |= static_cast<std::uint32_t>(c) << bitCount;
            bitCount += 9;
            while (bitCount >= 8) {
                packed.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
                bitBuffer >>= 8;
                bitCount -= 8;
            }
        };
        code(256);
        int sinceClear = 0;
        for (std::uint8_t p : pixels) {
            if (sinceClear == 250) {
                code(256);
                sinceClear = 0;
            }
            code(p);
            ++sinceClear;
        }
        code(257);
        if (bitCount > 0) packed.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
        for (std::size_t i = 0; i < packed.size(); i += 255) {
            const std::size_t n = std::min<std::size_t>(255, packed.size() - i);
            out_.push_back(static_cast<std::uint8_t>(n));
            out_.insert(out_.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
                        packed.begin() + static_cast<std::ptrdiff_t>(i + n));
        }
        out_.push_back(0);
    }

    std::vector<std::uint8_t> out_;
};

}  // namespace kobrix::test
