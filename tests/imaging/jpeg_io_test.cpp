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

// Smooth shading with some texture and sharp edges, like a rover picture.
Bitmap24 Scene(int width, int height) {
    Bitmap24 b(width, height);
    unsigned noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) % 9) - 4;
            const int base = y < height / 3 ? 200 : 60 + (x * 120) / width;
            p[0] = static_cast<std::uint8_t>(std::clamp(base - 40 + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(base - 10 + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(base + 20 + grain, 0, 255));
        }
    }
    return b;
}

// Columns of pure red and pure cyan, one pixel wide: the edges of an anaglyph.
Bitmap24 RedCyanStripes(int width, int height) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const bool red = x % 2 == 0;
            p[0] = red ? 0 : 255;
            p[1] = red ? 0 : 255;
            p[2] = red ? 255 : 0;
        }
    }
    return b;
}

// Uses libjpeg directly; its default error handler is fine for files the test itself makes.
// Full-resolution chroma, quality 95.
std::vector<std::uint8_t> EncodeRaw(int width, int height, int components, J_COLOR_SPACE in,
                                    const std::vector<std::uint8_t>& samples,
                                    const std::vector<jpeg_scan_info>& script = {},
                                    bool adobeMarker = true) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = components;
    c.in_color_space = in;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, in == JCS_CMYK ? JCS_CMYK : in == JCS_RGB ? JCS_YCbCr : in);
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;  // 4:4:4
    c.write_Adobe_marker = adobeMarker && in == JCS_CMYK;
    jpeg_set_quality(&c, 95, TRUE);
    if (!script.empty()) {
        c.scan_info = script.data();
        c.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                       static_cast<std::size_t>(c.next_scanline) * width * components;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<std::uint8_t> RgbSamples(const Bitmap24& b) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint8_t* p = b.Row(y) + 3 * x;
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
    }
    return out;
}

// One scan per AC coefficient and component; with refinement scans twice as many.
std::vector<jpeg_scan_info> CoefficientByCoefficient(bool refine) {
    std::vector<jpeg_scan_info> script;
    script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int component = 0; component < 3; ++component) {
        for (int k = 1; k < 64; ++k) {
            script.push_back({1, {component, 0, 0, 0}, k, k, 0, refine ? 1 : 0});
            if (refine) script.push_back({1, {component, 0, 0, 0}, k, k, 1, 0});
        }
    }
    return script;
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

TEST(JpegWrite, RoundTripKeepsSizePaddingAndColour) {
    const Bitmap24 scene = Scene(37, 23);  // odd width: padded rows
    const Bitmap24 back = DecodeJpeg(EncodeJpeg(scene), "scene.jpg");
    EXPECT_EQ(back.Width(), 37);
    EXPECT_EQ(back.Height(), 23);
    EXPECT_EQ(back.SourceFormat(), PixelFormat::Bits24);
    EXPECT_LE(test::MaxDifference(back, scene), 4);
    // Full-resolution chroma: with 4:2:0 these columns would come back as grey mush.
    const Bitmap24 stripes = RedCyanStripes(32, 16);
    EXPECT_LE(test::MaxDifference(DecodeJpeg(EncodeJpeg(stripes), "s.jpg"), stripes), 12);
}

TEST(JpegWrite, ImageMagickSeesQuality100AndFullChroma) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    const Bitmap24 scene = Scene(64, 48);
    WriteJpegFile(scene, dir / "ours.jpg");
    EXPECT_EQ(
        test::Output("identify -format '%Q %[jpeg:sampling-factor]' '" + (dir / "ours.jpg") + "'"),
        "100 1x1,1x1,1x1");
    const auto theirs = test::MagickPixels(dir / "ours.jpg");
    ASSERT_TRUE(theirs);
    EXPECT_LE(test::MaxDifference(*theirs, ReadJpegFile(dir / "ours.jpg")), 2);
}

TEST(JpegWrite, EmptyPictureIsRefused) {
    EXPECT_THROW(EncodeJpeg(Bitmap24()), ImageError);
}

