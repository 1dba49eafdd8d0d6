#include <gtest/gtest.h>

#include "imaging/bmp_io.h"
#include "imaging/image_error.h"
#include "tests/imaging/bmp_builder.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::PaddedRows;
using Bgr = std::array<std::uint8_t, 3>;
using Bytes = std::vector<std::uint8_t>;

Bgr Px(const Bitmap24& b, int x, int y) {
    const std::uint8_t* p = b.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Decodes from memory and through the file reader (which has its own path for 24 bits) and
// insists that both agree.
Bitmap24 Decode(const Bytes& bytes) {
    Bitmap24 fromMemory = DecodeBmp(bytes, "memory.bmp");
    test::ScratchDir dir;
    Bitmap24 fromFile = ReadBmpFile(test::Put(dir, "file.bmp", bytes));
    EXPECT_TRUE(fromFile.SamePixels(fromMemory));
    EXPECT_EQ(fromFile.SourceFormat(), fromMemory.SourceFormat());
    return fromMemory;
}

// Little-endian values of `Size` bytes each.
template <int Size>
Bytes Le(std::initializer_list<std::uint32_t> values) {
    Bytes out;
    for (std::uint32_t v : values) {
        for (int i = 0; i < Size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    return out;
}

TEST(BmpRead, TwentyFourBitsBottomUpTopDownAndWithoutFinalPadding) {
    // Two rows of two pixels; stored bottom row first unless the height is negative.
    const Bytes top = {1, 2, 3, 4, 5, 6};
    const Bytes bottom = {7, 8, 9, 10, 11, 12};
    BmpSpec layout{.width = 2, .height = 2, .pixels = PaddedRows({bottom, top})};
    Bitmap24 b = Decode(BuildBmp(layout));
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(Px(b, 1, 1), (Bgr{10, 11, 12}));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits24);

    layout.height = -2;
    layout.pixels = PaddedRows({top, bottom});
    EXPECT_TRUE(Decode(BuildBmp(layout)).SamePixels(b));

    // Some writers leave off the last row's padding bytes; the pixels are all there.
    layout.pixels.resize(layout.pixels.size() - 2);
    EXPECT_TRUE(Decode(BuildBmp(layout)).SamePixels(b));
}

TEST(BmpRead, IndexedDepthsUnpackMostSignificantBitsFirst) {
    // 1 bit, 10 pixels wide so that a row spans two bytes.
    BmpSpec one{.width = 10,
                .height = 2,
                .bitCount = 1,
                .palette = {{1, 2, 3}, {250, 251, 252}},
                .pixels = PaddedRows({{0xFF, 0xC0}, {0b10110000, 0b01000000}})};
    Bitmap24 b = Decode(BuildBmp(one));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits1);
    const int topRow[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(Px(b, x, 0), (topRow[x] ? Bgr{250, 251, 252} : Bgr{1, 2, 3})) << x;
        EXPECT_EQ(Px(b, x, 1), (Bgr{250, 251, 252})) << x;
    }

    // 4 bits, odd width: the last byte holds one pixel.
    BmpSpec four{.width = 3, .height = 1, .bitCount = 4, .pixels = PaddedRows({{0x1F, 0xA0}})};
    for (int i = 0; i < 16; ++i) {
        four.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i),
                                static_cast<std::uint8_t>(3 * i)});
    }
    b = Decode(BuildBmp(four));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits4);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{15, 30, 45}));
    EXPECT_EQ(Px(b, 2, 0), (Bgr{10, 20, 30}));

    BmpSpec eight{.width = 3,
                  .height = 1,
                  .bitCount = 8,
                  .colorsUsed = 3,
                  .palette = {{0, 0, 0}, {9, 8, 7}, {90, 80, 70}},
                  .pixels = PaddedRows({{2, 1, 2}})};
    b = Decode(BuildBmp(eight));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits8);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{90, 80, 70}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{9, 8, 7}));
}

