#include "imaging/image_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "imaging/bmp_io.h"
#include "imaging/gif_io.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bitmap24 Pattern() {
    Bitmap24 b(6, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            std::uint8_t* p = b.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(40 * x);
            p[1] = static_cast<std::uint8_t>(60 * y);
            p[2] = 128;
        }
    }
    return b;
}

// Expects an ImageError naming `file` whose problem contains `part`.
template <typename Call>
void ExpectError(Call call, const std::string& file, const std::string& part) {
    try {
        call();
        ADD_FAILURE() << "no error for " << file;
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), file);
        EXPECT_NE(e.Problem().find(part), std::string::npos) << e.Problem();
    }
}

TEST(ImageFile, JpegExtensionIgnoresCaseButNotTheRestOfTheName) {
    for (const char* yes : {"a.jpg", "B.JPG", "c.JpEg", "dir/x.jpeg", "C:\\MER\\2P.JPG", ".jpg"}) {
        EXPECT_TRUE(HasJpegExtension(yes)) << yes;
    }
    for (const char* no :
         {"a.jpe", "a.jpg.bmp", "a.jpgx", "noext", "dir.jpg/file", "dir.jpg\\file", ""}) {
        EXPECT_FALSE(HasJpegExtension(no)) << no;
    }
}

TEST(ImageFile, KindsForReadingAndWriting) {
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    const Bytes bmp = {'B', 'M', 0, 0};
    EXPECT_EQ(PictureKindOf("x.GIF", {}), PictureKind::Gif);
    EXPECT_EQ(PictureKindOf("x.bmp", gif), PictureKind::Gif);   // the signature decides
    EXPECT_EQ(PictureKindOf("x.JPG", gif), PictureKind::Jpeg);  // the extension wins for JPEG
    EXPECT_EQ(PictureKindOf("x.dat", bmp), PictureKind::Bmp);
    EXPECT_EQ(PictureKindOf("x", {}), PictureKind::Bmp);

    EXPECT_EQ(WritableKindOf("a.BMP"), PictureKind::Bmp);
    EXPECT_EQ(WritableKindOf("a.gif"), PictureKind::Gif);
    EXPECT_EQ(WritableKindOf("a.Jpeg"), PictureKind::Jpeg);
    EXPECT_EQ(WritableKindOf("a.png"), std::nullopt);
    EXPECT_EQ(WritableKindOf("a.bmp/noext"), std::nullopt);
}

TEST(ImageFile, ReadWholeFileRefusesBeforeReading) {
    test::ScratchDir dir;
    const std::string missing = dir / "missing.bmp";
    ExpectError([&] { ReadWholeFile(missing); }, missing, "file not found");
    const std::string folder = dir / "folder.bmp";
    std::filesystem::create_directory(folder);
    ExpectError([&] { ReadWholeFile(folder); }, folder, "is a directory");
    ExpectError([] { ReadWholeFile("/dev/null"); }, "/dev/null", "not a regular file");

    const std::string ten = test::Put(dir, "ten.bin", Bytes(10, 7));
    ExpectError([&] { ReadWholeFile(ten, 9); }, ten, "10 bytes is larger than the limit of 9");
    EXPECT_EQ(ReadWholeFile(ten, 10), Bytes(10, 7));
    EXPECT_TRUE(ReadWholeFile(test::Put(dir, "empty.bin", {})).empty());

    if (::geteuid() != 0) {  // root reads anything
        std::filesystem::permissions(ten, std::filesystem::perms::none);
        ExpectError([&] { ReadWholeFile(ten); }, ten, "cannot open the file");
    }
}

TEST(ImageFile, ReadersDispatchByExtensionAndGifSignature) {
    test::ScratchDir dir;
    const Bitmap24 picture = Pattern();
    const std::string bmpAsDat = test::Put(dir, "picture.dat", EncodeBmp(picture));
    const std::string gif = test::Put(dir, "anim.gif", EncodeGif(picture));
    const std::string gifAsBmp = test::Put(dir, "gif.bmp", EncodeGif(picture));
    const std::string jpeg = test::Put(dir, "photo.JPEG", EncodeJpeg(picture));
    const std::string jpegAsBmp = test::Put(dir, "jpeg.bmp", EncodeJpeg(picture));

    EXPECT_TRUE(ReadJpegOrBmp(bmpAsDat).SamePixels(picture));
    EXPECT_EQ(ReadJpegOrBmp(jpeg).Width(), 6);
    ExpectError([&] { ReadJpegOrBmp(gif); }, gif, "not a BMP file");

    EXPECT_TRUE(ReadAnyPicture(bmpAsDat).SamePixels(picture));
    EXPECT_EQ(ReadAnyPicture(jpeg).Height(), 4);
    EXPECT_EQ(ReadAnyPicture(gif).Width(), 6);
    EXPECT_EQ(ReadAnyPicture(gifAsBmp).Width(), 6);
    ExpectError([&] { ReadAnyPicture(jpegAsBmp); }, jpegAsBmp, "not a BMP file");
    ExpectError([&] { ReadAnyPicture((dir / "none.gif")); }, (dir / "none.gif"), "file not found");
}

TEST(ImageFile, WritePictureByExtensionPicksTheWriter) {
    test::ScratchDir dir;
    const Bitmap24 picture = Pattern();
    struct Case {
        const char* name;
        Bytes magic;
    };
    for (const Case& c :
         {Case{"a.bmp", {'B', 'M'}}, Case{"b.BMP", {'B', 'M'}}, Case{"c.gif", {'G', 'I', 'F', '8'}},
          Case{"d.jpg", {0xFF, 0xD8}}, Case{"e.JPEG", {0xFF, 0xD8}}}) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir / c.name);
        WritePictureByExtension(picture, path);
        const Bytes bytes = test::ReadBytes(path);
        ASSERT_GE(bytes.size(), c.magic.size());
        EXPECT_TRUE(std::equal(c.magic.begin(), c.magic.end(), bytes.begin()));
        EXPECT_EQ(ReadAnyPicture(path).Width(), 6);
    }
    const std::string png = dir / "f.png";
    ExpectError([&] { WritePictureByExtension(picture, png); }, png,
                "unknown picture type \".png\"");
    const std::string bare = dir / "noext";
    ExpectError([&] { WritePictureByExtension(picture, bare); }, bare, "no file extension");
    EXPECT_EQ(test::Names(dir).size(), 5u);
}

}  // namespace
}  // namespace kobrix
