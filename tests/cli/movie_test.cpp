#include "movie/core/avi_writer.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/frames_command.h"
#include "cli/movie_command.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "movie/core/movie_decoder.h"
#include "tests/cli/ffmpeg_frame.h"
#include "tests/imaging/bmp_builder.h"
#include "tests/imaging/magick.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

using test::ScratchDir;

// A picture that differs in every pixel and from frame to frame.
Bitmap24 Frame(int width, int height, int seed) {
    Bitmap24 b(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 7 + seed);
            p[1] = static_cast<std::uint8_t>(y * 5 + seed * 3);
            p[2] = static_cast<std::uint8_t>(x + y + seed);
        }
    }
    return b;
}

bool HaveFfmpeg() {
    return test::Run("ffprobe -version >/dev/null 2>&1") &&
           test::Run("ffmpeg -version >/dev/null 2>&1");
}

std::string Probe(const std::string& movie) {
    return test::Output(
               "ffprobe -v error -count_packets -show_entries "
               "stream=codec_name,width,height,r_frame_rate,nb_read_packets "
               "-of csv=p=0 '" +
               movie + "'")
        .value_or("");
}

TEST(AviWriter, PlayersReadEveryFrameAsWritten) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    ScratchDir dir;
    // An odd width, so that the rows are padded.
    std::vector<std::string> frames;
    std::vector<Bitmap24> pictures;
    for (int i = 0; i < 5; ++i) {
        pictures.push_back(Frame(33, 17, i));
        frames.push_back(dir / ("f" + std::to_string(i) + ".bmp"));
        WriteBmpFile(pictures.back(), frames.back());
    }
    const std::string movie = dir / "m.avi";
    int calls = 0;
    WriteMovie(movie, frames, 7, [&](int written, int total) {
        EXPECT_EQ(total, 5);
        calls = written;
        return true;
    });
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(Probe(movie), "rawvideo,33,17,7/1,5\n");
    EXPECT_EQ(test::FfmpegFrame(movie, 3, dir / "3.raw"), test::PackedRows(pictures[3]));

    // 8-bit palette frames stay 8-bit, with their palette.
    std::vector<std::string> grey;
    for (int i = 0; i < 3; ++i) {
        test::BmpSpec frame{.width = 6, .height = 2, .bitCount = 8};
        for (int c = 0; c < 256; ++c) {
            frame.palette.push_back({static_cast<std::uint8_t>(c),
                                     static_cast<std::uint8_t>(255 - c),
                                     static_cast<std::uint8_t>(c / 2)});
        }
        frame.pixels = {1, 2, 3, 4, 5, static_cast<std::uint8_t>(i), 0, 0, 9, 8, 7, 6, 5, 4, 0, 0};
        grey.push_back(dir / ("g" + std::to_string(i) + ".bmp"));
        test::WriteBytes(grey.back(), test::BuildBmp(frame));
    }
    WriteMovie(dir / "g.avi", grey, 2);
    EXPECT_NE(test::Output("ffprobe -v error -show_entries stream=pix_fmt -of csv=p=0 '" +
                           std::string(dir / "g.avi") + "'")
                  .value_or("")
                  .find("pal8"),
              std::string::npos);
    EXPECT_EQ(test::FfmpegFrame(dir / "g.avi", 2, dir / "g.raw"),
              test::PackedRows(ReadBmpFile(grey[2])));
}

TEST(AviWriter, MoviesPastOneGibKeepEveryFrame) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    ScratchDir dir;
    const Bitmap24 a = Frame(2048, 2048, 1), b = Frame(2048, 2048, 2);
    WriteBmpFile(a, dir / "a.bmp");
    WriteBmpFile(b, dir / "b.bmp");
    std::vector<std::string> frames;
    for (int i = 0; i < 100; ++i) frames.push_back(i % 2 ? dir / "b.bmp" : dir / "a.bmp");
    const std::string movie = dir / "long.avi";
    WriteMovie(movie, frames, 5);
    EXPECT_GT(std::filesystem::file_size(movie), std::uintmax_t{1} << 30);
    EXPECT_EQ(Probe(movie), "rawvideo,2048,2048,5/1,100\n");
    EXPECT_EQ(test::FfmpegFrame(movie, 99, dir / "99.raw"), test::PackedRows(b));
    // The player reads the OpenDML parts too.
    MovieDecoder player(movie);
    EXPECT_EQ(player.Length(), 100);
    Bitmap24 last;
    player.Seek(99);
    EXPECT_EQ(player.ReadFrame(last), 99);
    EXPECT_TRUE(last.SamePixels(b));
    std::filesystem::remove(movie);
}

