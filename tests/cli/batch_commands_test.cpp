#include "cli/batch_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "archive/archive_file.h"
#include "batch/batch_run.h"
#include "batch/cross_eyed.h"
#include "colour/core/anaglyph.h"
#include "colour/core/composite.h"
#include "imaging/bmp_io.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"
#include "tests/archive/archive_builder.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/temp_dir.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::cli {
namespace {

constexpr const char* kExposure = "2P241328935EFFAUCTP2582";

using Output = testing::CommandOutput;

Output Command(bool pairs, std::vector<std::string> args) {
    const testing::FakeTimeZone zone;
    std::ostringstream out, err;
    const BatchConsole console{2, false};
    const int status = pairs ? RunPairsCommand(args, zone, console, out, err)
                             : RunColourCommand(args, zone, console, out, err);
    return {status, out.str(), err.str()};
}

// A picture with a gradient, so that the eyes and the bands tell apart.
Bitmap24 Gradient(int width, int height, int seed) {
    Bitmap24 picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            picture.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13 + seed * 41);
        }
    }
    return picture;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PairsCommand, MakesEveryPairAndReportsTheRest) {
    test::ScratchDir in, outDir;
    const std::string out = outDir / "made";
    const auto jpeg = [&](const std::string& name, int seed) {
        WriteJpegFile(Gradient(16, 12, seed), in / name);
    };
    jpeg(std::string(kExposure) + "L5M1.jpg", 1);  // pair in ".jpg"
    jpeg(std::string(kExposure) + "R5M1.jpg", 2);
    jpeg("2N241329000EFFAUCTP2582L0M1.JPG", 3);  // pair in ".JPG"
    jpeg("2N241329000EFFAUCTP2582R0M1.JPG", 4);
    jpeg("1M241329100EFFAUCTP2582M1M1.jpg", 5);  // monoscopic
    jpeg("2P241329200EFFAUCTP2582L2M1.jpg", 6);  // lone left eye
    jpeg("2P241329300EFFAUCTP2582L7M1.jpg", 7);  // damaged right eye
    std::ofstream(in / "2P241329300EFFAUCTP2582R7M1.jpg") << "not a picture";

    Output r = Command(true, {in / "", "-o", out, "--format", "bmp"});
    EXPECT_EQ(r.status, 1);
    const std::string first = out + "/" + kExposure + "L5M1-B30C16M50-01.bmp";
    const std::string second = out + "/2N241329000EFFAUCTP2582L0M1-B30C16M50-01.bmp";
    EXPECT_EQ(test::Names(outDir), std::vector<std::string>{"made"});
    ASSERT_TRUE(std::filesystem::exists(first)) << r.out << r.err;
    ASSERT_TRUE(std::filesystem::exists(second)) << r.out << r.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);  // no leftovers
    // Right eye as image 1, left eye as image 2, as the anaglyph maker renders them.
    const Bitmap24 expected = RenderAnaglyph(
        Separate(ReadJpegFile(in / (std::string(kExposure) + "R5M1.jpg")), Separation::Cyan),
        Separate(ReadJpegFile(in / (std::string(kExposure) + "L5M1.jpg")), Separation::Red),
        AnaglyphSettings{});
    EXPECT_TRUE(ReadBmpFile(first).SamePixels(expected));
    EXPECT_NE(r.err.find("2 made, 0 skipped, 1 failed, 2 without partners"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("failed: " + out + "/2P241329300EFFAUCTP2582L7M1-B30C16M50-01.bmp: " +
                         (in / "2P241329300EFFAUCTP2582R7M1.jpg")),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("1M241329100EFFAUCTP2582M1M1.jpg: monoscopic image"), std::string::npos);
    EXPECT_NE(r.err.find("no right eye (2P241329200EFFAUCTP2582R2M1.jpg)"), std::string::npos);

    // Made pairs are skipped the next time, and made again over the old file when forced.
    std::filesystem::remove(in / "2P241329300EFFAUCTP2582R7M1.jpg");
    r = Command(true, {in / "", "-o", out, "--format=bmp", "--jobs", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(first + ": already made, skipped"), std::string::npos) << r.out;
    std::filesystem::resize_file(first, 10);
    r = Command(true, {in / "", "-o", out, "--format", "bmp", "--force"});
    EXPECT_TRUE(ReadBmpFile(first).SamePixels(expected)) << r.err;

    EXPECT_EQ(Command(true, {in / "", "--merge", "101"}).status, 2);
    EXPECT_EQ(Command(true, {in / "", "--format", "gif"}).status, 2);
    EXPECT_EQ(Command(true, {outDir / "missing"}).status, 2);
}

TEST(PairsCommand, OneAndTwoThreadsWriteTheSameFiles) {
    test::ScratchDir in, out;
    for (int i = 0; i < 6; ++i) {
        const std::string clock = std::to_string(241328935 + i);
        WriteJpegFile(Gradient(40 + i, 30, i), in / ("2P" + clock + "EFFAUCTP2582L5M1.jpg"));
        WriteJpegFile(Gradient(40, 30 + i, i + 9), in / ("2P" + clock + "EFFAUCTP2582R5M1.jpg"));
    }
    const Output one = Command(true, {in / "", "-o", out / "one", "--jobs", "1", "--cross-eyed"});
    const Output two = Command(true, {in / "", "-o", out / "two", "--jobs", "2", "--cross-eyed"});
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    std::string listed = one.out;
    for (std::size_t at; (at = listed.find(out / "one")) != std::string::npos;) {
        listed.replace(at, (out / "one").size(), out / "two");
    }
    EXPECT_EQ(listed, two.out);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out / "one")) {
        const std::string name = entry.path().filename().string();
        EXPECT_NE(name.find("-XEYED-01.jpg"), std::string::npos);
        EXPECT_EQ(Bytes(entry.path().string()), Bytes(out / ("two/" + name))) << name;
        ++files;
    }
    EXPECT_EQ(files, 6);
}

