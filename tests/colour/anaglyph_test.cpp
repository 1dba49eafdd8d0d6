#include "colour/core/anaglyph.h"
#include "colour/core/render_row.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

struct Bgr {
    int b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

Bgr At(const Bitmap24& picture, int x, int y) {
    const std::uint8_t* p = picture.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

Bitmap24 Filled(int width, int height, Bgr colour) {
    Bitmap24 picture(width, height);
    picture.Fill(static_cast<std::uint8_t>(colour.b), static_cast<std::uint8_t>(colour.g),
                 static_cast<std::uint8_t>(colour.r));
    return picture;
}

Bitmap24 Noise(int width, int height, unsigned seed) {
    Bitmap24 picture(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < picture.Stride(); ++i) {
            picture.Row(y)[i] = static_cast<std::uint8_t>(random());  // filler too
        }
    }
    return picture;
}

bool FillerIsZero(const Bitmap24& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (std::size_t i = static_cast<std::size_t>(picture.Width()) * 3; i < picture.Stride();
             ++i) {
            if (picture.Row(y)[i] != 0) return false;
        }
    }
    return true;
}

TEST(Anaglyph, SeparationKeepsItsChannelsAtTheSourceSize) {
    const Bitmap24 source = Noise(5, 3, 1);  // 15 bytes a row, one filler byte
    const Bitmap24 cyan = Separate(source, Separation::Cyan);
    const Bitmap24 blue = Separate(source, Separation::Blue);
    const Bitmap24 red = Separate(source, Separation::Red);
    for (const Bitmap24* separated : {&cyan, &blue, &red}) {
        EXPECT_EQ(separated->Width(), 5);
        EXPECT_EQ(separated->Height(), 3);
        EXPECT_TRUE(FillerIsZero(*separated));
    }
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const Bgr s = At(source, x, y);
            EXPECT_EQ(At(cyan, x, y), (Bgr{s.b, s.g, 0}));
            EXPECT_EQ(At(blue, x, y), (Bgr{s.b, 0, 0}));
            EXPECT_EQ(At(red, x, y), (Bgr{0, 0, s.r}));
        }
    }
}

TEST(Anaglyph, MergeWeightAndSettingRange) {
    EXPECT_EQ(MergeWeight(0), 0);
    EXPECT_EQ(MergeWeight(1), 3);
    EXPECT_EQ(MergeWeight(49), 125);
    EXPECT_EQ(MergeWeight(50), 128);
    EXPECT_EQ(MergeWeight(100), 256);
    EXPECT_THROW(MergeWeight(101), std::out_of_range);
    EXPECT_THROW(ContrastTable(-1), std::out_of_range);
    EXPECT_THROW(BrightnessOffset(101), std::out_of_range);
    EXPECT_THROW(RenderAnaglyph(Bitmap24(1, 1), Bitmap24(1, 1), {.merge = -1}), std::out_of_range);
}

TEST(Anaglyph, DifferentSizesMergeTheirTopLeftCorners) {
    Bitmap24 right = Filled(1024, 1024, {200, 100, 50});
    const Bitmap24 left = Filled(512, 512, {10, 20, 240});
    // Outside the common area the big picture is different; none of it may show.
    for (int y = 0; y < 1024; ++y) {
        for (int x = (y < 512 ? 512 : 0); x < 1024; ++x) std::fill_n(right.Row(y) + 3 * x, 3, 0);
    }
    const Bitmap24 anaglyph = RenderAnaglyph(
        Separate(right, Separation::Cyan), Separate(left, Separation::Red), kAnaglyphResetSettings);
    ASSERT_EQ(anaglyph.Width(), 512);
    ASSERT_EQ(anaglyph.Height(), 512);
    // Blue and green of the right eye, red of the left, each at 128/256.
    for (const auto& [x, y] : {std::pair{0, 0}, {511, 0}, {0, 511}, {511, 511}}) {
        EXPECT_EQ(At(anaglyph, x, y), (Bgr{100, 50, 120})) << x << "," << y;
    }
}