TEST(BmpRead, ShortPaletteReadsMissingColoursAsBlack) {
    // No colour count, so 256 colours are implied, but the pixel data starts after two;
    // index 200 has no colour in the file.
    BmpSpec layout{.width = 3,
                   .height = 1,
                   .bitCount = 8,
                   .palette = {{5, 6, 7}, {50, 60, 70}},
                   .pixels = PaddedRows({{1, 200, 0}})};
    Bitmap24 b = Decode(BuildBmp(layout));
    EXPECT_EQ(Px(b, 0, 0), (Bgr{50, 60, 70}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(Px(b, 2, 0), (Bgr{5, 6, 7}));

    layout.colorsUsed = 2;  // said outright: the same picture
    EXPECT_TRUE(Decode(BuildBmp(layout)).SamePixels(b));
}

TEST(BmpRead, SixteenBitsFiveFiveFiveAndFiveSixFive) {
    // Without bit fields 16 bits are 5-5-5; a full channel is 255, half of 31 rounds to 132.
    BmpSpec rgb{.width = 3,
                .height = 1,
                .bitCount = 16,
                .pixels = PaddedRows({Le<2>({0x7FFF, 0x7C00, 0x0010})})};
    Bitmap24 b = Decode(BuildBmp(rgb));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits15);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(Px(b, 2, 0), (Bgr{132, 0, 0}));

    // 5-6-5 in bit fields after a plain info header: 32 of 63 green is 130.
    BmpSpec fields{.width = 3,
                   .height = 1,
                   .bitCount = 16,
                   .compression = 3,
                   .masks = {0xF800, 0x07E0, 0x001F},
                   .pixels = PaddedRows({Le<2>({0xF800, 0x07E0, 0x0400})})};
    b = Decode(BuildBmp(fields));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits16);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(Px(b, 2, 0), (Bgr{0, 130, 0}));

    // Any other layout is read as well, but has no depth name.
    fields.masks = {0x0F00, 0x00F0, 0x000F};
    fields.pixels = PaddedRows({Le<2>({0x0F00, 0x0800, 0x0001})});
    b = Decode(BuildBmp(fields));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Unknown);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{0, 0, 136}));
    EXPECT_EQ(Px(b, 2, 0), (Bgr{17, 0, 0}));
}

TEST(BmpRead, ThirtyTwoBitsDropTheFourthByteAndWideMasksKeepTheirTopBits) {
    BmpSpec rgb{
        .width = 2, .height = 1, .bitCount = 32, .pixels = {10, 20, 30, 255, 40, 50, 60, 0}};
    Bitmap24 b = Decode(BuildBmp(rgb));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits32);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{40, 50, 60}));

    // 10-10-10 fields: 0x200 of 0x3FF keeps its top 8 bits, 128.
    BmpSpec wide{.width = 2,
                 .height = 1,
                 .bitCount = 32,
                 .compression = 3,
                 .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
                 .pixels = Le<4>({0x3FF00000 | 0x200, 0x200u << 10})};
    b = Decode(BuildBmp(wide));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Unknown);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{128, 0, 255}));
    EXPECT_EQ(Px(b, 1, 0), (Bgr{0, 128, 0}));
}

TEST(BmpRead, CoreV4AndV5HeadersGiveTheSamePicture) {
    const Bytes pixels = PaddedRows({{0, 1, 1, 0}});
    BmpSpec info{.width = 4,
                 .height = 1,
                 .bitCount = 8,
                 .palette = {{1, 2, 3}, {4, 5, 6}},
                 .pixels = pixels};
    const Bitmap24 expected = Decode(BuildBmp(info));
    EXPECT_EQ(Px(expected, 1, 0), (Bgr{4, 5, 6}));

    BmpSpec core = info;
    core.headerSize = 12;  // three-byte palette entries
    const Bitmap24 fromCore = Decode(BuildBmp(core));
    EXPECT_TRUE(fromCore.SamePixels(expected));
    EXPECT_EQ(fromCore.SourceFormat(), PixelFormat::Bits8);

    for (std::uint32_t size : {108u, 124u}) {
        BmpSpec later = info;
        later.headerSize = size;
        EXPECT_TRUE(Decode(BuildBmp(later)).SamePixels(expected)) << size;
    }

    // Bit fields inside a V5 header: nothing follows the header but the pixels.
    BmpSpec v5{.headerSize = 124,
               .width = 1,
               .height = 1,
               .bitCount = 16,
               .compression = 3,
               .masks = {0xF800, 0x07E0, 0x001F},
               .pixels = PaddedRows({Le<2>({0xFFFF})})};
    const Bitmap24 b = Decode(BuildBmp(v5));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits16);
    EXPECT_EQ(Px(b, 0, 0), (Bgr{255, 255, 255}));
}

