#include "imaging/gif_io.h"

#include <gtest/gtest.h>

#include "imaging/image_error.h"
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
    f.indexes.assign(std::size_t(width) * height, index);
    return f;
}

// Red across, green down, blue along the diagonal: some 60000 colours at 256 x 256.
Bitmap24 Gradient(int width, int height) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = b.Row(y) + 3 * x;
            p[2] = std::uint8_t(x * 255 / (width - 1));
            p[1] = std::uint8_t(y * 255 / (height - 1));
            p[0] = std::uint8_t((x + y) * 255 / (width + height - 2));
        }
    }
    return b;
}

TEST(GifWrite, FewColoursAreExactAndManyAreClose) {
    Bitmap24 greys(255, 3);  // 256 levels (with the fill) fit the table; odd width pads rows
    greys.Fill(255, 255, 255);
    for (int x = 0; x < 255; ++x) std::fill_n(greys.Row(x % 3) + 3 * x, 3, std::uint8_t(x));
    const Bitmap24 back = DecodeGif(EncodeGif(greys), "g.gif");
    EXPECT_TRUE(back.SamePixels(greys));
    EXPECT_EQ(back.SourceFormat(), PixelFormat::Bits8);

    // 256 cells over this surface are some 16 x 16 pixels each, so about 4 levels off on
    // average is the best a palette without dithering can do; a fixed 6x6x6 cube is near 13.
    const Bitmap24 gradient = Gradient(256, 256);
    const Bitmap24 quantized = DecodeGif(EncodeGif(gradient), "gradient.gif");
    EXPECT_LT(test::MeanDifference(quantized, gradient), 4.0);
    EXPECT_LE(test::MaxDifference(quantized, gradient), 16);
    EXPECT_THROW(EncodeGif(Bitmap24()), ImageError);
}

TEST(GifWrite, ImageMagickReadsWhatWeWrite) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    WriteGifFile(Gradient(61, 40), dir / "ours.gif");
    const auto theirs = test::MagickPixels(dir / "ours.gif");
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(theirs->SamePixels(ReadGifFile(dir / "ours.gif")));
    EXPECT_EQ(test::Output("identify -format '%w %h %n' " + (dir / "ours.gif")), "61 40 1");
}

// Frame 1 fills the screen and stays; frame 2 is cleared to the background; frame 3 is
// undone (restore previous); frame 4 shows what the three disposals left.
TEST(GifAnimation, DisposalMethodsComposeFrames) {
    GifFrameSpec f1 = Solid(0, 0, 6, 4, 1), f2 = Solid(1, 1, 2, 2, 2), f3 = Solid(3, 1, 2, 2, 3);
    f1.disposal = 1;
    f1.delay = 25;
    f2.disposal = 2;
    f3.disposal = 3;
    GifBuilder gif(6, 4, kTable, 0);
    const std::vector<std::uint8_t> bytes =
        gif.Frame(f1).Frame(f2).Frame(f3).Frame(Solid(0, 0, 1, 1, 4)).Finish();
    const GifAnimation a = DecodeGifAnimation(bytes, "anim.gif");
    ASSERT_EQ(a.frames.size(), 4u);
    EXPECT_EQ(a.width, 6);
    EXPECT_EQ(a.frames[0].delayMs, 250);
    EXPECT_EQ(At(a.frames[0].picture, 5, 3), kRed);
    EXPECT_EQ(At(a.frames[1].picture, 1, 1), kGreen);
    EXPECT_EQ(At(a.frames[2].picture, 2, 2), kBlack);  // frame 2 cleared to background
    EXPECT_EQ(At(a.frames[2].picture, 4, 2), kBlue);
    EXPECT_EQ(At(a.frames[3].picture, 4, 2), kRed);  // frame 3 undone
    EXPECT_EQ(At(a.frames[3].picture, 1, 1), kBlack);
    EXPECT_EQ(At(a.frames[3].picture, 0, 0), kWhite);
    EXPECT_TRUE(DecodeGif(bytes, "anim.gif").SamePixels(a.frames[0].picture));
}