TEST(Anaglyph, MergeAtTheEndsAndTheMiddle) {
    const Bitmap24 white = Filled(3, 2, {255, 255, 255});
    const Bitmap24 cyan = Separate(white, Separation::Cyan);
    const Bitmap24 red = Separate(white, Separation::Red);
    // 255 * 128 >> 8 in every channel, not 255.
    EXPECT_EQ(At(RenderAnaglyph(cyan, red, kAnaglyphResetSettings), 2, 1), (Bgr{127, 127, 127}));
    EXPECT_EQ(At(Merge(cyan, red, 100), 1, 1), (Bgr{255, 255, 0}));  // separated 1 only
    EXPECT_EQ(At(Merge(cyan, red, 0), 1, 1), (Bgr{0, 0, 255}));      // separated 2 only
}

TEST(Anaglyph, ContrastTable) {
    const ByteTable half = ContrastTable(8);
    EXPECT_EQ(half[1], 0);  // 0.5 to the even neighbour
    EXPECT_EQ(half[3], 2);  // 1.5 likewise
    EXPECT_EQ(half[5], 2);
    const ByteTable steep = ContrastTable(100);
    EXPECT_EQ(steep[40], 250);
    for (int in = 41; in < 256; ++in) EXPECT_EQ(steep[static_cast<std::size_t>(in)], 255) << in;
    for (int in = 0; in < 256; ++in) {
        EXPECT_EQ(ContrastTable(16)[static_cast<std::size_t>(in)], in);
        EXPECT_EQ(ContrastTable(0)[static_cast<std::size_t>(in)], 0);
    }
}

TEST(Anaglyph, BrightnessTable) {
    EXPECT_EQ(BrightnessOffset(0), -128);
    EXPECT_EQ(BrightnessOffset(30), 0);
    EXPECT_EQ(BrightnessOffset(100), 299);
    const ByteTable darkest = BrightnessTable(0);
    for (int in = 0; in <= 128; ++in) EXPECT_EQ(darkest[static_cast<std::size_t>(in)], 0) << in;
    EXPECT_EQ(darkest[129], 1);
    EXPECT_EQ(darkest[255], 127);
    EXPECT_EQ(BrightnessTable(100)[0], 255);
    EXPECT_EQ(BrightnessTable(45)[250], 255);
}

// The one-pass chain must give exactly what the single steps give, also for widths whose rows
// end in filler bytes and for sources whose filler bytes are not 0.
TEST(Anaglyph, RenderChainEqualsTheSingleSteps) {
    const Bitmap24 right = Noise(37, 11, 2);
    const Bitmap24 left = Noise(29, 14, 3);
    const Bitmap24 cyan = Separate(right, Separation::Cyan);
    const Bitmap24 red = Separate(left, Separation::Red);
    for (const AnaglyphSettings settings :
         {AnaglyphSettings{}, AnaglyphSettings{0, 0, 0}, AnaglyphSettings{100, 100, 100},
          AnaglyphSettings{49, 8, 45}, AnaglyphSettings{73, 27, 12}}) {
        const Bitmap24 steps = Brightness(
            Contrast(Merge(cyan, red, settings.merge), settings.contrast), settings.brightness);
        const Bitmap24 merged = Merge(cyan, red, settings.merge);
        const unsigned w = static_cast<unsigned>(MergeWeight(settings.merge));
        for (int y = 0; y < merged.Height(); ++y) {
            for (int i = 0; i < merged.Width() * 3; ++i) {
                ASSERT_EQ(merged.Row(y)[i], (cyan.Row(y)[i] * w + red.Row(y)[i] * (256 - w)) >> 8);
            }
        }
        const Bitmap24 chain = RenderAnaglyph(cyan, red, settings);
        EXPECT_EQ(chain.Width(), 29);
        EXPECT_EQ(chain.Height(), 11);
        EXPECT_TRUE(chain.SamePixels(steps)) << AnaglyphSettingsTag(settings);
        EXPECT_TRUE(FillerIsZero(chain));
        EXPECT_TRUE(FillerIsZero(steps));
    }
    EXPECT_TRUE(RenderAnaglyph(cyan, Bitmap24(), {}).Empty());
}

