#include "imaging/bitmap24.h"

#include <gtest/gtest.h>

#include "imaging/image_error.h"

namespace kobrix {
namespace {

TEST(Bitmap24, RowsArePaddedToFourBytesAndTableFollowsResize) {
    Bitmap24 b(5, 3);
    EXPECT_EQ(b.Stride(), 16u);  // 15 bytes rounded up
    EXPECT_EQ(b.Row(2) - b.Row(0), 32);
    b.Resize(4, 2);
    EXPECT_EQ(b.Stride(), 12u);
    EXPECT_EQ(b.Row(1), b.Data() + 12);
}

TEST(Bitmap24, CopyOwnsItsPixelsAndMoveKeepsRows) {
    Bitmap24 a(3, 2);
    a.Fill(1, 2, 3);
    Bitmap24 copy(a);
    copy.Row(0)[0] = 99;
    EXPECT_EQ(a.Row(0)[0], 1);
    EXPECT_NE(copy.Row(1), a.Row(1));
    const std::uint8_t* before = a.Row(1);
    Bitmap24 moved(std::move(a));
    EXPECT_EQ(moved.Row(1), before);
    EXPECT_TRUE(a.Empty());
}

TEST(Bitmap24, RefusesNegativeAndHugeSizes) {
    Bitmap24 b;
    EXPECT_THROW(b.Resize(-1, 4), ImageError);
    EXPECT_THROW(b.Resize(kMaxImageSide + 1, 1), ImageError);
    EXPECT_NO_THROW(b.Resize(0, 0));
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap24, DepthNames) {
    EXPECT_EQ(PixelFormatName(PixelFormat::Bits15), "15 bit");
    EXPECT_EQ(PixelFormatName(PixelFormat::Device), "Device");
    EXPECT_EQ(PixelFormatName(PixelFormat::Unknown), "Unknown");
}

}  // namespace
}  // namespace kobrix
