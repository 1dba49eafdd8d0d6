// kobrix-cli copied into a folder of its own, as an unpacked or half-installed program would
// be: without the movie module it still does everything but decode movies, says why it
// cannot, and finds the module where the package puts it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "imaging/bmp_io.h"
#include "movie/core/movie_module.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

Bitmap24 Frame(int i) {
    Bitmap24 frame(20, 10);
    frame.Fill(static_cast<std::uint8_t>(40 * i), 90, static_cast<std::uint8_t>(200 - 30 * i));
    return frame;
}

TEST(ProgramWithoutMovieModule, OnlyMoviesFailWithTheReasonUntilTheModuleIsInstalled) {
    test::ScratchDir dir;
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "frames");
    const std::string cli = dir / "bin/kobrix-cli";
    fs::copy_file(KOBRIX_CLI_PATH, cli);
    for (int i = 0; i < 3; ++i) {
        WriteBmpFile(Frame(i), dir / ("frames/f" + std::to_string(i) + ".bmp"));
    }
    const auto run = [&](const std::string& args) {
        return testing::RunCommand("cd '" + (dir / "") + "' && '" + cli + "' " + args + " 2>&1");
    };

    // Writing a movie and converting a picture need no FFmpeg.
    auto r = run("movie frames -o 'sol 7.avi' --fps 3");
    EXPECT_EQ(r.status, 0) << r.out;
    r = run("convert frames/f1.bmp f1.jpg");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(fs::is_regular_file(dir / "f1.jpg"));

    // Decoding one does: the message names the module where it was looked for.
    const std::string installed = dir / "lib/kobrix/libkobrix_ffmpeg.so";
    r = run("frames 'sol 7.avi' -o out");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("kobrix-cli frames: Movies cannot be played: " + installed +
                              ": cannot open shared object file",
                          0),
              0u)
        << r.out;
    EXPECT_FALSE(fs::exists(dir / "out"));

    // Installed as the package installs it, beside the program's folder, the movie plays.
    fs::create_directories(dir / "lib/kobrix");
    fs::copy_file(KOBRIX_MOVIE_MODULE, installed);
    r = run("frames 'sol 7.avi' -o out");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("20 x 10, 3 frames"), std::string::npos) << r.out;
    EXPECT_TRUE(ReadBmpFile(dir / "out/frame000002.bmp").SamePixels(Frame(2)));

    // A damaged file beside the program is looked at first and named.
    std::ofstream(dir / "bin/libkobrix_ffmpeg.so") << "not a library\n";
    r = run("frames 'sol 7.avi'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("kobrix-cli frames: Movies cannot be played: " +
                              (dir / "bin/libkobrix_ffmpeg.so") + ": ",
                          0),
              0u)
        << r.out;
}

}  // namespace
}  // namespace kobrix