// An archive picture of the rover's own: 8-bit samples of a gradient, shown as they are.
test::ArchiveLayout ArchiveGradient(int seed) {
    test::ArchiveLayout layout;
    layout.width = 16;
    layout.height = 12;
    layout.bits = 8;
    for (int i = 0; i < layout.width * layout.height; ++i) {
        layout.samples.push_back((i * 5 + seed * 37) % 256);
    }
    layout.extraLabel = test::kFactLines;
    return layout;
}

TEST(PairsCommand, ArchivePartnersPairAsTheStereoViewerFindsThem) {
    RegisterArchiveReader();
    test::ScratchDir tmp;
    std::filesystem::create_directories(tmp / "Rover pictures/sol 241");
    const std::string in = tmp / "Rover pictures/sol 241";
    const std::string out = tmp / "made";
    const std::string left = std::string(kExposure) + "L5M1";
    const std::string right = std::string(kExposure) + "R5M1";
    // The left eye raw beside its label, the right eye with its label inside and its
    // extension in small letters, as copies from other systems have it.
    test::ScratchDir written;
    test::DetachedPds3(written, left + ".LBL", left + ".IMG", ArchiveGradient(1));
    for (const std::string& name : {left + ".LBL", left + ".IMG"}) {
        std::filesystem::rename(written / name, in + "/" + name);
    }
    test::WriteBytes(in + "/" + right + ".img", test::AttachedPds3(ArchiveGradient(2), false));
    WriteJpegFile(Gradient(16, 12, 3), in + "/2N241329000EFFAUCTP2582L0M1.jpg");
    WriteJpegFile(Gradient(16, 12, 4), in + "/2N241329000EFFAUCTP2582R0M1.jpg");

    Output r = Command(true, {in, "-o", out, "--format", "bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The label is no lone eye of its own.
    EXPECT_NE(r.err.find("2 made, 0 skipped, 0 failed\n"), std::string::npos) << r.err;
    const Bitmap24 rightPicture = ReadArchivePicture(in + "/" + right + ".img");
    const Bitmap24 leftPicture = ReadArchivePicture(in + "/" + left + ".IMG");
    const Bitmap24 expected =
        RenderAnaglyph(Separate(rightPicture, Separation::Cyan),
                       Separate(leftPicture, Separation::Red), AnaglyphSettings{});
    EXPECT_TRUE(ReadBmpFile(out + "/" + left + "-B30C16M50-01.bmp").SamePixels(expected));
    EXPECT_TRUE(std::filesystem::exists(out + "/2N241329000EFFAUCTP2582L0M1-B30C16M50-01.bmp"));

    // Side by side, still a picture file.
    r = Command(true, {in, "-o", out, "--cross-eyed", "--format", "bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    Bitmap24 joined;
    JoinCrossEyed(rightPicture, leftPicture, joined);
    EXPECT_TRUE(ReadBmpFile(out + "/" + left + "-XEYED-01.bmp").SamePixels(joined));
    r = Command(true, {in, "-o", tmp / "as jpeg", "--cross-eyed"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadJpegFile(tmp / ("as jpeg/" + left + "-XEYED-01.jpg")).Width(), 32);
    // The user's files are as they were.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(in), {}), 5);
}

TEST(CrossEyed, RightEyeLeftAndTheLowerPictureCentredOnBlack) {
    Bitmap24 right(3, 2), left(2, 5), joined;
    right.Fill(10, 20, 30);
    left.Fill(40, 50, 60);
    JoinCrossEyed(right, left, joined);
    ASSERT_EQ(joined.Width(), 5);
    ASSERT_EQ(joined.Height(), 5);
    const auto at = [&](int x, int y) { return joined.Row(y)[3 * x]; };
    for (int y = 0; y < 5; ++y) {
        const bool band = y == 1 || y == 2;  // (5 - 2) / 2 rows above
        EXPECT_EQ(at(0, y), band ? 10 : 0) << y;
        EXPECT_EQ(at(2, y), band ? 10 : 0) << y;
        EXPECT_EQ(at(3, y), 40) << y;
        EXPECT_EQ(at(4, y), 40) << y;
    }
}

TEST(ColourCommand, CompositesEachFilterSetUnderTheColourToolsName) {
    test::ScratchDir in, out;
    const std::string prefix = std::string(kExposure) + "L";
    for (const char band : {'4', '5', '6'}) {
        WriteBmpFile(Gradient(9, 7, band), in / (prefix + band + "M1.bmp"));
    }
    WriteBmpFile(Gradient(9, 7, 1), in / "2P241329999EFFAUCTP2582L4M1.bmp");      // no 5 or 6
    WriteBmpFile(Gradient(9, 7, 1), in / (std::string(kExposure) + "R4M1.bmp"));  // right eye

    Output r = Command(false, {in / "", "-o", out / "", "--format", "bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bitmap24 composite = ReadBmpFile(out / (prefix + "5M1-L4L5L6-01.bmp"));
    EXPECT_TRUE(composite.SamePixels(StraightCombination(ReadBmpFile(in / (prefix + "6M1.bmp")),
                                                         ReadBmpFile(in / (prefix + "5M1.bmp")),
                                                         ReadBmpFile(in / (prefix + "4M1.bmp")))));
    EXPECT_NE(r.err.find("1 made, 0 skipped, 0 failed, 1 without partners"), std::string::npos);
    EXPECT_NE(
        r.err.find("missing 2P241329999EFFAUCTP2582L5M1.bmp, 2P241329999EFFAUCTP2582L6M1.bmp"),
        std::string::npos)
        << r.err;

    // The mixture method's name; the plain composite stays.
    r = Command(false, {in / "", "-o", out / "", "--red-mix", "70"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(out / (prefix + "5M1-L4L5L5L5L6-01.jpg")));
    EXPECT_EQ(test::Names(out).size(), 2u);
}

TEST(BatchOutput, NumbersAndSkipsWhatWasMade) {
    BatchSettings settings;
    OutputNamer namer("out", {"x-B30C16M50-01.BMP", "y-B30C16M50-02.jpg"}, settings);
    BatchItem made, fresh, again;
    namer.Name("x-B30C16M50", made);
    namer.Name("y-B30C16M50", fresh);
    namer.Name("y-B30C16M50", again);  // the same left eye in another folder
    EXPECT_TRUE(made.exists);
    EXPECT_EQ(fresh.output, "out/Y-B30C16M50-01.jpg");
    EXPECT_EQ(again.output, "out/Y-B30C16M50-03.jpg");  // -02 is on the disk
    settings.force = true;
    OutputNamer forced("out", {"x-B30C16M50-01.BMP"}, settings);
    forced.Name("x-B30C16M50", made);
    EXPECT_FALSE(made.exists);
    EXPECT_EQ(made.output, "out/X-B30C16M50-01.jpg");
}

}  // namespace
}  // namespace kobrix::cli
