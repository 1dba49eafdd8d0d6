#include "cli/image_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "imaging/bmp_io.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/bmp_builder.h"
#include "tests/imaging/gif_builder.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix::cli {
namespace {

Bitmap24 Grey(int width, int height) {
    Bitmap24 b(width, height);
    b.Fill(90, 90, 90);
    return b;
}

std::vector<std::uint8_t> TwoFrameGif() {
    test::GifFrameSpec frame;
    frame.width = 3;
    frame.height = 2;
    frame.indexes = {0, 1, 0, 1, 0, 1};
    frame.delay = 10;
    return test::GifBuilder(3, 2, {{0, 0, 0}, {255, 255, 255}}).Frame(frame).Frame(frame).Finish();
}

using Output = testing::CommandOutput;

Output Info(const std::vector<std::string>& files) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunInfoCommand(files, out, err); });
}

Output Convert(const std::string& in, const std::string& outPath) {
    return testing::Captured([&](std::ostream& out, std::ostream& err) {
        return RunConvertCommand(in, outPath, out, err);
    });
}

TEST(InfoCommand, DescribesEachFileAndReportsTheUnreadable) {
    test::ScratchDir dir;
    const std::string bmp8 = test::Put(dir, "2P241328935EFFAUCTP2582L5M1.bmp",
                                       test::BuildBmp({.width = 2,
                                                       .height = 1,
                                                       .bitCount = 8,
                                                       .palette = {{1, 2, 3}},
                                                       .pixels = {0, 0, 0, 0}}));
    const std::string bmp24 = dir / "plain.bmp";
    WriteBmpFile(Grey(5, 3), bmp24);
    const std::string gif = test::Put(dir, "anim.gif", TwoFrameGif());
    const std::string jpeg = dir / "photo.jpg";
    WriteJpegFile(Grey(8, 8), jpeg);
    const std::string text = test::Put(dir, "notes.txt", {'h', 'i', '\n'});
    const std::string missing = dir / "missing.jpg";

    const Output r = Info({bmp8, bmp24, gif, text, jpeg, missing});
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, bmp8 + ": 2 x 1 pixels, 8 bit");
    std::getline(lines, line);
    EXPECT_EQ(line, bmp24 + ": 5 x 3 pixels, 24 bit");
    std::getline(lines, line);
    EXPECT_EQ(line.rfind(gif + ": 3 x 2 pixels, ", 0), 0u) << line;
    EXPECT_NE(line.find(", 2 frames"), std::string::npos) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind(jpeg + ": 8 x 8 pixels, ", 0), 0u) << line;
    EXPECT_FALSE(std::getline(lines, line));

    EXPECT_NE(r.err.find(text + ": not a BMP file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(missing + ": file not found"), std::string::npos) << r.err;

    EXPECT_EQ(Info({bmp24}).status, 0);
    EXPECT_EQ(Info({}).status, 2);
}

TEST(ConvertCommand, WritesByTheOutputExtension) {
    test::ScratchDir dir;
    const std::string source = test::Put(dir, "anim.gif", TwoFrameGif());
    const std::string bmp = dir / "first-frame.BMP";
    const Output r = Convert(source, bmp);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, source + " -> " + bmp + " (3 x 2 pixels)\n");
    const Bitmap24 frame = ReadBmpFile(bmp);
    EXPECT_EQ(frame.Row(0)[3], 255);  // second pixel of the first row is white

    const std::string jpeg = dir / "again.jpeg";
    EXPECT_EQ(Convert(bmp, jpeg).status, 0);
    EXPECT_EQ(ReadAnyPicture(jpeg).Width(), 3);
}

TEST(ConvertCommand, UsageAndFileErrors) {
    test::ScratchDir dir;
    const std::string source = dir / "in.bmp";
    WriteBmpFile(Grey(2, 2), source);

    // The output type is checked first: a missing input does not hide the usage error.
    Output r = Convert((dir / "missing.bmp"), (dir / "out.png"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("out.png"), std::string::npos) << r.err;

    r = Convert((dir / "missing.bmp"), (dir / "out.bmp"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.bmp: file not found"), std::string::npos) << r.err;

    const std::string unwritable = dir / "no/such/dir/out.bmp";
    r = Convert(source, unwritable);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(unwritable), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace kobrix::cli