TEST(GifAnimation, TransparencyShowsWhatIsBelowAndFramesAreClipped) {
    GifFrameSpec first = Solid(0, 0, 3, 1, 1), second = Solid(0, 0, 3, 1, 3);
    first.indexes = {1, 4, 1};
    first.transparent = 1;
    second.indexes = {3, 3, 0};
    second.transparent = 0;
    GifBuilder gif(3, 2, kTable, 2);  // background green
    gif.Frame(first).Frame(second).Frame(Solid(2, 1, 5, 5, 1)).Frame(Solid(300, 300, 9, 9, 4));
    const GifAnimation a = DecodeGifAnimation(gif.Frame(Solid(0, 1, 1, 1, 4)).Finish(), "t.gif");
    ASSERT_EQ(a.frames.size(), 5u);
    EXPECT_EQ(At(a.frames[0].picture, 0, 0), kGreen);
    EXPECT_EQ(At(a.frames[0].picture, 1, 0), kWhite);
    EXPECT_EQ(At(a.frames[1].picture, 0, 0), kBlue);
    EXPECT_EQ(At(a.frames[1].picture, 2, 0), kGreen);
    // A frame reaching past the edges is cut to the screen; one wholly outside draws nothing
    // and what follows it is still read.
    EXPECT_EQ(At(a.frames[2].picture, 2, 1), kRed);
    EXPECT_EQ(At(a.frames[2].picture, 1, 1), kGreen);
    EXPECT_TRUE(a.frames[3].picture.SamePixels(a.frames[2].picture));
    EXPECT_EQ(At(a.frames[4].picture, 0, 1), kWhite);
}

TEST(GifStill, ColourTablesAndBadIndexes) {
    GifFrameSpec f = Solid(0, 0, 4, 1, 0);
    f.indexes = {1, 3, 4, 200};  // past a four-entry table: black, not what lies after it
    EXPECT_EQ(
        At(DecodeGif(GifBuilder(4, 1, {kRed, kGreen, kBlue, kWhite}).Frame(f).Finish(), "a"), 3, 0),
        kBlack);
    f.localTable = {kBlack, kBlue};  // a local table wins over the global one
    f.indexes = {1, 1, 1, 1};
    EXPECT_EQ(At(DecodeGif(GifBuilder(4, 1, kTable).Frame(f).Finish(), "b"), 0, 0), kBlue);
    f.localTable.clear();  // no table at all: grey levels
    f.indexes = {7, 7, 7, 7};
    EXPECT_EQ(At(DecodeGif(GifBuilder(4, 1).Frame(f).Finish(), "c"), 2, 0), (Rgb{7, 7, 7}));
}

TEST(GifStill, InterlacedFrameMatchesTheSequentialOne) {
    GifFrameSpec f = Solid(0, 0, 3, 11, 0);  // 11 rows: every pass has rows
    for (std::size_t i = 0; i < f.indexes.size(); ++i) f.indexes[i] = std::uint8_t(i / 3 % 5);
    const Bitmap24 plain = DecodeGif(GifBuilder(3, 11, kTable).Frame(f).Finish(), "p");
    f.interlaced = true;
    EXPECT_TRUE(DecodeGif(GifBuilder(3, 11, kTable).Frame(f).Finish(), "i").SamePixels(plain));
    EXPECT_EQ(At(plain, 0, 10), kBlack);  // row 10: index 0
    EXPECT_EQ(At(plain, 0, 9), kWhite);
}

