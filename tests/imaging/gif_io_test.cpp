#include "imaging/gif_io.h"

#include <gtest/gtest.h>

#include <set>

#include "imaging/image_error.h"
#include "imaging/median_cut.h"
#include "tests/imaging/gif_builder.h"
#include "tests/imaging/magick.h"

namespace kobrix {
namespace {

using test::GifBuilder;
using test::GifFrameSpec;
using test::Rgb;

const Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kWhite{255, 255, 255};
const std::vector<Rgb> kTable{kBlack, kRed, kGreen, kBlue, kWhite};

Rgb At(const Bitmap24& b, int x, int y) {
    const std::uint8_t* p = b.Row(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

GifFrameSpec Solid(int left, int top, int width, int height, std::uint8_t index) {
    GifFrameSpec f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.indexes.assign(static_cast<std::size_t>(width) * height, index);
    return f;
}

Bitmap24 Gradient(int width, int height) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[2] = static_cast<std::uint8_t>(x * 255 / (width - 1));
            p[1] = static_cast<std::uint8_t>(y * 255 / (height - 1));
            p[0] = static_cast<std::uint8_t>((x + y) * 255 / (width + height - 2));
        }
    }
    return b;
}

TEST(GifWrite, PictureWithFewColoursComesBackExactly) {
    Bitmap24 picture(13, 7);  // odd width: rows are padded
    picture.Fill(10, 20, 30);
    for (int x = 0; x < 13; ++x) picture.Row(x % 7)[3 * x] = static_cast<std::uint8_t>(x * 19);
    const Bitmap24 back = DecodeGif(EncodeGif(picture), "t.gif");
    EXPECT_TRUE(back.SamePixels(picture));
    EXPECT_EQ(back.SourceFormat(), PixelFormat::Bits8);

    // 256 grey levels still fit the table exactly; the raw images are greyscale.
    Bitmap24 greys(256, 2);
    for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 2; ++y)
            std::fill_n(greys.Row(y) + 3 * x, 3, static_cast<std::uint8_t>(x));
    }
    EXPECT_TRUE(DecodeGif(EncodeGif(greys), "g.gif").SamePixels(greys));
}

TEST(GifWrite, PaletteFollowsTheColoursOfTheGradient) {
    const Bitmap24 picture = Gradient(256, 256);  // some 60000 colours
    const IndexedPicture indexed = QuantizeMedianCut(picture);
    EXPECT_EQ(indexed.palette.size(), 256u);
    const Bitmap24 back = DecodeGif(EncodeGif(picture), "gradient.gif");
    // 256 cells over this surface are some 16 x 16 pixels each, so about 4 levels off on
    // average is the best a palette without dithering can do; a fixed 6x6x6 cube is near 13.
    EXPECT_LT(test::MeanDifference(back, picture), 4.0);
    EXPECT_LE(test::MaxDifference(back, picture), 16);
}

TEST(GifWrite, ImageMagickReadsWhatWeWrite) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    const Bitmap24 picture = Gradient(61, 40);
    WriteGifFile(picture, dir / "ours.gif");
    const auto theirs = test::MagickPixels(dir / "ours.gif");
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(theirs->SamePixels(ReadGifFile(dir / "ours.gif")));
    EXPECT_EQ(test::Output("identify -format '%w %h %n' '" + (dir / "ours.gif") + "'"), "61 40 1");
}

TEST(GifWrite, EmptyPictureIsRefused) {
    EXPECT_THROW(EncodeGif(Bitmap24()), ImageError);
}

// Frame 1 fills the screen and stays; frame 2 is cleared to the background; frame 3 is
// undone (restore previous); frame 4 shows what the three disposals left.
TEST(GifAnimation, DisposalMethodsComposeFrames) {
    GifBuilder gif(6, 4, kTable, 0);
    GifFrameSpec f1 = Solid(0, 0, 6, 4, 1);
    f1.disposal = 1;
    f1.delay = 25;
    GifFrameSpec f2 = Solid(1, 1, 2, 2, 2);
    f2.disposal = 2;
    GifFrameSpec f3 = Solid(3, 1, 2, 2, 3);
    f3.disposal = 3;
    const GifAnimation a = DecodeGifAnimation(
        gif.Frame(f1).Frame(f2).Frame(f3).Frame(Solid(0, 0, 1, 1, 4)).Finish(), "anim.gif");
    ASSERT_EQ(a.frames.size(), 4u);
    EXPECT_EQ(a.width, 6);
    EXPECT_EQ(a.frames[0].delayMs, 250);
    EXPECT_EQ(At(a.frames[0].picture, 5, 3), kRed);
    EXPECT_EQ(At(a.frames[1].picture, 1, 1), kGreen);
    EXPECT_EQ(At(a.frames[1].picture, 0, 0), kRed);
    EXPECT_EQ(At(a.frames[2].picture, 2, 2), kBlack);  // frame 2 restored to background
    EXPECT_EQ(At(a.frames[2].picture, 4, 2), kBlue);
    EXPECT_EQ(At(a.frames[3].picture, 4, 2), kRed);  // frame 3 undone
    EXPECT_EQ(At(a.frames[3].picture, 1, 1), kBlack);
    EXPECT_EQ(At(a.frames[3].picture, 0, 0), kWhite);
    // The still picture is the first frame.
    EXPECT_TRUE(DecodeGif(gif.Finish(), "anim.gif").SamePixels(a.frames[0].picture));
}

