#include <gtest/gtest.h>

#include <optional>

#include "imaging/bmp_io.h"
#include "imaging/image_error.h"
#include "tests/imaging/magick.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

bool Convert(const std::string& arguments) {
    return test::Run("convert " + arguments);
}

// Smooth ramps with hard edges, odd sizes so that every row is padded.
Bitmap24 Scene(int width, int height) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const bool block = (x / 6 + y / 5) % 2 == 0;
            p[0] = static_cast<std::uint8_t>(block ? 255 * x / (width - 1) : 20);
            p[1] = static_cast<std::uint8_t>(255 * y / (height - 1));
            p[2] = static_cast<std::uint8_t>(block ? 200 : 255 - 255 * x / (width - 1));
        }
    }
    return b;
}

struct Variant {
    const char* what;
    const char* options;  // convert options and the output coder prefix
    PixelFormat format;
};

class BmpImageMagick : public ::testing::Test {
  protected:
    void SetUp() override { KOBRIX_REQUIRE_IMAGEMAGICK(); }
    test::ScratchDir dir_;
};

class BmpImageMagickVariants : public BmpImageMagick,
                               public ::testing::WithParamInterface<Variant> {};

// ImageMagick writes the variant, reads it back itself, and we must read what it reads.
TEST_P(BmpImageMagickVariants, ReadsWhatImageMagickWritesAsImageMagickReadsIt) {
    const Variant& v = GetParam();
    const std::string source = dir_ / "scene.bmp";
    const std::string bmp = dir_ / "variant.bmp";
    WriteBmpFile(Scene(37, 23), source);
    ASSERT_TRUE(Convert(Quoted(source) + " " + v.options + Quoted(bmp)));
    const std::optional<Bitmap24> expected = test::MagickPixels(bmp);
    ASSERT_TRUE(expected);

    const Bitmap24 ours = ReadBmpFile(bmp);
    EXPECT_EQ(ours.SourceFormat(), v.format);
    EXPECT_EQ(test::MaxDifference(ours, *expected), 0);
    EXPECT_TRUE(DecodeBmp(test::ReadBytes(bmp), bmp).SamePixels(ours));
}

INSTANTIATE_TEST_SUITE_P(
    Each, BmpImageMagickVariants,
    ::testing::Values(
        Variant{"Info24", "bmp3:", PixelFormat::Bits24},
        Variant{"Core24", "bmp2:", PixelFormat::Bits24},
        Variant{"V5_24", "bmp:", PixelFormat::Bits24},
        Variant{"Info8", "-type Palette -compress None bmp3:", PixelFormat::Bits8},
        Variant{"Info8Rle", "-type Palette -compress RLE bmp3:", PixelFormat::Bits8},
        Variant{"V5_8Rle", "-type Palette -compress RLE bmp:", PixelFormat::Bits8},
        Variant{"Info4", "-colors 16 -type Palette -compress None bmp3:", PixelFormat::Bits4},
        Variant{"Info1", "-monochrome bmp3:", PixelFormat::Bits1},
        Variant{"Core8", "-type Palette bmp2:", PixelFormat::Bits8},
        Variant{"Core4", "-colors 16 bmp2:", PixelFormat::Bits4},
        Variant{"V5_565", "-define bmp:subtype=RGB565 bmp:", PixelFormat::Bits16},
        Variant{"V5_555", "-define bmp:subtype=RGB555 bmp:", PixelFormat::Bits15},
        Variant{"Info32", "-alpha on -define bmp3:alpha=true bmp3:", PixelFormat::Bits32},
        Variant{"V5_32Fields", "-alpha on bmp:", PixelFormat::Bits32}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.what); });

TEST_F(BmpImageMagick, ReadsWhatWeWriteExactly) {
    for (int width : {1, 2, 3, 4, 37}) {
        SCOPED_TRACE(width);
        const Bitmap24 scene = Scene(width + 1, 9);
        const std::string bmp = dir_ / "ours.bmp";
        WriteBmpFile(scene, bmp);
        const std::optional<Bitmap24> back = test::MagickPixels(bmp);
        ASSERT_TRUE(back);
        EXPECT_EQ(test::MaxDifference(*back, scene), 0);
    }
}

// Its RGB565 writer for version 3 headers declares bit fields but stores no masks, so the
// pixels start where the masks should be; such a file is refused rather than misread.
TEST_F(BmpImageMagick, BitFieldsWithoutMasksAreRefused) {
    const std::string source = dir_ / "scene.bmp";
    const std::string bmp = dir_ / "nomasks.bmp";
    WriteBmpFile(Scene(7, 5), source);
    ASSERT_TRUE(Convert(Quoted(source) + " -define bmp:subtype=RGB565 bmp3:" + Quoted(bmp)));
    const std::vector<std::uint8_t> bytes = test::ReadBytes(bmp);
    ASSERT_GE(bytes.size(), 54u);
    if (bytes[10] != 54 || bytes[30] != 3) GTEST_SKIP() << "this ImageMagick stores the masks";
    // Read as masks, the first pixels make no sense; where they happen to, the pixel data
    // offset gives the lie away.
    try {
        ReadBmpFile(bmp);
        ADD_FAILURE() << "read";
    } catch (const ImageError& e) {
        const std::string& problem = e.Problem();
        EXPECT_TRUE(problem.find("bad colour masks") != std::string::npos ||
                    problem.find("points into the headers") != std::string::npos)
            << problem;
    }
}

}  // namespace
}  // namespace kobrix