// Interlacing, offsets, local colour tables and "none"/"previous" disposals as ImageMagick
// writes them, against its own reading (opaque frames, so both agree on what to show).
TEST(GifFiles, MadeByImageMagickMatchItsOwnReading) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    ASSERT_TRUE(test::Run("convert -size 37x29 gradient:red-blue -interlace GIF " +
                          (dir / "interlaced.gif")));
    const auto theirs = test::MagickPixels(dir / "interlaced.gif");
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(ReadGifFile(dir / "interlaced.gif").SamePixels(*theirs));

    ASSERT_TRUE(test::Run(
        "convert -delay 7 -dispose none -size 20x16 xc:red -dispose previous -size 6x5 xc:blue "
        "-repage +3+2 -dispose none -size 4x4 xc:yellow -repage +14+10 -size 3x3 "
        "gradient:lime-white -repage +1+12 " +
        (dir / "anim.gif") + " && convert " + (dir / "anim.gif") + " -coalesce " +
        (dir / "frame%d.ppm")));
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
    const std::pair<std::string, std::vector<std::uint8_t>> cases[] = {
        {"empty", {}},
        {"garbage", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"header only", {good.begin(), good.begin() + 13}},
        {"cut short", {good.begin(), good.end() - 8}},
        {"no frames", GifBuilder(4, 4, kTable).Finish()},
        {"zero screen", GifBuilder(0, 4, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish()},
        {"limit", GifBuilder(20000, 4, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish()},
    };
    for (const auto& [label, bytes] : cases) {
        for (const bool animated : {false, true}) {
            try {
                animated ? void(DecodeGifAnimation(bytes, "bad.gif"))
                         : void(DecodeGif(bytes, "bad.gif"));
                ADD_FAILURE() << label << " was accepted";
            } catch (const ImageError& e) {
                EXPECT_EQ(e.File(), "bad.gif") << label;
                if (label == "cut short" || label == "limit") {
                    EXPECT_NE(e.Problem().find(label), std::string::npos) << e.Problem();
                }
            }
        }
    }
    // Without the trailer the animation may have lost frames; the still needs only the first.
    const std::vector<std::uint8_t> noTrailer(good.begin(), good.end() - 1);
    EXPECT_THROW(DecodeGifAnimation(noTrailer, "n"), ImageError);
    EXPECT_NO_THROW(DecodeGif(noTrailer, "n"));
    EXPECT_THROW(ReadGifFile("/nonexistent/x.gif"), ImageError);
}

TEST(GifBadInput, AnimationLimitsRefuseTheFile) {
    GifBuilder many(2, 2, kTable);
    for (int i = 0; i <= kMaxGifFrames; ++i) many.Frame(Solid(0, 0, 1, 1, 1));
    EXPECT_THROW(DecodeGifAnimation(many.Finish(), "many.gif"), ImageError);

    GifBuilder three(100, 100, kTable);
    for (int i = 0; i < 3; ++i) three.Frame(Solid(0, 0, 1, 1, 1));
    const std::vector<std::uint8_t> small = three.Finish();
    const std::size_t frame = Bitmap24::StrideFor(100) * 100;
    EXPECT_EQ(DecodeGifAnimation(small, "s", {3, 3 * frame}).frames.size(), 3u);
    EXPECT_THROW(DecodeGifAnimation(small, "s", {2, 3 * frame}), ImageError);
    EXPECT_THROW(DecodeGifAnimation(small, "s", {3, 3 * frame - 1}), ImageError);
    // The first frame counts too.
    EXPECT_THROW(
        DecodeGifAnimation(GifBuilder(100, 100, kTable).Frame(Solid(0, 0, 1, 1, 1)).Finish(), "one",
                           {1, 1}),
        ImageError);
}

TEST(GifBadInput, HugeScreensAndFramesTheirDataCannotFillTakeNoMemory) {
    // A 16384 x 16384 screen with one 1 x 1 frame: the picture is the part the frame draws.
    const std::vector<std::uint8_t> dot =
        GifBuilder(16384, 16384, kTable).Frame(Solid(5, 7, 1, 1, 1)).Finish();
    const Bitmap24 still = DecodeGif(dot, "dot.gif");
    EXPECT_EQ(still.Width(), 1);
    EXPECT_EQ(still.Height(), 1);
    EXPECT_EQ(CountGifFrames(dot), 1);
    // Within the limit the screen stays whole, background included.
    EXPECT_EQ(
        DecodeGif(GifBuilder(4096, 4096, kTable).Frame(Solid(5, 7, 1, 1, 1)).Finish(), "s").Width(),
        4096);

    // A frame declared 16384 x 16384 with a few bytes of data is refused before decoding.
    std::vector<std::uint8_t> lie = {'G',  'I',  'F', '8', '9',  'a',  0x00, 0x40, 0x00,
                                     0x40, 0x80, 0,   0,   0,    0,    0,    0xFF, 0xFF,
                                     0xFF, ',',  0,   0,   0,    0,    0x00, 0x40, 0x00,
                                     0x40, 0,    2,   2,   0x4C, 0x01, 0,    ';'};
    try {
        DecodeGif(lie, "lie.gif");
        ADD_FAILURE() << "accepted";
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("too short for its 16384 x 16384 pixels"),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace kobrix