TEST(GifAnimation, TransparentPixelsShowWhatIsBelow) {
    GifBuilder gif(3, 1, kTable, 2);  // background green
    GifFrameSpec first = Solid(0, 0, 3, 1, 1);
    first.indexes = {1, 4, 1};
    first.transparent = 1;
    GifFrameSpec second = Solid(0, 0, 3, 1, 3);
    second.indexes = {3, 3, 0};
    second.transparent = 0;
    const GifAnimation a = DecodeGifAnimation(gif.Frame(first).Frame(second).Finish(), "t.gif");
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(At(a.frames[0].picture, 0, 0), kGreen);
    EXPECT_EQ(At(a.frames[0].picture, 1, 0), kWhite);
    EXPECT_EQ(At(a.frames[1].picture, 0, 0), kBlue);
    EXPECT_EQ(At(a.frames[1].picture, 2, 0), kGreen);
}

TEST(GifAnimation, FramesOutsideTheScreenAreClipped) {
    GifBuilder gif(6, 4, kTable);
    gif.Frame(Solid(4, 2, 5, 5, 1))       // reaches past the right and bottom edges
        .Frame(Solid(300, 300, 9, 9, 2))  // entirely outside
        .Frame(Solid(0, 0, 1, 1, 3));     // still read after it
    const GifAnimation a = DecodeGifAnimation(gif.Finish(), "clip.gif");
    ASSERT_EQ(a.frames.size(), 3u);
    const Bitmap24& last = a.frames[2].picture;
    EXPECT_EQ(last.Width(), 6);
    EXPECT_EQ(At(last, 5, 3), kRed);
    EXPECT_EQ(At(last, 4, 2), kRed);
    EXPECT_EQ(At(last, 3, 3), kBlack);
    EXPECT_EQ(At(last, 0, 0), kBlue);
    EXPECT_TRUE(a.frames[1].picture.SamePixels(a.frames[0].picture));
}

TEST(GifStill, ColourTablesAndBadIndexes) {
    // Indexes past a four-entry table are black, not whatever lies after the table.
    GifFrameSpec f = Solid(0, 0, 4, 1, 0);
    f.indexes = {1, 3, 4, 200};
    EXPECT_EQ(
        At(DecodeGif(GifBuilder(4, 1, {kRed, kGreen, kBlue, kWhite}).Frame(f).Finish(), "a"), 3, 0),
        kBlack);
    // A local table wins over the global one.
    f.localTable = {kBlack, kBlue};
    f.indexes = {1, 1, 1, 1};
    EXPECT_EQ(At(DecodeGif(GifBuilder(4, 1, kTable).Frame(f).Finish(), "b"), 0, 0), kBlue);
    // No table at all: grey levels.
    f.localTable.clear();
    f.indexes = {7, 7, 7, 7};
    EXPECT_EQ(At(DecodeGif(GifBuilder(4, 1).Frame(f).Finish(), "c"), 2, 0), (Rgb{7, 7, 7}));
}

TEST(GifStill, InterlacedFrameMatchesTheSequentialOne) {
    GifFrameSpec f = Solid(0, 0, 3, 11, 0);  // 11 rows: all four passes have rows
    for (std::size_t i = 0; i < f.indexes.size(); ++i)
        f.indexes[i] = static_cast<std::uint8_t>(i % 5);
    const Bitmap24 plain = DecodeGif(GifBuilder(3, 11, kTable).Frame(f).Finish(), "p");
    f.interlaced = true;
    EXPECT_TRUE(DecodeGif(GifBuilder(3, 11, kTable).Frame(f).Finish(), "i").SamePixels(plain));
    EXPECT_EQ(At(plain, 1, 10), kRed);  // index 31 % 5
}

