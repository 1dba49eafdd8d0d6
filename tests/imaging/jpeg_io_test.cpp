#include "imaging/jpeg_io.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

// For files our encoder would never write (scan scripts, plain CMYK); after <cstdio>.
#include <jpeglib.h>

#include "imaging/image_error.h"
#include "tests/imaging/magick.h"

namespace kobrix {
namespace {

// Shading with grain; with `stripes`, one-pixel columns of pure red and cyan instead (the
// edges of an anaglyph).
Bitmap24 Scene(int width, int height, bool stripes = false) {
    Bitmap24 b(width, height);
    unsigned noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            noise = noise * 1103515245u + 12345u;
            const int v = (y < height / 3 ? 190 : 60 + x * 120 / width) + int(noise >> 16) % 9;
            const bool red = x % 2 == 0;
            p[0] = static_cast<std::uint8_t>(stripes ? (red ? 0 : 255) : v - 40);
            p[1] = static_cast<std::uint8_t>(stripes ? (red ? 0 : 255) : v - 10);
            p[2] = static_cast<std::uint8_t>(stripes ? (red ? 255 : 0) : v + 20);
        }
    }
    return b;
}

// libjpeg directly (its default error handler is fine for files the test makes): 4:4:4,
// quality 95, an optional scan script, CMYK with or without the Adobe marker.
std::vector<std::uint8_t> EncodeRaw(int width, int height, J_COLOR_SPACE space,
                                    const std::vector<std::uint8_t>& samples,
                                    const std::vector<jpeg_scan_info>& script = {},
                                    bool adobeMarker = true, bool arithmetic = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = space == JCS_CMYK ? 4 : 3;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    if (space == JCS_CMYK) jpeg_set_colorspace(&c, JCS_CMYK);  // not the default YCCK
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
    c.write_Adobe_marker = adobeMarker && space == JCS_CMYK;
    jpeg_set_quality(&c, 95, TRUE);
    c.arith_code = arithmetic ? TRUE : FALSE;
    c.scan_info = script.empty() ? nullptr : script.data();
    c.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                       std::size_t{c.next_scanline} * width * c.input_components;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// A progressive 16 x 16 file with one scan per AC coefficient and component (190 scans);
// with refinement scans twice as many.
std::vector<std::uint8_t> ManyScans(bool refine) {
    std::vector<jpeg_scan_info> script{{3, {0, 1, 2, 0}, 0, 0, 0, 0}};
    for (int component = 0; component < 3; ++component) {
        for (int k = 1; k < 64; ++k) {
            script.push_back({1, {component, 0, 0, 0}, k, k, 0, refine ? 1 : 0});
            if (refine) script.push_back({1, {component, 0, 0, 0}, k, k, 1, 0});
        }
    }
    std::vector<std::uint8_t> samples(16 * 16 * 3);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::uint8_t(i * 37 % 251);
    return EncodeRaw(16, 16, JCS_RGB, samples, script);
}

std::string ProblemOf(const std::vector<std::uint8_t>& bytes) {
    try {
        DecodeJpeg(bytes, "bad.jpg");
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), "bad.jpg");
        return e.Problem();
    }
    return "accepted";
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Width and height in the frame header (SOF0 or SOF2) of a file.
void SetDeclaredSize(std::vector<std::uint8_t>& jpeg, int width, int height) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            const std::uint8_t size[] = {std::uint8_t(height >> 8), std::uint8_t(height),
                                         std::uint8_t(width >> 8), std::uint8_t(width)};
            std::memcpy(&jpeg[i + 5], size, 4);
            return;
        }
    }
    FAIL() << "no frame header";
}

