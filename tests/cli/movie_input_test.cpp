// Movies made of and read from what users actually have: frames with colour tables of their
// own, bitmaps that lie about their size, pipes, damaged movies, odd targets.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/frames_command.h"
#include "cli/movie_command.h"
#include "imaging/bmp_io.h"
#include "movie/core/avi_writer.h"
#include "movie/core/movie_decoder.h"
#include "tests/cli/cli_test_support.h"
#include "tests/cli/ffmpeg_frame.h"
#include "tests/imaging/bmp_builder.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result Frames(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::RunFramesCommand(args, out, err);
    return {status, out.str(), err.str()};
}

Result Movie(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::RunMovieCommand(args, out, err);
    return {status, out.str(), err.str()};
}

bool HaveFfmpeg() {
    return test::Run("ffmpeg -version");
}

// An 8-bit frame whose pixels are the same in every frame but whose colour table is not:
// frame `seed` shows other colours for the same indexes.
std::vector<std::uint8_t> PaletteFrame(int seed) {
    test::BmpSpec frame{.width = 6, .height = 2, .bitCount = 8};
    for (int c = 0; c < 256; ++c) {
        frame.palette.push_back({static_cast<std::uint8_t>(c * (seed + 1)),
                                 static_cast<std::uint8_t>(255 - c - seed * 60),
                                 static_cast<std::uint8_t>(seed * 100 + c)});
    }
    frame.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 9, 8, 7, 6, 5, 4, 0, 0};
    return test::BuildBmp(frame);
}

TEST(MovieInput, FramesWithTheirOwnColourTablesPlayInTheirOwnColours) {
    ScratchDir dir;
    fs::create_directory(dir / "frames");
    std::vector<std::string> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(dir / ("frames/f" + std::to_string(i) + ".bmp"));
        test::WriteBytes(frames.back(), PaletteFrame(i));
    }
    const std::string movie = dir / "m.avi";
    const Result r = Movie({dir / "frames", "-o", movie, "--fps", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The program's own player, frame by frame.
    MovieDecoder player(movie);
    ASSERT_EQ(player.Length(), 3);
    Bitmap24 shown;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(player.ReadFrame(shown), i);
        EXPECT_TRUE(shown.SamePixels(ReadBmpFile(frames[static_cast<std::size_t>(i)])))
            << "frame " << i;
    }
    // And another player.
    if (HaveFfmpeg()) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(test::FfmpegFrame(movie, i, dir / "f.raw"),
                      test::PackedRows(ReadBmpFile(frames[static_cast<std::size_t>(i)])))
                << "frame " << i;
        }
    }
}

TEST(MovieInput, AFrameDeclaringAnImpossibleSizeIsRefusedByName) {
    ScratchDir dir;
    // 128 KB of pixels under a header of 32768 x 32769 at 32 bits (4 GiB and more).
    test::BmpSpec giant{.width = 32768, .height = 32769, .bitCount = 32};
    giant.pixels.assign(128 * 1024, 0x55);
    fs::create_directory(dir / "frames");
    test::WriteBytes(dir / "frames/a.bmp", test::BuildBmp(giant));
    test::WriteBytes(dir / "frames/b.bmp", test::BuildBmp(giant));
    const Result r = Movie({dir / "frames", "-o", dir / "m.avi"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("frame 1 (" + dir / "frames/a.bmp" + ") is 32768 x 32769"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir / "m.avi"));
}

TEST(MovieInput, TheMovieCommandSaysWhatIsWrongWithItsTarget) {
    ScratchDir dir;
    fs::create_directory(dir / "frames");
    test::WriteBytes(dir / "frames/a.bmp", PaletteFrame(0));
    fs::create_directory(dir / "dir.avi");
    const Result r = Movie({dir / "frames", "-o", dir / "dir.avi"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("dir.avi: is a directory, not a file"), std::string::npos) << r.err;

    // Progress is for a person at a terminal, not for a log file.
    for (int i = 0; i < 60; ++i) {
        test::WriteBytes(dir / ("frames/f" + std::to_string(100 + i) + ".bmp"), PaletteFrame(0));
    }
    const auto run =
        testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " movie '" + (dir / "frames") +
                            "' -o '" + (dir / "m.avi") + "' 2>'" + (dir / "err.txt") + "'");
    EXPECT_EQ(run.status, 0);
    const std::vector<std::uint8_t> err = test::ReadBytes(dir / "err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\r'), 0);
}

TEST(FramesInput, PipesDamagedMoviesAndStartsPastTheEnd) {
    ScratchDir dir;
    // A pipe would be opened and waited on for ever; it is refused at once.
    ASSERT_EQ(::mkfifo((dir / "pipe.avi").c_str(), 0600), 0);
    const auto piped = testing::RunCommand("timeout 20 " + std::string(KOBRIX_CLI_PATH) +
                                           " frames '" + (dir / "pipe.avi") + "' 2>&1");
    EXPECT_EQ(piped.status, 1) << piped.out;
    EXPECT_NE(piped.out.find("not a regular file"), std::string::npos) << piped.out;

    WriteMovieFromBitmaps(
        dir / "m.avi", 30,
        [](int i) {
            Bitmap24 b(8, 6);
            b.Fill(static_cast<std::uint8_t>(i * 8), 0, 0);
            return b;
        },
        5);
    Result r = Frames({dir / "m.avi", "--from", "40", "-o", dir / "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("0 frames decoded"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("--from 40 is past the end; its frames are 0 to 29"), std::string::npos)
        << r.err;
    EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out"));
    r = Frames({dir / "m.avi", "--from", "29", "-o", dir / "out"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "out/frame000029.bmp"));

    // A movie whose frames were cut off: it opens, nothing plays.
    std::vector<std::uint8_t> bytes = test::ReadBytes(dir / "m.avi");
    const std::string movi = "movi";
    const auto at = std::search(bytes.begin(), bytes.end(), movi.begin(), movi.end());
    ASSERT_NE(at, bytes.end());
    bytes.erase(at + 4, bytes.end());
    test::WriteBytes(dir / "cut.avi", bytes);
    r = Frames({dir / "cut.avi"});
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_FALSE(r.err.empty());
    // Asking for no frames is not a failure.
    EXPECT_EQ(Frames({dir / "m.avi", "--count", "0"}).status, 0);
}

}  // namespace
}  // namespace kobrix