TEST(GifFiles, MadeByImageMagickMatchItsOwnReading) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    ASSERT_TRUE(test::Run("convert -size 37x29 gradient:red-blue -interlace GIF '" +
                          (dir / "interlaced.gif") + "'"));
    const auto theirs = test::MagickPixels(dir / "interlaced.gif");
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(ReadGifFile(dir / "interlaced.gif").SamePixels(*theirs));

    // Opaque frames with offsets, local colour tables and "none"/"previous" disposals.
    ASSERT_TRUE(
        test::Run("convert -delay 7 -dispose none -size 20x16 xc:red -dispose previous -size 6x5 "
                  "xc:blue -repage +3+2 -dispose none -size 4x4 xc:yellow -repage +14+10 -size 3x3 "
                  "gradient:lime-white -repage +1+12 '" +
                  (dir / "anim.gif") + "'"));
    ASSERT_TRUE(test::Run("convert '" + (dir / "anim.gif") + "' -coalesce '" +
                          (dir / "frame%d.ppm") + "'"));
    const GifAnimation ours = ReadGifAnimationFile(dir / "anim.gif");
    ASSERT_EQ(ours.frames.size(), 4u);
    for (std::size_t i = 0; i < ours.frames.size(); ++i) {
        const auto frame = test::MagickPixels(dir / ("frame" + std::to_string(i) + ".ppm"));
        ASSERT_TRUE(frame);
        EXPECT_TRUE(ours.frames[i].picture.SamePixels(*frame)) << "frame " << i;
        EXPECT_EQ(ours.frames[i].delayMs, 70);
    }
}

TEST(GifBadInput, IsRefusedWithTheFileName) {
    const std::vector<std::uint8_t> good =
        GifBuilder(4, 4, kTable).Frame(Solid(0, 0, 4, 4, 1)).Finish();
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"empty", {}},
        {"garbage", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"header only", {good.begin(), good.begin() + 13}},
        {"cut in the pixels", {good.begin(), good.end() - 8}},
        {"no frames", GifBuilder(4, 4, kTable).Finish()},
        {"zero screen", GifBuilder(0, 4, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish()},
        {"screen past the limit",
         GifBuilder(20000, 4, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish()},
    };
    for (const auto& [label, bytes] : cases) {
        for (int animated = 0; animated < 2; ++animated) {
            try {
                if (animated) {
                    DecodeGifAnimation(bytes, "bad.gif");
                } else {
                    DecodeGif(bytes, "bad.gif");
                }
                ADD_FAILURE() << label << " was accepted";
            } catch (const ImageError& e) {
                EXPECT_EQ(e.File(), "bad.gif") << label;
                EXPECT_FALSE(e.Problem().empty()) << label;
                if (label == "cut in the pixels") {
                    EXPECT_NE(e.Problem().find("cut short"), std::string::npos);
                }
            }
        }
    }
    // A missing trailer after complete frames loses nothing.
    GifBuilder noTrailer(4, 4, kTable);
    EXPECT_EQ(
        DecodeGifAnimation(noTrailer.Frame(Solid(0, 0, 4, 4, 1)).Finish(false), "n").frames.size(),
        1u);
    EXPECT_THROW(ReadGifFile("/nonexistent/x.gif"), ImageError);
}

TEST(GifBadInput, AnimationLimitsRefuseTheFile) {
    GifBuilder many(2, 2, kTable);
    for (int i = 0; i <= kMaxGifFrames; ++i) many.Frame(Solid(0, 0, 1, 1, 1));
    const std::vector<std::uint8_t> bytes = many.Finish();
    EXPECT_THROW(DecodeGifAnimation(bytes, "many.gif"), ImageError);
    EXPECT_NO_THROW(DecodeGif(bytes, "many.gif"));  // the still reads one frame only

    GifBuilder three(100, 100, kTable);
    for (int i = 0; i < 3; ++i) three.Frame(Solid(0, 0, 1, 1, 1));
    const std::vector<std::uint8_t> small = three.Finish();
    const std::size_t frameBytes = Bitmap24::StrideFor(100) * 100;
    EXPECT_EQ(DecodeGifAnimation(small, "s", {3, 3 * frameBytes}).frames.size(), 3u);
    EXPECT_THROW(DecodeGifAnimation(small, "s", {2, 3 * frameBytes}), ImageError);
    EXPECT_THROW(DecodeGifAnimation(small, "s", {3, 3 * frameBytes - 1}), ImageError);
    // One frame is always allowed, as for a still picture.
    EXPECT_EQ(DecodeGifAnimation(GifBuilder(100, 100, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish(),
                                 "one", {1, 1})
                  .frames.size(),
              1u);
}

}  // namespace
}  // namespace kobrix