// Progressive, greyscale, the common samplings and an odd size: we read each as ImageMagick
// does.
TEST(JpegRead, FilesMadeByImageMagickMatchItsOwnReading) {
    KOBRIX_REQUIRE_IMAGEMAGICK();
    test::ScratchDir dir;
    ASSERT_TRUE(
        test::Run("convert -seed 7 -size 45x31 plasma:fractal '" + (dir / "source.png") + "'"));
    const struct {
        std::string name, options;
        PixelFormat format;
    } variants[] = {
        {"progressive", "-interlace JPEG -quality 90", PixelFormat::Bits24},
        {"grey", "-colorspace Gray -quality 90", PixelFormat::Bits8},
        {"420", "-sampling-factor 2x2 -quality 80", PixelFormat::Bits24},
        {"422", "-sampling-factor 2x1 -quality 80", PixelFormat::Bits24},
        {"411", "-sampling-factor 4x1 -quality 80", PixelFormat::Bits24},
        {"progressive-grey", "-interlace JPEG -colorspace Gray", PixelFormat::Bits8},
    };
    for (const auto& v : variants) {
        const std::string file = dir / (v.name + ".jpg");
        ASSERT_TRUE(
            test::Run("convert '" + (dir / "source.png") + "' " + v.options + " '" + file + "'"))
            << v.name;
        const Bitmap24 ours = ReadJpegFile(file);
        const auto theirs = test::MagickPixels(file);
        ASSERT_TRUE(theirs) << v.name;
        EXPECT_EQ(ours.Width(), 45) << v.name;
        EXPECT_LE(test::MaxDifference(ours, *theirs), 2) << v.name;
        EXPECT_EQ(ours.SourceFormat(), v.format) << v.name;
    }
}

TEST(JpegRead, ExifOrientationIsIgnored) {
    const std::vector<std::uint8_t> plain = EncodeJpeg(Scene(20, 10));
    // APP1 "Exif" with one tag: orientation 6 (rotate a quarter turn to show).
    const std::vector<std::uint8_t> exif = {
        0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
        1,    0,    0x12, 0x01, 3,   0,   1,   0,   0, 0, 6,   0,   0,    0, 0, 0, 0, 0};
    std::vector<std::uint8_t> rotated(plain.begin(), plain.begin() + 2);
    rotated.insert(rotated.end(), exif.begin(), exif.end());
    rotated.insert(rotated.end(), plain.begin() + 2, plain.end());
    const Bitmap24 picture = DecodeJpeg(rotated, "rotated.jpg");
    EXPECT_EQ(picture.Width(), 20);
    EXPECT_TRUE(picture.SamePixels(DecodeJpeg(plain, "plain.jpg")));
}

TEST(JpegRead, CmykAndYcckComeOutAsTheirColours) {
    // Red, green, blue, white as inks: C M Y K with 255 meaning full ink.
    const std::vector<std::uint8_t> inks = {0,   255, 255, 0, 255, 0, 255, 0,
                                            255, 255, 0,   0, 0,   0, 0,   0};
    std::vector<std::uint8_t> inverted(inks.size());
    for (std::size_t i = 0; i < inks.size(); ++i)
        inverted[i] = static_cast<std::uint8_t>(255 - inks[i]);
    Bitmap24 expected(4, 1);
    const std::uint8_t bgr[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    std::memcpy(expected.Row(0), bgr, sizeof bgr);

    // Adobe's convention (inverted, with its marker) and plain ink values without it.
    const Bitmap24 adobe = DecodeJpeg(EncodeRaw(4, 1, 4, JCS_CMYK, inverted), "adobe.jpg");
    EXPECT_LE(test::MaxDifference(adobe, expected), 8);
    EXPECT_EQ(adobe.SourceFormat(), PixelFormat::Bits24);
    const Bitmap24 plain = DecodeJpeg(EncodeRaw(4, 1, 4, JCS_CMYK, inks, {}, false), "plain.jpg");
    EXPECT_LE(test::MaxDifference(plain, expected), 8);

    if (!test::HaveImageMagick()) return;
    test::ScratchDir dir;
    ASSERT_TRUE(
        test::Run("convert -size 8x8 xc:red xc:lime xc:blue xc:white +append -colorspace CMYK '" +
                  (dir / "ycck.jpg") + "'"));
    const Bitmap24 ycck = ReadJpegFile(dir / "ycck.jpg");
    ASSERT_EQ(ycck.Width(), 32);
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t* p = ycck.Row(4) + 3 * (8 * i + 4);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], bgr[3 * i + c], 8) << "patch " << i;
    }
}

