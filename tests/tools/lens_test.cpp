#include "tools/core/lens.h"

#include <set>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

Bitmap24 White(int side) {
    Bitmap24 b(side, side);
    b.Fill(255, 255, 255);
    return b;
}

std::array<int, 3> At(const Bitmap24& b, int x, int y) {
    const std::uint8_t* p = b.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST(Lens, GeometryRaisesSmallRadiiAndRoundsHalfToEven) {
    const LensGeometry small = LensFor(10, 8);
    EXPECT_EQ(small.s, 2);
    EXPECT_EQ(small.R, 16);
    EXPECT_EQ(small.raisedRadius, 16);
    const LensGeometry usual = LensFor(150, 4);
    EXPECT_EQ(usual.s, 38);  // 37.5 to even
    EXPECT_EQ(usual.R, 152);
    EXPECT_FALSE(usual.raisedRadius);
}

TEST(Lens, SquareMagnifiesAndClipsAtTheEdge) {
    Bitmap24 source(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = source.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = 9;
        }
    }
    Bitmap24 view = source;
    DrawLens(source, view, 0, 0, LensFor(40, 4), 4, LensStyle{});  // at the corner
    EXPECT_EQ(At(view, 0, 0), At(source, 0, 0));
    EXPECT_EQ(At(view, 3, 3), At(source, 0, 0));  // one pixel becomes 4 x 4
    EXPECT_EQ(At(view, 4, 0), At(source, 1, 0));
    EXPECT_EQ(At(view, 39, 39), At(source, 9, 9));
    EXPECT_EQ(At(view, 42, 0), (std::array<int, 3>{0, 0, 255}));  // the red border
}

TEST(Lens, CircleLetsBlackShowThePictureBeneathAndHasARing) {
    Bitmap24 source = White(120);
    std::uint8_t* black = source.Row(60) + 3 * 60;
    black[0] = black[1] = black[2] = 0;
    Bitmap24 square = source, circle = source;
    DrawLens(source, square, 60, 60, LensFor(40, 4), 4, LensStyle{});
    LensStyle round;
    round.circle = true;
    DrawLens(source, circle, 60, 60, LensFor(40, 4), 4, round);
    EXPECT_EQ(At(square, 61, 61), (std::array<int, 3>{0, 0, 0}));         // magnified black
    EXPECT_EQ(At(circle, 61, 61), (std::array<int, 3>{255, 255, 255}));   // the picture beneath
    EXPECT_EQ(At(circle, 60 + 40, 60), (std::array<int, 3>{0, 0, 255}));  // the ring
    EXPECT_EQ(At(circle, 60 + 31, 60 + 31), (std::array<int, 3>{255, 255, 255}));  // outside
}

TEST(Lens, SquareBorderIsCentredOnItsFrameAndWidthZeroDrawsOnePixel) {
    const Bitmap24 source = White(120);
    const std::array<int, 3> red{0, 0, 255}, white{255, 255, 255};
    for (const int width : {0, 1}) {
        Bitmap24 view = source;
        LensStyle style;
        style.borderWidth = width;
        DrawLens(source, view, 60, 60, LensFor(40, 4), 4, style);  // R = 40: lens 20 to 99
        EXPECT_EQ(At(view, 19, 60), red) << width;
        EXPECT_EQ(At(view, 100, 60), red) << width;
        EXPECT_EQ(At(view, 60, 19), red) << width;
        EXPECT_EQ(At(view, 60, 100), red) << width;
        EXPECT_EQ(At(view, 18, 60), white) << width;
        EXPECT_EQ(At(view, 101, 60), white) << width;
        EXPECT_EQ(At(view, 101, 101), white) << width;
        EXPECT_EQ(At(view, 100, 100), red) << width;
    }
    // Width 5: three pixels show on each side, the rest lies under the lens.
    Bitmap24 view = source;
    DrawLens(source, view, 60, 60, LensFor(40, 4), 4, LensStyle{});
    for (const int x : {17, 18, 19, 100, 101, 102}) EXPECT_EQ(At(view, x, 60), red) << x;
    for (const int x : {16, 103}) EXPECT_EQ(At(view, x, 60), white) << x;
}

