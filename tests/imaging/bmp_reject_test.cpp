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
using Bytes = std::vector<std::uint8_t>;

Bytes Valid24() {
    const std::vector<std::uint8_t> row = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    return BuildBmp({.width = 3, .height = 2, .pixels = PaddedRows({row, row})});
}

BmpSpec Valid8() {
    return {.width = 2,
            .height = 1,
            .bitCount = 8,
            .palette = {{1, 1, 1}, {2, 2, 2}},
            .pixels = PaddedRows({{0, 1}})};
}

BmpSpec Fields16(std::vector<std::uint32_t> masks) {
    return {.width = 1,
            .height = 1,
            .bitCount = 16,
            .compression = 3,
            .masks = std::move(masks),
            .pixels = {0, 0, 0, 0}};
}

Bytes Rle8(Bytes stream) {
    return BuildBmp({.width = 2,
                     .height = 2,
                     .bitCount = 8,
                     .compression = 1,
                     .palette = {{0, 0, 0}, {9, 9, 9}},
                     .pixels = std::move(stream)});
}

Bytes With(Bytes bytes, std::size_t at, std::uint32_t value, int size = 4) {
    test::PutLe(bytes, at, value, size);
    return bytes;
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

struct BadFile {
    const char* what;
    Bytes bytes;
    const char* problem;  // part of the message
};

std::vector<BadFile> BadFiles() {
    const Bytes valid = Valid24();
    BmpSpec big = {.width = 16000, .height = 16000, .pixels = Bytes(100)};
    BmpSpec colours = Valid8();
    colours.colorsUsed = 257;
    BmpSpec overrun = Valid8();
    overrun.colorsUsed = 16;
    BmpSpec noPalette = Valid8();
    noPalette.palette.clear();
    BmpSpec oneBit = Valid8();
    oneBit.bitCount = 1;
    oneBit.colorsUsed = 3;
    return {
        // Truncated files
        {"empty", {}, "the file is empty"},
        {"signature only", Cut(valid, 2), "cut short in the file header"},
        {"file header only", Cut(valid, 14), "cut short in the file header"},
        {"cut in the info header", Cut(valid, 40), "cut short in the bitmap header"},
        {"pixel rows cut short", Cut(valid, valid.size() - 4), "pixel data is cut short"},
        {"huge picture in a small file", BuildBmp(big), "pixel data is cut short"},
        // Lying or impossible headers
        {"no signature", With(valid, 0, 'X', 1), "not a BMP file"},
        {"unknown header size", With(valid, 14, 64), "unsupported BMP header size 64"},
        {"two planes", With(valid, 26, 2, 2), "2 colour planes"},
        {"JPEG inside", With(valid, 30, 4), "holding a JPEG"},
        {"unknown compression", With(valid, 30, 9), "unsupported BMP compression 9"},
        {"RLE8 with 24 bits", With(valid, 30, 1), "RLE8 compression does not go with 24 bits"},
        {"bit fields with 8 bits", With(BuildBmp(Valid8()), 30, 3),
         "bit-field compression does not go with 8"},
        {"overlapping masks", BuildBmp(Fields16({0xF800, 0x0FE0, 0x001F})), "bad colour masks"},
        {"mask with a gap", BuildBmp(Fields16({0xF000 | 0x0400, 0x03E0, 0x001F})),
         "bad colour masks"},
        {"mask beyond 16 bits", BuildBmp(Fields16({0x1F0000, 0x07E0, 0x001F})), "bad colour masks"},
        // Sizes
        {"zero width", With(valid, 18, 0), "0 x 2 is not positive"},
        {"negative width", With(valid, 18, static_cast<std::uint32_t>(-3)),
         "-3 x 2 is not positive"},
        {"zero height", With(valid, 22, 0), "3 x 0 is not positive"},
        {"most negative height", With(valid, 22, 0x80000000u), "exceeds the limit of 16384"},
        {"too wide", With(valid, 18, 16385), "exceeds the limit of 16384 pixels a side"},
        // Absurd depths
        {"bit depth 0", With(valid, 28, 0, 2), "unsupported bit depth 0"},
        {"bit depth 2", With(valid, 28, 2, 2), "unsupported bit depth 2"},
        {"bit depth 64", With(valid, 28, 64, 2), "unsupported bit depth 64"},
        {"16 bits in a core header",
         BuildBmp({.headerSize = 12, .width = 1, .height = 1, .bitCount = 16, .pixels = Bytes(4)}),
         "unsupported bit depth 16 in a core header"},
        // Palettes
        {"257 colours for 8 bits", BuildBmp(colours),
         "257 colours is too large for an 8-bit picture"},
        {"3 colours for 1 bit", BuildBmp(oneBit), "3 colours is too large for a 1-bit picture"},
        {"palette overruns the pixels", BuildBmp(overrun), "overruns the pixel data at offset"},
        {"no palette", BuildBmp(noPalette), "8-bit picture has no palette"},
        // Data offsets
        {"offset into the headers", With(valid, 10, 20), "points into the headers"},
        {"offset past the end", With(valid, 10, 10000), "past the end of the file"},
        {"offset at the end", With(valid, 10, static_cast<std::uint32_t>(valid.size())),
         "past the end of the file"},
        // RLE streams on a 2 x 2 picture, whose stored rows are 4 pixels long
        {"RLE run past the row padding", Rle8({5, 1, 0, 1}), "overruns a row of 2"},
        {"RLE absolute run past the padding", Rle8({0, 5, 1, 1, 1, 1, 1, 0}), "overruns a row"},
        {"RLE delta right of the picture", Rle8({0, 2, 5, 0}), "delta moves outside"},
        {"RLE delta below the picture", Rle8({0, 2, 0, 3}), "delta moves outside"},
        {"RLE stream ends early", Rle8({2, 1, 0, 0}), "ends before the picture is complete"},
        {"RLE past the last row", Rle8({2, 1, 0, 0, 2, 1, 0, 0, 2, 1}), "runs past the last row"},
        {"RLE absolute run cut off", Rle8({0, 4, 1, 1}), "ends inside an absolute run"},
        {"RLE far too short for its size",
         BuildBmp({.width = 16384,
                   .height = 16384,
                   .bitCount = 8,
                   .compression = 1,
                   .palette = {{0, 0, 0}, {9, 9, 9}},
                   .pixels = {0, 1}}),
         "could paint at most 255 of the 16384 x 16384 pixels"},
        {"RLE delta cut off", Rle8({0, 2, 1}), "ends inside a delta code"},
    };
}

TEST(BmpReject, EveryBadFileIsAnErrorNamingFileAndProblem) {
    test::ScratchDir dir;
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.what);
        try {
            DecodeBmp(bad.bytes, "bad.bmp");
            ADD_FAILURE() << "decoded";
        } catch (const ImageError& e) {
            EXPECT_EQ(e.File(), "bad.bmp");
            EXPECT_NE(e.Problem().find(bad.problem), std::string::npos) << e.Problem();
        }
        // The file reader takes the same decisions from a prefix of the file.
        const std::string path = test::Put(dir, "bad.bmp", bad.bytes);
        try {
            ReadBmpFile(path);
            ADD_FAILURE() << "read";
        } catch (const ImageError& e) {
            EXPECT_EQ(e.File(), path);
            EXPECT_NE(e.Problem().find(bad.problem), std::string::npos) << e.Problem();
        }
    }
}

TEST(BmpReject, MissingFileIsAnError) {
    test::ScratchDir dir;
    EXPECT_THROW(ReadBmpFile((dir / "absent.bmp")), ImageError);
}

}  // namespace
}  // namespace kobrix