TEST(AviWriter, BadInputIsRefusedAndAnOlderMovieSurvives) {
    ScratchDir dir;
    WriteBmpFile(Frame(8, 8, 0), dir / "a.bmp");
    WriteBmpFile(Frame(9, 8, 0), dir / "wide.bmp");
    test::WriteBytes(dir / "short.bmp", test::ReadBytes(dir / "a.bmp"));
    std::filesystem::resize_file(dir / "short.bmp", 100);
    const std::string movie = dir / "m.avi";
    test::WriteBytes(movie, {'o', 'l', 'd'});
    const auto kind = [&](const std::vector<std::string>& frames, int rate) {
        try {
            WriteMovie(movie, frames, rate);
        } catch (const MovieError& e) {
            return std::pair{e.GetKind(), e.Frame()};
        }
        return std::pair{MovieError::Kind::WriteFailed, -2};  // written: not expected here
    };
    using K = MovieError::Kind;
    EXPECT_EQ(kind({}, 5), std::pair(K::NoFrames, -1));
    EXPECT_EQ(kind({dir / "a.bmp"}, 0), std::pair(K::BadRate, -1));
    EXPECT_EQ(kind({dir / "a.bmp", dir / "a.bmp", dir / "wide.bmp"}, 5),
              std::pair(K::FrameMismatch, 2));
    EXPECT_EQ(kind({dir / "a.bmp", dir / "short.bmp"}, 5), std::pair(K::FrameUnreadable, 1));
    EXPECT_EQ(kind({dir / "a.bmp", dir / "gone.bmp"}, 5), std::pair(K::FrameUnreadable, 1));
    EXPECT_EQ(test::ReadBytes(movie), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(test::Names(dir).size(), 4u);  // no half movie left beside it
}

TEST(MovieCommand, JpegFramesAndUsageErrors) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "frames");
    for (int i = 0; i < 3; ++i) {
        WriteJpegFile(Frame(16, 8, i), dir / ("frames/f" + std::to_string(i) + ".jpg"));
    }
    std::ostringstream out, err;
    const std::string movie = dir / "m.avi";
    EXPECT_EQ(cli::RunMovieCommand({dir / "frames", "-o", movie, "--fps", "3"}, out, err), 0)
        << err.str();
    if (HaveFfmpeg()) {
        EXPECT_EQ(Probe(movie), "rawvideo,16,8,3/1,3\n");
    }
    std::filesystem::create_directory(dir / "empty");
    EXPECT_EQ(cli::RunMovieCommand({dir / "empty", "-o", movie}, out, err), 2);
    EXPECT_EQ(cli::RunMovieCommand({dir / "frames", "-o", movie, "--fps", "0"}, out, err), 2);
    EXPECT_EQ(cli::RunMovieCommand({dir / "frames"}, out, err), 2);
    WriteJpegFile(Frame(17, 8, 0), dir / "frames/z.jpg");
    EXPECT_EQ(cli::RunMovieCommand({dir / "frames", "-o", dir / "n.avi"}, out, err), 1);
    EXPECT_NE(err.str().find("frame 4"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir / "n.avi"));
}

TEST(FramesCommand, WritesTheFramesAsThePlayerDecodesThem) {
    ScratchDir dir;
    WriteMovieFromBitmaps(
        dir / "m.avi", 4, [](int i) { return Frame(10, 6, i); }, 5);
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunFramesCommand({dir / "m.avi", "--from", "2", "-o", dir / "f"}, out, err), 0)
        << err.str();
    EXPECT_EQ(out.str(), std::string(dir / "m.avi") +
                             ": 10 x 6, 4 frames at 5 a second\n"
                             "2 frames decoded\n");
    EXPECT_TRUE(ReadBmpFile(dir / "f/frame000003.bmp").SamePixels(Frame(10, 6, 3)));
    EXPECT_FALSE(std::filesystem::exists(dir / "f/frame000001.bmp"));
    test::WriteBytes(dir / "x.avi", {'R', 'I', 'F', 'F'});
    EXPECT_EQ(cli::RunFramesCommand({dir / "x.avi"}, out, err), 1);
    EXPECT_EQ(cli::RunFramesCommand({dir / "m.avi", "--count", "-1"}, out, err), 2);
}

}  // namespace
}  // namespace kobrix