TEST(Lens, CircleSpreadsTheSquareOverTwoRPlusEightPixels) {
    // Each source column has its own blue; rows their own green.
    Bitmap24 source(120, 120);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            std::uint8_t* p = source.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(x + 1);
            p[1] = static_cast<std::uint8_t>(y + 1);
            p[2] = 7;
        }
    }
    LensStyle round;
    round.circle = true;
    round.border = false;
    Bitmap24 view = source;
    // s = 10, R = 40: source 50 to 69 over 88 pixels from 16; the disc covers 20 to 99.
    DrawLens(source, view, 60, 60, LensFor(40, 4), 4, round);
    EXPECT_EQ(At(view, 20, 60)[0], 50 + 1);       // 2 x 10 x 4 / 88 = 0
    EXPECT_EQ(At(view, 99, 60)[0], 50 + 18 + 1);  // 20 x 83 / 88 = 18; m pixels each gave 19
    EXPECT_EQ(At(view, 60, 99)[1], 50 + 18 + 1);
    EXPECT_EQ(At(view, 60, 60), At(source, 60, 60));  // the centre stays
    EXPECT_EQ(At(view, 19, 60), At(source, 19, 60));  // outside the disc
}

TEST(Lens, ReadoutTexts) {
    EXPECT_EQ(ColourName(255, 0, 0), "clRed");
    EXPECT_EQ(ColourName(192, 220, 192), "clMoneyGreen");
    EXPECT_EQ(ColourName(1, 2, 3), "$00030201");
    EXPECT_EQ(LocationText(12, 7, 255, 0, 0), "(X,Y) = (12, 7)     (R,G,B) = (255, 0, 0) = clRed");
    EXPECT_EQ(MagnifierAttributesText(512, 256, PixelFormat::Bits24),
              "512 by 256 pixels in 24 bit color");
    // Letterboxed: a 200 x 100 picture drawn 400 x 200 at (0, 100).
    EXPECT_EQ(PointerToBitmap(200, 150, true, {0, 100, 400, 200}, 200, 100), (std::pair{100, 25}));
    EXPECT_FALSE(PointerToBitmap(200, 50, true, {0, 100, 400, 200}, 200, 100));
    EXPECT_EQ(PointerToBitmap(5, 6, false, {}, 200, 100), (std::pair{5, 6}));
    // Enlarged: the last drawn column and row show the last pixel, and read it.
    EXPECT_EQ(PointerToBitmap(499, 499, true, {0, 0, 500, 500}, 100, 100), (std::pair{99, 99}));
    EXPECT_FALSE(PointerToBitmap(500, 10, true, {0, 0, 500, 500}, 100, 100));
}

TEST(Lens, SettingsAndClipboardNames) {
    const std::string ini = WithIniValue("[Other]\r\nA=1\r\n[Setup]\r\nDirectory=x\\\r\nB=2\r\n",
                                         "Setup", "Directory", "C:\\pics\\");
    EXPECT_EQ(ini, "[Other]\r\nA=1\r\n[Setup]\r\nDirectory=C:\\pics\\\r\nB=2\r\n");
    EXPECT_EQ(WithIniValue("", "Setup", "Directory", "d"), "[Setup]\r\nDirectory=d\r\n");

    std::set<std::string> taken{"SpiritPSol1295-21-35-01.bmp", "SpiritPSol1295-21-35-02.bmp"};
    const auto exists = [&](const std::string& n) { return taken.count(n) > 0; };
    EXPECT_EQ(ClipboardSaveName("Spirit", "P", "1295", "21", "35", exists),
              "SpiritPSol1295-21-35-03.bmp");
    for (int n = 3; n <= 9; ++n)
        taken.insert("SpiritPSol1295-21-35-0" + std::to_string(n) + ".bmp");
    EXPECT_EQ(ClipboardSaveName("Spirit", "P", "1295", "21", "35", exists),
              "SpiritPSol1295-21-35-010.bmp");
}

}  // namespace
}  // namespace kobrix