TEST(JpegWrite, RoundTripKeepsSizeAndColourAtFullChroma) {
    const Bitmap24 scene = Scene(37, 23);  // odd width: padded rows
    const Bitmap24 back = DecodeJpeg(EncodeJpeg(scene), "scene.jpg");
    EXPECT_EQ(back.SourceFormat(), PixelFormat::Bits24);
    EXPECT_LE(test::MaxDifference(back, scene), 4);
    // With 4:2:0 these columns come back off by 180.
    const Bitmap24 stripes = Scene(32, 16, true);
    EXPECT_LE(test::MaxDifference(DecodeJpeg(EncodeJpeg(stripes), "s.jpg"), stripes), 12);
    EXPECT_THROW(EncodeJpeg(Bitmap24()), ImageError);
}

TEST(JpegWrite, ImageMagickSeesQuality100AndFullChroma) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    WriteJpegFile(Scene(64, 48), dir / "ours.jpg");
    EXPECT_EQ(test::Output("identify -format '%Q %[jpeg:sampling-factor]' " + (dir / "ours.jpg")),
              "100 1x1,1x1,1x1");
    const auto theirs = test::MagickPixels(dir / "ours.jpg");
    ASSERT_TRUE(theirs);
    EXPECT_LE(test::MaxDifference(*theirs, ReadJpegFile(dir / "ours.jpg")), 2);
}

TEST(JpegRead, FilesMadeByImageMagickMatchItsOwnReading) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    const std::string source = dir / "source.png";
    ASSERT_TRUE(test::Run("convert -seed 7 -size 45x31 plasma:fractal " + source));
    const std::pair<std::string, PixelFormat> variants[] = {
        {"-interlace JPEG -quality 90", PixelFormat::Bits24},
        {"-colorspace Gray -quality 90", PixelFormat::Bits8},
        {"-interlace JPEG -colorspace Gray", PixelFormat::Bits8},
        {"-sampling-factor 2x2 -quality 80", PixelFormat::Bits24},
        {"-sampling-factor 2x1 -quality 80", PixelFormat::Bits24},
        {"-sampling-factor 4x1 -quality 80", PixelFormat::Bits24},
    };
    for (const auto& [options, format] : variants) {
        const std::string file = dir / "variant.jpg";
        ASSERT_TRUE(test::Run("convert " + source + " " + options + " " + file)) << options;
        const Bitmap24 ours = ReadJpegFile(file);
        const auto theirs = test::MagickPixels(file);
        ASSERT_TRUE(theirs) << options;
        EXPECT_LE(test::MaxDifference(ours, *theirs), 2) << options;
        EXPECT_EQ(ours.SourceFormat(), format) << options;
    }
}

