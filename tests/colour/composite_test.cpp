#include "colour/composite.h"

#include <gtest/gtest.h>

namespace kobrix {
namespace {

Bitmap24 Band(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    Bitmap24 picture(width, height);
    picture.Fill(b, g, r);
    return picture;
}

TEST(Composite, ChannelsComeFromTheirBandsOverTheCommonArea) {
    Bitmap24 red = Band(1024, 1024, 10, 20, 30);  // a colour picture as the red band
    red.Row(5)[3 * 600] = 99;                     // outside the common area
    const Bitmap24 composite =
        StraightCombination(Band(1024, 1024, 40, 50, 60), Band(512, 1024, 70, 80, 90), red);
    EXPECT_EQ(composite.Width(), 512);
    EXPECT_EQ(composite.Height(), 1024);
    const std::uint8_t* p = composite.Row(1023) + 3 * 511;
    EXPECT_EQ(p[2], 10);  // red: the red band's blue byte
    EXPECT_EQ(p[1], 80);  // green: the green band's green byte
    EXPECT_EQ(p[0], 60);  // blue: the blue band's red byte
}

TEST(Composite, FilterTagsAndSaveNames) {
    FilterTags tags;
    UpdateFilterTags(tags, "2P241328935EFFAUCTP2582L6M1.jpg", "2P241328935EFFAUCTP2582L5M1.jpg",
                     "2P241328935EFFAUCTP2582L4M1.jpg", false);
    EXPECT_EQ(tags.tag, "-L4L5L6");
    // Automatic: nothing but the blue label changes until it reads L6.
    UpdateFilterTags(tags, "2P241328935EFFAUCTP2582L2M1.jpg", "short.jpg", "x", true);
    EXPECT_EQ(tags.blue, "L2");
    EXPECT_EQ(tags.green, "L5");
    EXPECT_EQ(tags.tag, "-L4L5L6");
    UpdateFilterTags(tags, "2P241328935EFFAUCTP2582L2M1.jpg", "short.jpg", "x", false);
    EXPECT_EQ(tags.tag, "-L2");  // short names give what there is

    const std::string base = "2P241328935EFFAUCTP2582L5M1";
    EXPECT_EQ(CompositeSaveName(base, "-L4L5L6", "-0", {}), base + "-L4L5L6-01");
    EXPECT_EQ(CompositeSaveName(base, "-L4L5L6", "-Inverted0", {base + "-l4l5l6-01.JPG"}),
              base + "-L4L5L6-Inverted02");
}

}  // namespace
}  // namespace kobrix
