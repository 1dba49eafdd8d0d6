#include "colour/core/sunset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace kobrix {
namespace {

TEST(Sunset, EachChannelFallsOneAPassDownToBlack) {
    Bitmap24 picture(2, 2);
    picture.Fill(30, 200, 90);
    for (int pass = 0; pass < 30; ++pass) SunsetPass(picture);
    const std::uint8_t* p = picture.Row(1) + 3;
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 170);
    EXPECT_EQ(p[2], 60);
    for (int pass = 30; pass < 200; ++pass) SunsetPass(picture);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i], 0);
}

// Rows of 2 and of 1 pixels carry 2 and 1 filler bytes; a one-row picture has no second row
// to measure its row length against.
TEST(Sunset, FillerBytesFadeToo) {
    for (const auto& [width, height] : {std::pair{2, 3}, {1, 1}}) {
        Bitmap24 picture(width, height);
        for (int y = 0; y < height; ++y) std::fill_n(picture.Row(y), picture.Stride(), 7);
        SunsetPass(picture);
        for (int y = 0; y < height; ++y) {
            for (std::size_t i = 0; i < picture.Stride(); ++i) {
                EXPECT_EQ(picture.Row(y)[i], 6) << width << " x " << height << " byte " << i;
            }
        }
    }
}

TEST(Sunset, ManyPassesAtOnceEqualPassesOneByOne) {
    Bitmap24 start(7, 5);
    std::mt19937 random(4);
    for (int y = 0; y < 5; ++y) {
        for (std::size_t i = 0; i < start.Stride(); ++i) {
            start.Row(y)[i] = static_cast<std::uint8_t>(random());
        }
    }
    for (const int passes : {-3, 0, 1, 77, 255, 256, 100000}) {
        Bitmap24 stepped(start), swept(start);
        for (int pass = 0; pass < std::min(passes, 256); ++pass) SunsetPass(stepped);
        SunsetPasses(swept, passes);
        EXPECT_EQ(std::memcmp(stepped.Data(), swept.Data(), start.SizeBytes()), 0) << passes;
    }
}

}  // namespace
}  // namespace kobrix
