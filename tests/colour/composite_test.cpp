#include "colour/core/composite.h"

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

TEST(Composite, MixturesAtTheirWeights) {
    const Bitmap24 red = Band(8, 6, 200, 200, 200);
    const Bitmap24 green = Band(7, 6, 100, 100, 100);
    const Bitmap24 blue = Band(8, 5, 50, 50, 50);
    EXPECT_EQ(MixtureWeight(50), 128);
    EXPECT_EQ(MixtureWeight(70), 179);
    const Bitmap24 redMix = Mixture(red, green, 70);
    EXPECT_EQ(redMix.Width(), 7);
    EXPECT_EQ(redMix.Row(5)[20], 169);
    const Bitmap24 blueMix = Mixture(blue, green, 70);
    EXPECT_EQ(blueMix.Height(), 5);
    EXPECT_EQ(blueMix.Row(4)[0], 65);
    EXPECT_TRUE(Mixture(blue, green, 0).SamePixels(Band(7, 5, 100, 100, 100)));
    EXPECT_TRUE(Mixture(blue, green, 100).SamePixels(Band(7, 5, 50, 50, 50)));
}

TEST(Composite, InvertAndSolarize) {
    Bitmap24 picture = Band(3, 1, 0, 200, 100);
    const Bitmap24 negative = Inverted(picture);
    EXPECT_EQ(negative.Row(0)[0], 255);
    EXPECT_EQ(negative.Row(0)[1], 55);
    const Bitmap24 quarter = Solarized(picture, 25);
    EXPECT_EQ(quarter.Row(0)[1], 8);
    EXPECT_EQ(quarter.Row(0)[2], 164);
    EXPECT_EQ(Solarized(picture, 50).Row(0)[1], 72);
    EXPECT_TRUE(Solarized(picture, 0).SamePixels(picture));
    EXPECT_TRUE(Solarized(picture, 100).SamePixels(picture));
}

TEST(Composite, BandPicksPresetNamesAndTags) {
    const auto picks = PickBands("L", "5", TickedBand::Red);
    EXPECT_TRUE(picks.green && picks.red && !picks.blue);
    EXPECT_FALSE(PickBands("R", "4", TickedBand::None).red);
    EXPECT_TRUE(PickBands("R", "4", TickedBand::Blue).blue);
    EXPECT_EQ(PresetBandName("2P241328935EFFAUCTP2582L", '6', ".JPG"),
              "2P241328935EFFAUCTP2582L6M1.JPG");
    FilterTags tags{"L6", "L5", "L4", "-L4L5L6"};
    EXPECT_EQ(Mer2RgbTag(tags), "-L4L5L5L5L6");
    EXPECT_EQ(CompositeMiddle(true, true), "-Inverted0");
    EXPECT_EQ(CompositeMiddle(false, true), "-Solarized0");
}

}  // namespace
}  // namespace kobrix
