#include "archive/display_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace kobrix {
namespace {

template <typename T>
SampleView View(const std::vector<T>& samples, SampleType type, int width, int height,
                int bands = 1) {
    return {type, width, height, bands, samples.data()};
}

// The grey of each pixel of a one-band picture, left to right, top to bottom.
std::vector<int> Greys(const Bitmap24& picture) {
    std::vector<int> greys;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint8_t* p = picture.Row(y) + 3 * x;
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2])
                << "pixel " << x << "," << y << " is not grey";
            greys.push_back(p[0]);
        }
    }
    return greys;
}

TEST(DisplayRule, EightBitSamplesAreShownAsTheyAre) {
    const std::vector<std::uint8_t> samples = {0, 7, 200, 255, 3, 3};
    const Bitmap24 picture = RenderDisplayPicture(View(samples, SampleType::UInt8, 3, 2));
    EXPECT_EQ(Greys(picture), (std::vector<int>{0, 7, 200, 255, 3, 3}));
    EXPECT_EQ(picture.SourceFormat(), PixelFormat::Bits8);
}

TEST(DisplayRule, StretchesIntegersAndRealsByTheRanksOfTheirSamples) {
    // Whole range (p = 0): lo 100, hi 500; 200 -> floor(63.75 + 0.5) = 64, 300 -> 128.
    const std::vector<std::uint16_t> four = {100, 200, 300, 500};
    EXPECT_EQ(Greys(RenderDisplayPicture(View(four, SampleType::UInt16, 2, 2), 0)),
              (std::vector<int>{0, 64, 128, 255}));

    // 201 samples 0..200 at 0.5 %: lo at rank floor(0.005 * 200) = 1, hi at rank
    // ceil(0.995 * 200) = 199, so 0 and 1 are black, 100 is floor(127.5 + 0.5) = 128.
    std::vector<std::uint16_t> ramp(201);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint16_t>(i);
    const StretchBounds bounds = DisplayBounds(View(ramp, SampleType::UInt16, 201, 1));
    EXPECT_EQ(bounds.lo, 1);
    EXPECT_EQ(bounds.hi, 199);
    const std::vector<int> greys =
        Greys(RenderDisplayPicture(View(ramp, SampleType::UInt16, 201, 1)));
    EXPECT_EQ(greys[0], 0);
    EXPECT_EQ(greys[1], 0);
    EXPECT_EQ(greys[100], 128);
    EXPECT_EQ(greys[199], 255);
    EXPECT_EQ(greys[200], 255);

    // Negative integers: lo -300, hi 100; -100 -> floor(127.5 + 0.5) = 128.
    const std::vector<std::int16_t> signedSamples = {-300, -100, 100};
    EXPECT_EQ(Greys(RenderDisplayPicture(View(signedSamples, SampleType::Int16, 3, 1), 0)),
              (std::vector<int>{0, 128, 255}));

    // Reals: NaN and infinities are black and take no rank; lo 1, hi 3 over the rest.
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> reals = {std::nanf(""), -inf, 1.0f, 2.0f, 3.0f, inf};
    EXPECT_EQ(DisplayBounds(View(reals, SampleType::Float32, 6, 1), 0).count, 3u);
    EXPECT_EQ(Greys(RenderDisplayPicture(View(reals, SampleType::Float32, 6, 1), 0)),
              (std::vector<int>{0, 0, 0, 128, 255, 0}));
}

TEST(DisplayRule, FlatOrEmptyBandsAreBlack) {
    const std::vector<std::int16_t> flat(6, 7);
    EXPECT_EQ(Greys(RenderDisplayPicture(View(flat, SampleType::Int16, 3, 2))),
              (std::vector<int>(6, 0)));
    const std::vector<double> nothing(4, std::nan(""));
    EXPECT_EQ(Greys(RenderDisplayPicture(View(nothing, SampleType::Float64, 2, 2))),
              (std::vector<int>(4, 0)));
}

TEST(DisplayRule, ThreeBandsShareOneStretchAsRedGreenAndBlue) {
    // Red 0, 10; green 20, 30; blue 40, 50: lo 0, hi 50 over all six.
    const std::vector<std::int16_t> bands = {0, 10, 20, 30, 40, 50};
    const Bitmap24 picture = RenderDisplayPicture(View(bands, SampleType::Int16, 2, 1, 3), 0);
    const std::uint8_t* row = picture.Row(0);
    // Blue, green, red in memory.
    EXPECT_EQ((std::vector<int>{row[0], row[1], row[2]}), (std::vector<int>{204, 102, 0}));
    EXPECT_EQ((std::vector<int>{row[3], row[4], row[5]}), (std::vector<int>{255, 153, 51}));
    EXPECT_EQ(picture.SourceFormat(), PixelFormat::Bits24);
}

TEST(DisplayRule, HistogramAndSelectionAgreeOnTheSameValues) {
    std::mt19937 random(26);
    std::uniform_int_distribution<int> value(0, 4095);
    const int width = 37;
    const int height = 29;
    std::vector<std::uint16_t> words;
    std::vector<std::int32_t> longs;
    std::vector<double> reals;
    for (int i = 0; i < width * height; ++i) {
        const int v = value(random);
        words.push_back(static_cast<std::uint16_t>(v));
        longs.push_back(v);
        reals.push_back(v);
    }
    for (const double p : {0.0, 0.005, 0.02, 0.499}) {
        const Bitmap24 a = RenderDisplayPicture(View(words, SampleType::UInt16, width, height), p);
        const Bitmap24 b = RenderDisplayPicture(View(longs, SampleType::Int32, width, height), p);
        const Bitmap24 c = RenderDisplayPicture(View(reals, SampleType::Float64, width, height), p);
        EXPECT_TRUE(a.SamePixels(b)) << "p = " << p;
        EXPECT_TRUE(a.SamePixels(c)) << "p = " << p;
    }
    // Signed words about zero, whose table is offset, against the same values as longs.
    std::vector<std::int16_t> signedWords;
    for (std::int32_t& v : longs) {
        v -= 2048;
        signedWords.push_back(static_cast<std::int16_t>(v));
    }
    for (const double p : {0.0, 0.005, 0.3}) {
        const Bitmap24 a =
            RenderDisplayPicture(View(signedWords, SampleType::Int16, width, height), p);
        const Bitmap24 b = RenderDisplayPicture(View(longs, SampleType::Int32, width, height), p);
        EXPECT_TRUE(a.SamePixels(b)) << "p = " << p;
    }
}

}  // namespace
}  // namespace kobrix