TEST(JpegRead, CmykAndYcckComeOutAsTheirColours) {
    // Red, green, blue, white as C M Y K inks, 255 meaning full ink.
    const std::vector<std::uint8_t> inks = {0,   255, 255, 0, 255, 0, 255, 0,
                                            255, 255, 0,   0, 0,   0, 0,   0};
    std::vector<std::uint8_t> inverted(inks.size());
    for (std::size_t i = 0; i < inks.size(); ++i) inverted[i] = std::uint8_t(255 - inks[i]);
    const std::uint8_t bgr[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    Bitmap24 expected(4, 1);
    std::memcpy(expected.Row(0), bgr, sizeof bgr);
    // Adobe's convention (inverted, with its marker) and plain ink values without it.
    const Bitmap24 adobe = DecodeJpeg(EncodeRaw(4, 1, JCS_CMYK, inverted), "adobe.jpg");
    EXPECT_LE(test::MaxDifference(adobe, expected), 8);
    EXPECT_EQ(adobe.SourceFormat(), PixelFormat::Bits24);
    const Bitmap24 plain = DecodeJpeg(EncodeRaw(4, 1, JCS_CMYK, inks, {}, false), "plain.jpg");
    EXPECT_LE(test::MaxDifference(plain, expected), 8);

    if (!test::HaveImageMagick()) return;
    test::ScratchDir dir;  // ImageMagick writes CMYK as YCCK
    ASSERT_TRUE(
        test::Run("convert -size 8x8 xc:red xc:lime xc:blue xc:white +append "
                  "-colorspace CMYK " +
                  (dir / "ycck.jpg")));
    const Bitmap24 ycck = ReadJpegFile(dir / "ycck.jpg");
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(ycck.Row(4)[3 * (8 * (i / 3) + 4) + i % 3], bgr[i], 8);
}

TEST(JpegBadInput, ScanFloodIsRefusedAndRealProgressionIsNot) {
    EXPECT_NO_THROW(DecodeJpeg(ManyScans(false), "190 scans"));
    EXPECT_PRED2(Has, ProblemOf(ManyScans(true)), "more than 256 scans");
}

TEST(JpegBadInput, CutShortIsRefusedButAMissingEndMarkerIsNot) {
    const std::vector<std::uint8_t> good = EncodeJpeg(Scene(64, 64));
    EXPECT_TRUE(
        DecodeJpeg({good.begin(), good.end() - 2}, "no EOI").SamePixels(DecodeJpeg(good, "whole")));
    EXPECT_PRED2(Has, ProblemOf({good.begin(), good.end() - 4}), "cut short");
    EXPECT_PRED2(Has, ProblemOf({good.begin(), good.begin() + good.size() / 2}), "cut short");
    EXPECT_NE(ProblemOf({good.begin(), good.begin() + 40}), "accepted");  // inside the tables
    std::vector<std::uint8_t> closed(good.begin(), good.begin() + good.size() / 2);
    closed.insert(closed.end(), {0xFF, 0xD9});  // cut and closed with EOI: data still missing
    EXPECT_PRED2(Has, ProblemOf(closed), "cut short");
    // With several scans an early end looks like the last scan, so it is refused too.
    const std::vector<std::uint8_t> progressive = ManyScans(false);
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < progressive.size(); ++i) {
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) lastScan = i;
    }
    EXPECT_PRED2(Has, ProblemOf({progressive.begin(), progressive.begin() + lastScan}),
                 "cut short");
}

TEST(JpegBadInput, CutShortArithmeticCodingIsRefusedToo) {
    // The arithmetic decoder feeds zeros after the end instead of warning of missing bits.
    std::vector<std::uint8_t> samples(512 * 512 * 3);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 7 % 251);
    const std::vector<std::uint8_t> good = EncodeRaw(512, 512, JCS_RGB, samples, {}, true, true);
    EXPECT_EQ(DecodeJpeg(good, "whole").Width(), 512);
    EXPECT_PRED2(Has, ProblemOf({good.begin(), good.begin() + good.size() / 10}), "cut short");
    EXPECT_PRED2(Has, ProblemOf({good.begin(), good.begin() + good.size() / 2}), "cut short");
}

TEST(JpegBadInput, SizesPastTheLimitsAreRefusedBeforeDecoding) {
    const std::vector<std::uint8_t> good = EncodeJpeg(Scene(64, 64));
    for (const auto& [w, h] : {std::pair{65000, 65000}, {kMaxImageSide + 1, 8}, {8, 20000}}) {
        std::vector<std::uint8_t> huge = good;
        SetDeclaredSize(huge, w, h);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_PRED2(Has, ProblemOf(huge), "limit");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    // Allowed as a picture, but a progressive file keeps every coefficient: 1.5 GiB here.
    std::vector<std::uint8_t> progressive = ManyScans(false);
    SetDeclaredSize(progressive, kMaxImageSide, kMaxImageSide);
    EXPECT_PRED2(Has, ProblemOf(progressive), "working memory");
    std::vector<std::uint8_t> zero = good;
    SetDeclaredSize(zero, 0, 64);
    EXPECT_NE(ProblemOf(zero), "accepted");
}

TEST(JpegBadInput, EmptyGarbageAndMissingFilesNameTheFile) {
    EXPECT_PRED2(Has, ProblemOf({}), "empty");
    EXPECT_PRED2(Has, ProblemOf({'B', 'M', 0, 0, 0, 0}), "Not a JPEG");
    try {
        ReadJpegFile("/nonexistent/picture.jpg");
        ADD_FAILURE();
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), "/nonexistent/picture.jpg");
    }
}

}  // namespace
}  // namespace kobrix
