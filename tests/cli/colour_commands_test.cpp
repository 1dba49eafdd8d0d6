#include "cli/colour_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "imaging/bmp_io.h"
#include "imaging/image_file.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/temp_dir.h"
#include "tools/core/lens.h"

namespace kobrix::cli {
namespace {

using Output = testing::CommandOutput;

Output Anaglyph(const std::vector<std::string>& args) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunAnaglyphCommand(args, out, err); });
}

Output Fade(const std::vector<std::string>& args) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunFadeCommand(args, out, err); });
}

std::string WriteFilled(const test::ScratchDir& dir, const std::string& name, int width, int height,
                        std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    Bitmap24 picture(width, height);
    picture.Fill(b, g, r);
    const std::string path = dir / name;
    WriteBmpFile(picture, path);
    return path;
}

std::vector<int> PixelAt(const Bitmap24& picture, int x, int y) {
    const std::uint8_t* p = picture.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST(AnaglyphCommand, WritesThePairBySettingsAndExtension) {
    test::ScratchDir dir;
    const std::string right = WriteFilled(dir, "right.bmp", 8, 6, 255, 255, 255);
    const std::string left = WriteFilled(dir, "left.bmp", 5, 7, 255, 255, 255);

    const std::string bmp = dir / "out.bmp";
    Output r = Anaglyph({right, left, "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, right + " + " + left + " -> " + bmp + " (5 x 6 pixels, -B30C16M50)\n");
    Bitmap24 result = ReadBmpFile(bmp);
    EXPECT_EQ(result.Width(), 5);
    EXPECT_EQ(PixelAt(result, 4, 5), (std::vector<int>{127, 127, 127}));

    // Blue separation, all right eye, doubled by the contrast: green gone, blue saturated.
    r = Anaglyph({"--blue", "--merge=100", right, "--contrast", "32", left, "-o", bmp,
                  "--brightness", "30"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(ReadBmpFile(bmp), 0, 0), (std::vector<int>{255, 0, 0}));

    for (const char* name : {"out.JPG", "out.jpeg", "out.gif"}) {
        r = Anaglyph({right, left, "-o", dir / name});
        EXPECT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(ReadAnyPicture(dir / name).Height(), 6) << name;
    }
}

TEST(AnaglyphCommand, UsageAndReadErrorsWriteNothing) {
    test::ScratchDir dir;
    const std::string right = WriteFilled(dir, "right.bmp", 2, 2, 1, 2, 3);
    const std::string left = WriteFilled(dir, "left.bmp", 2, 2, 1, 2, 3);
    const std::string out = dir / "out.jpg";
    const std::vector<std::string> before = test::Names(dir);

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{right, left}, 2, "-o OUT"},
        {{right, left, "-o"}, 2, "-o needs a file name"},
        {{right, "-o", out}, 2, "give RIGHT and LEFT"},
        {{right, left, left, "-o", out}, 2, "give RIGHT and LEFT"},
        {{right, left, "-o", dir / "out.png"}, 2, "out.png"},
        {{right, left, "-o", out, "--merge", "101"}, 2, "--merge 101: give a whole number"},
        {{right, left, "-o", out, "--contrast=-1"}, 2, "--contrast -1"},
        {{right, left, "-o", out, "--brightness", "3x"}, 2, "--brightness 3x"},
        {{right, left, "-o", out, "--brightness", ""}, 2, "--brightness "},
        {{right, left, "-o", out, "--merge"}, 2, "--merge needs a number"},
        {{right, left, "-o", out, "--red"}, 2, "unknown option --red"},
        {{right, dir / "missing.bmp", "-o", out}, 1, "missing.bmp: file not found"},
        {{dir / "missing.jpg", left, "-o", out}, 1, "missing.jpg"},
    };
    for (const Case& c : cases) {
        const Output r = Anaglyph(c.args);
        EXPECT_EQ(r.status, c.status) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(test::Names(dir), before);
}

TEST(CompositeCommand, CombinesMixesAndRefusesBadUse) {
    test::ScratchDir dir;
    const std::string blue = WriteFilled(dir, "2P241328935EFFAUCTP2582L6M1.bmp", 8, 6, 1, 2, 3);
    const std::string green = WriteFilled(dir, "2P241328935EFFAUCTP2582L5M1.bmp", 8, 6, 4, 5, 6);
    const std::string red = WriteFilled(dir, "2P241328935EFFAUCTP2582L4M1.bmp", 7, 6, 7, 8, 9);
    std::ostringstream out, err;
    ASSERT_EQ(RunCompositeCommand({red, green, blue, "-o", dir / "c.bmp"}, out, err), 0)
        << err.str();
    EXPECT_NE(out.str().find("7 x 6 pixels, filters -L4L5L6"), std::string::npos) << out.str();
    EXPECT_EQ(PixelAt(ReadBmpFile(dir / "c.bmp"), 6, 5), (std::vector<int>{3, 5, 7}));

    // Grey bands 200, 100 and 50 mixed at 70, then inverted.
    const std::string r2 = WriteFilled(dir, "r.bmp", 4, 4, 200, 200, 200);
    const std::string g2 = WriteFilled(dir, "g.bmp", 4, 4, 100, 100, 100);
    const std::string b2 = WriteFilled(dir, "b.bmp", 4, 4, 50, 50, 50);
    ASSERT_EQ(RunCompositeCommand(
                  {r2, g2, b2, "-o", dir / "m.bmp", "--red-mix", "70", "--blue-mix=70", "--invert"},
                  out, err),
              0)
        << err.str();
    EXPECT_EQ(PixelAt(ReadBmpFile(dir / "m.bmp"), 3, 3),
              (std::vector<int>{255 - 65, 255 - 100, 255 - 169}));
    ASSERT_EQ(RunCompositeCommand({r2, g2, b2, "-o", dir / "s.bmp", "--solarize", "25"}, out, err),
              0);
    EXPECT_EQ(PixelAt(ReadBmpFile(dir / "s.bmp"), 0, 0), (std::vector<int>{114, 164, 8}));

    const std::size_t files = test::Names(dir).size();
    EXPECT_EQ(RunCompositeCommand({blue, green, "-o", dir / "d.bmp"}, out, err), 2);
    EXPECT_EQ(RunCompositeCommand({r2, g2, b2, "-o", dir / "d.bmp", "--red-mix", "101"}, out, err),
              2);
    EXPECT_EQ(RunCompositeCommand({r2, g2, b2, "-o", dir / "d.bmp", "--invert", "--solarize", "5"},
                                  out, err),
              2);
    EXPECT_EQ(RunCompositeCommand({blue, green, dir / "none.bmp", "-o", dir / "d.bmp"}, out, err),
              1);
    EXPECT_EQ(test::Names(dir).size(), files);  // nothing written by the failures
}

TEST(FadeCommand, FadesByPassesAndRefusesBadInput) {
    test::ScratchDir dir;
    const std::string in = WriteFilled(dir, "in.bmp", 3, 2, 30, 200, 90);
    const std::string out = dir / "out.bmp";
    Output r = Fade({in, "-o", out, "--passes", "30"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, in + " -> " + out + " (30 passes)\n");
    EXPECT_EQ(PixelAt(ReadBmpFile(out), 2, 1), (std::vector<int>{0, 170, 60}));
    ASSERT_EQ(Fade({in, "-o", out}).status, 0);
    EXPECT_EQ(PixelAt(ReadBmpFile(out), 0, 0), (std::vector<int>{0, 0, 0}));

    const std::vector<std::string> before = test::Names(dir);
    EXPECT_EQ(Fade({in, "-o", dir / "x.bmp", "--passes", "-1"}).status, 2);
    EXPECT_EQ(Fade({in, "-o", dir / "x.bmp", "--passes", "99999999999"}).status, 2);
    EXPECT_EQ(Fade({in}).status, 2);
    EXPECT_EQ(Fade({in, in, "-o", dir / "x.bmp"}).status, 2);
    EXPECT_EQ(Fade({in, "-o", dir / "x.bmp", "--blue"}).status, 2);
    r = Fade({dir / "missing.bmp", "-o", dir / "x.bmp"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.bmp: file not found"), std::string::npos) << r.err;
    EXPECT_EQ(test::Names(dir), before);
}

TEST(MagnifyCommand, DrawsTheMagnifiersLensAndRefusesBadUse) {
    test::ScratchDir dir;
    Bitmap24 picture(120, 90);
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 120; ++x) {
            std::uint8_t* p = picture.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(2 * x);
            p[1] = static_cast<std::uint8_t>(2 * y);
            p[2] = 40;
        }
    }
    const std::string in = dir / "in.bmp";
    WriteBmpFile(picture, in);
    for (const bool circle : {false, true}) {
        const std::string out = dir / (circle ? "round.bmp" : "square.bmp");
        std::ostringstream o, e;
        std::vector<std::string> args{in,   "-o",
                                      out,  "--x",
                                      "50", "--y",
                                      "40", "--radius",
                                      "40", "--magnification",
                                      "4",  "--border-width",
                                      "0"};
        if (circle) args.push_back("--circle");
        ASSERT_EQ(RunMagnifyCommand(args, o, e), 0) << e.str();
        EXPECT_EQ(o.str(), out + " (lens of 20 pixels drawn 80 wide)\n");
        Bitmap24 expected = picture;
        LensStyle style;
        style.circle = circle;
        style.borderWidth = 0;
        DrawLens(picture, expected, 50, 40, LensFor(40, 4), 4, style);
        EXPECT_TRUE(ReadBmpFile(out).SamePixels(expected)) << out;
    }
    EXPECT_EQ(PixelAt(ReadBmpFile(dir / "square.bmp"), 9, 40), (std::vector<int>{0, 0, 255}));

    const std::vector<std::string> before = test::Names(dir);
    std::ostringstream o, e;
    EXPECT_EQ(RunMagnifyCommand({in, "-o", dir / "x.bmp", "--x", "5"}, o, e), 2);
    EXPECT_NE(e.str().find("--x X --y Y"), std::string::npos) << e.str();
    EXPECT_EQ(RunMagnifyCommand(
                  {in, "-o", dir / "x.bmp", "--x", "5", "--y", "5", "--magnification", "51"}, o, e),
              2);
    EXPECT_EQ(
        RunMagnifyCommand({dir / "missing.bmp", "-o", dir / "x.bmp", "--x", "5", "--y", "5"}, o, e),
        1);
    EXPECT_EQ(test::Names(dir), before);
}

TEST(ColourCommands, ReachableFromTheProgram) {
    const testing::CommandResult help =
        testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("anaglyph RIGHT LEFT -o OUT"), std::string::npos);
    EXPECT_NE(help.out.find("fade IN -o OUT [--passes N]"), std::string::npos);
    EXPECT_NE(help.out.find("magnify IN -o OUT --x X --y Y"), std::string::npos);
    EXPECT_EQ(testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " fade 2>/dev/null").status, 2);
}

}  // namespace
}  // namespace kobrix::cli