TEST(JpegRead, ScanLimitAllowsRealFilesAndRefusesFloods) {
    const Bitmap24 scene = Scene(16, 16);
    const std::vector<std::uint8_t> samples = RgbSamples(scene);
    const auto fine = CoefficientByCoefficient(false);  // 190 scans
    ASSERT_LT(static_cast<int>(fine.size()), kMaxJpegScans);
    EXPECT_LE(
        test::MaxDifference(DecodeJpeg(EncodeRaw(16, 16, 3, JCS_RGB, samples, fine), "f"), scene),
        8);
    const auto flood = CoefficientByCoefficient(true);  // 379 scans
    ASSERT_GT(static_cast<int>(flood.size()), kMaxJpegScans);
    EXPECT_NE(ProblemOf(EncodeRaw(16, 16, 3, JCS_RGB, samples, flood)).find("scans"),
              std::string::npos);
}

TEST(JpegRead, MissingEndMarkerLosesNothingInASingleScan) {
    const std::vector<std::uint8_t> good = EncodeJpeg(Scene(64, 40));
    const Bitmap24 whole = DecodeJpeg(good, "whole.jpg");
    EXPECT_TRUE(DecodeJpeg({good.begin(), good.end() - 2}, "no-eoi.jpg").SamePixels(whole));
    // With several scans an early end looks like the last scan: it is refused.
    const Bitmap24 scene = Scene(16, 16);
    const auto progressive =
        EncodeRaw(16, 16, 3, JCS_RGB, RgbSamples(scene), CoefficientByCoefficient(false));
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < progressive.size(); ++i) {
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) lastScan = i;
    }
    EXPECT_NE(ProblemOf({progressive.begin(), progressive.begin() + lastScan}).find("cut short"),
              std::string::npos);
}

// The frame header's height and width, in a file we wrote (baseline, one SOF0).
void SetDeclaredSize(std::vector<std::uint8_t>& jpeg, int width, int height) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return;
        }
    }
    FAIL() << "no SOF0";
}

TEST(JpegBadInput, IsRefusedWithTheFileNameAndReason) {
    const std::vector<std::uint8_t> good = EncodeJpeg(Scene(64, 64));
    EXPECT_NE(ProblemOf({}).find("empty"), std::string::npos);
    EXPECT_NE(ProblemOf({'B', 'M', 0, 0, 0, 0}).find("Not a JPEG"), std::string::npos);
    EXPECT_NE(ProblemOf({good.begin(), good.begin() + 40}), "accepted");  // inside the tables
    EXPECT_NE(ProblemOf({good.begin(), good.begin() + good.size() / 2}).find("cut short"),
              std::string::npos);
    EXPECT_NE(ProblemOf({good.begin(), good.end() - 4}).find("cut short"), std::string::npos);
    // Cut short and closed with an EOI marker: the picture data is still missing.
    std::vector<std::uint8_t> patched(good.begin(), good.begin() + good.size() / 2);
    patched.insert(patched.end(), {0xFF, 0xD9});
    EXPECT_NE(ProblemOf(patched).find("cut short"), std::string::npos);

    // Declared sizes past the limits are refused before anything is allocated or decoded.
    for (const auto& [w, h] :
         {std::pair{65000, 65000}, {kMaxImageSide + 1, 8}, {8, kMaxImageSide + 1}}) {
        std::vector<std::uint8_t> huge = good;
        SetDeclaredSize(huge, w, h);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(ProblemOf(huge).find("limit"), std::string::npos) << w << " x " << h;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    // A progressive file keeps every coefficient: 16384 x 16384 at full chroma needs 1.5 GiB.
    std::vector<std::uint8_t> progressive =
        EncodeRaw(16, 16, 3, JCS_RGB, RgbSamples(Scene(16, 16)), CoefficientByCoefficient(false));
    for (std::size_t i = 0; i + 9 < progressive.size(); ++i) {
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xC2) {
            progressive[i + 5] = progressive[i + 7] = 0x40;  // 0x4000 = 16384
            progressive[i + 6] = progressive[i + 8] = 0;
            break;
        }
    }
    EXPECT_NE(ProblemOf(progressive).find("working memory"), std::string::npos);

    std::vector<std::uint8_t> zero = good;
    SetDeclaredSize(zero, 0, 64);
    EXPECT_NE(ProblemOf(zero), "accepted");

    try {
        ReadJpegFile("/nonexistent/picture.jpg");
        ADD_FAILURE();
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), "/nonexistent/picture.jpg");
    }
}

}  // namespace
}  // namespace kobrix