BmpSpec RleSpec(int width, int height, int bits, Bytes stream) {
    BmpSpec layout{.width = width,
                   .height = height,
                   .bitCount = static_cast<std::uint16_t>(bits),
                   .compression = bits == 8 ? 1u : 2u,
                   .palette = {{0, 0, 0}, {11, 11, 11}, {22, 22, 22}, {33, 33, 33}},
                   .pixels = std::move(stream)};
    layout.sizeImage = 0;
    return layout;
}

TEST(BmpRead, Rle8RunsAbsoluteRunsDeltaAndEndCodes) {
    // 4 x 3, bottom row first:
    //   row 2 (bottom): a run of four 1s, end of line;
    //   row 1: an absolute run 2 3 1 (padded to a word), then one 0, end of line;
    //   row 0 (top): a delta of two columns, a run of two 2s, end of bitmap.
    const Bytes stream = {4, 1, 0, 0, 0, 3, 2, 3, 1, 0xEE, 1, 0, 0, 0, 0, 2, 2, 0, 2, 2, 0, 1};
    const Bitmap24 b = Decode(BuildBmp(RleSpec(4, 3, 8, stream)));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits8);
    const int expected[3][4] = {{-1, -1, 2, 2}, {2, 3, 1, 0}, {1, 1, 1, 1}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const auto v = static_cast<std::uint8_t>(expected[y][x] < 0 ? 0 : 11 * expected[y][x]);
            EXPECT_EQ(Px(b, x, y), (Bgr{v, v, v})) << x << "," << y;  // skipped pixels black
        }
    }

    // A run may cover the row's padding (ImageMagick writes such files); those pixels go.
    const Bitmap24 padded = Decode(BuildBmp(RleSpec(3, 1, 8, {4, 2, 0, 1})));
    EXPECT_EQ(Px(padded, 2, 0), (Bgr{22, 22, 22}));

    // An end of bitmap right away leaves everything black; a missing one after the last row
    // is accepted.
    EXPECT_EQ(Px(Decode(BuildBmp(RleSpec(2, 2, 8, {0, 1}))), 1, 1), (Bgr{0, 0, 0}));
    const Bitmap24 noEnd = Decode(BuildBmp(RleSpec(2, 2, 8, {2, 3, 0, 0, 2, 1})));
    EXPECT_EQ(Px(noEnd, 0, 0), (Bgr{11, 11, 11}));
    EXPECT_EQ(Px(noEnd, 1, 1), (Bgr{33, 33, 33}));
}

TEST(BmpRead, Rle4AlternatesNibblesInRunsAndPacksAbsoluteRuns) {
    // 5 x 2: bottom row a run of five from 0x12 (1 2 1 2 1); top row an absolute run of
    // five nibbles 3 0 1 2 3 in three bytes plus a pad byte.
    const Bytes stream = {5, 0x12, 0, 0, 0, 5, 0x30, 0x12, 0x30, 0, 0, 1};
    const Bitmap24 b = Decode(BuildBmp(RleSpec(5, 2, 4, stream)));
    EXPECT_EQ(b.SourceFormat(), PixelFormat::Bits4);
    const int expected[2][5] = {{3, 0, 1, 2, 3}, {1, 2, 1, 2, 1}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            const auto v = static_cast<std::uint8_t>(11 * expected[y][x]);
            EXPECT_EQ(Px(b, x, y), (Bgr{v, v, v})) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace kobrix