// The chain works the tables out as arithmetic; every setting and byte must agree, whichever
// piece of a row does the work: 32 bytes at a time where the processor has the instructions,
// then 16, then one by one. With weight 256 the merged bytes are those of the first row.
TEST(Anaglyph, RenderChainAgreesWithTheTablesForEverySetting) {
    std::uint8_t ramp[256], other[256], out[256];
    for (int i = 0; i < 256; ++i) {
        ramp[i] = static_cast<std::uint8_t>(i);
        other[i] = static_cast<std::uint8_t>(255 - i);
    }
    for (int t = 0; t <= 100; ++t) {
        for (int b = 0; b <= 100; ++b) {
            const ByteTable table = ComposeTables(ContrastTable(t), BrightnessTable(b));
            for (const std::size_t piece : {32u, 16u, 15u}) {
                for (std::size_t start = 0; start < 256; start += piece) {
                    const std::size_t count = std::min<std::size_t>(piece, 256 - start);
                    RenderAnaglyphRow(ramp + start, other + start, out + start, count, 256, t,
                                      BrightnessOffset(b));
                }
                for (std::size_t i = 0; i < 256; ++i) {
                    ASSERT_EQ(out[i], table[i])
                        << "contrast " << t << " brightness " << b << " piece " << piece;
                }
            }
        }
    }
}

TEST(Anaglyph, NumberedNamesSkipTakenNamesWhateverTheirCase) {
    const std::string tag = AnaglyphSettingsTag(kAnaglyphResetSettings);
    EXPECT_EQ(tag, "-B30C16M50");
    EXPECT_EQ(AnaglyphSettingsTag({.merge = 7, .contrast = 100, .brightness = 0}), "-B0C100M7");

    const std::string base = "2N241329230EFFAUCTP1952L0M1";
    EXPECT_EQ(NumberedAnaglyphName(base, tag, {}), base + "-B30C16M50-01.jpg");
    // What a save wrote: the name upper-cased, as JPEG or as a bitmap.
    EXPECT_EQ(NumberedAnaglyphName(base, tag, {"2N241329230EFFAUCTP1952L0M1-B30C16M50-01.JPG"}),
              base + "-B30C16M50-02.jpg");
    EXPECT_EQ(NumberedAnaglyphName(base, tag,
                                   {"2n241329230effauctp1952l0m1-b30c16m50-01.jpg",
                                    "2N241329230EFFAUCTP1952L0M1-B30C16M50-02.BMP"}),
              base + "-B30C16M50-03.jpg");
    // Other settings and other extensions do not count.
    EXPECT_EQ(
        NumberedAnaglyphName(base, tag, {base + "-B31C16M50-01.jpg", base + "-B30C16M50-01.jpeg"}),
        base + "-B30C16M50-01.jpg");
    std::vector<std::string> nine;
    for (int n = 1; n <= 9; ++n) nine.push_back("x-B30C16M50-0" + std::to_string(n) + ".jpg");
    EXPECT_EQ(NumberedAnaglyphName("x", tag, nine), "x-B30C16M50-010.jpg");

    // The listing of a real directory.
    test::ScratchDir dir;
    std::ofstream(dir / (base + "-B30C16M50-01.JPG")) << "x";
    EXPECT_EQ(NumberedAnaglyphName(base, tag, DirectoryEntryNames(dir / "")),
              base + "-B30C16M50-02.jpg");
    EXPECT_TRUE(DirectoryEntryNames(dir / "missing").empty());
}

TEST(Anaglyph, SaveTargetByTheChosenFilter) {
    const std::string dir = "/w/ImageCategories/Anaglyphs/";
    SaveTarget target = AnaglyphSaveTarget(dir + "2n2413l0m1-B30C16M50-01", kAnaglyphJpegFilter);
    EXPECT_TRUE(target.jpeg);
    EXPECT_EQ(target.path, dir + "2N2413L0M1-B30C16M50-01.jpg");
    // The ".jpeg" type, the bitmap type and "All" write bitmaps; a typed extension goes.
    for (const int filter : {1, 3, 4}) {
        target = AnaglyphSaveTarget(dir + "pair.jpeg", filter);
        EXPECT_FALSE(target.jpeg);
        EXPECT_EQ(target.path, dir + "PAIR.bmp");
    }
    EXPECT_STREQ(kAnaglyphSaveFilters[kAnaglyphJpegFilter - 1], "JPEG Image File (*.jpg)");
}

}  // namespace
}  // namespace kobrix
