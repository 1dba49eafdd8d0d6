#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/bmp_io.h"
#include "imaging/image_error.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

std::uint32_t Le32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Bitmap24 Pattern(int width, int height) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 7 + y);
            p[1] = static_cast<std::uint8_t>(y * 13);
            p[2] = static_cast<std::uint8_t>(255 - x - y);
        }
    }
    return b;
}

TEST(BmpWrite, InfoHeaderBottomUpWithImageSizeAndZeroPadding) {
    Bitmap24 b = Pattern(5, 3);
    for (int y = 0; y < 3; ++y) b.Row(y)[15] = 0xAA;  // garbage in the row padding
    const std::vector<std::uint8_t> file = EncodeBmp(b);

    const std::uint32_t stride = 16;
    ASSERT_EQ(file.size(), 54 + 3 * stride);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32At(file, 2), file.size());
    EXPECT_EQ(Le32At(file, 10), 54u);
    EXPECT_EQ(Le32At(file, 14), 40u);
    EXPECT_EQ(Le32At(file, 18), 5u);
    EXPECT_EQ(Le32At(file, 22), 3u);  // positive: bottom-up
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(Le32At(file, 30), 0u);
    EXPECT_EQ(Le32At(file, 34), 3 * stride);  // the movie writer's per-frame byte count
    EXPECT_EQ(Le32At(file, 38), 2835u);
    EXPECT_EQ(Le32At(file, 46), 0u);

    // First stored row is the bottom one; padding is zero whatever the bitmap held there.
    EXPECT_EQ(file[54], b.Row(2)[0]);
    EXPECT_EQ(file[54 + stride + 2], b.Row(1)[2]);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(file[54 + r * stride + 15], 0) << r;
}

TEST(BmpWrite, RoundTripsEveryPaddingAndTheFileMatchesTheEncoding) {
    test::ScratchDir dir;
    for (int width = 1; width <= 8; ++width) {
        SCOPED_TRACE(width);
        const Bitmap24 b = Pattern(width, 3);
        const std::vector<std::uint8_t> encoded = EncodeBmp(b);
        const Bitmap24 back = DecodeBmp(encoded, "x.bmp");
        EXPECT_TRUE(back.SamePixels(b));
        EXPECT_EQ(back.SourceFormat(), PixelFormat::Bits24);

        const std::string path = dir / "w.bmp";
        WriteBmpFile(b, path);
        EXPECT_EQ(test::ReadBytes(path), encoded);
        EXPECT_TRUE(ReadBmpFile(path).SamePixels(b));
    }
}

TEST(BmpWrite, EmptyPictureIsRefused) {
    test::ScratchDir dir;
    EXPECT_THROW(EncodeBmp(Bitmap24()), ImageError);
    EXPECT_THROW(WriteBmpFile(Bitmap24(0, 4), (dir / "e.bmp")), ImageError);
    EXPECT_TRUE(test::Names(dir).empty());
}

TEST(BmpWrite, FailedWriteNamesTheFileAndKeepsWhatWasThere) {
    test::ScratchDir dir;
    const Bitmap24 b = Pattern(4, 4);
    const std::string missing = dir / "no/such/dir/x.bmp";
    try {
        WriteBmpFile(b, missing);
        ADD_FAILURE();
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), missing);
    }

    // A directory in the way: the write fails at the last step and leaves no temporary file.
    std::filesystem::create_directory((dir / "taken.bmp"));
    EXPECT_THROW(WriteBmpFile(b, (dir / "taken.bmp")), ImageError);
    EXPECT_EQ(test::Names(dir), std::vector<std::string>{"taken.bmp"});

    // Overwriting replaces the old picture completely.
    const std::string path = dir / "over.bmp";
    WriteBmpFile(Pattern(9, 9), path);
    WriteBmpFile(b, path);
    EXPECT_TRUE(ReadBmpFile(path).SamePixels(b));
    EXPECT_EQ(test::Names(dir).size(), 2u);
}

TEST(BmpWrite, ReplacingKeepsModeLinksAndRefusesReadOnlyTargets) {
    test::ScratchDir dir;
    const Bitmap24 b = Pattern(4, 4);
    namespace fs = std::filesystem;

    // A private picture stays private.
    const std::string secret = dir / "secret.bmp";
    WriteBmpFile(Pattern(9, 9), secret);
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteBmpFile(b, secret);
    EXPECT_EQ(fs::status(secret).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A link stays a link; the file it names gets the picture.
    const std::string link = dir / "link.bmp";
    fs::create_symlink("secret.bmp", link);
    WriteBmpFile(Pattern(5, 5), link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBmpFile(secret).Width(), 5);

    // A read-only picture is not replaced, even by a user who could.
    const std::string kept = dir / "kept.bmp";
    WriteBmpFile(Pattern(9, 9), kept);
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        WriteBmpFile(b, kept);
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadBmpFile(kept).Width(), 9);

    // The longest name a directory holds is writable: the temporary name is short.
    const std::string longest = dir / (std::string(251, 'L') + ".bmp");
    WriteBmpFile(b, longest);
    EXPECT_TRUE(ReadBmpFile(longest).SamePixels(b));
    EXPECT_EQ(test::Names(dir).size(), 4u);  // nothing else left behind
}

}  // namespace
}  // namespace kobrix
