#include "movie/core/movie_decoder.h"

#include <fstream>

#include <gtest/gtest.h>

#include "movie/core/frame_pump.h"
#include "tests/movie/movie_fixtures.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;
using testing::MeanDifference;
using testing::MovieFrame;

class MovieDecoderTest : public ::testing::Test {
  protected:
    // One directory per test: ctest runs them side by side.
    fs::path dir = fs::path(KOBRIX_TEST_BINARY_DIR) / "movie_decoder" /
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::path raw = dir / "raw.avi";
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        testing::WriteTestMovie(raw, 55, 64, 48);
    }
};

TEST_F(MovieDecoderTest, RawMovieReadsEveryFrameExactlyAndSeeksToAnyFrame) {
    MovieDecoder movie(raw.string());
    EXPECT_EQ(movie.Length(), 55);
    EXPECT_EQ(movie.Width(), 64);
    EXPECT_EQ(movie.Height(), 48);
    EXPECT_DOUBLE_EQ(movie.FramesPerSecond(), 10);
    Bitmap24 frame;
    for (int i = 0; i < 55; ++i) {
        ASSERT_EQ(movie.ReadFrame(frame), i);
        ASSERT_TRUE(frame.SamePixels(MovieFrame(i, 64, 48))) << i;
    }
    EXPECT_EQ(movie.ReadFrame(frame), -1);
    // Back from the end, forward again, and past the end (the last frame).
    for (const int target : {37, 0, 54, 12}) {
        movie.Seek(target);
        ASSERT_EQ(movie.ReadFrame(frame), target);
        EXPECT_TRUE(frame.SamePixels(MovieFrame(target, 64, 48))) << target;
    }
    movie.Seek(500);
    EXPECT_EQ(movie.ReadFrame(frame), 54);
}

TEST_F(MovieDecoderTest, LossyMoviesSeekToTheSourceFrame) {
    const std::pair<const char*, const char*> codecs[] = {
        {"mjpeg.avi", "-c:v mjpeg -q:v 3"},
        {"mpeg4.avi", "-c:v mpeg4 -q:v 3 -g 12"},
        {"h264.avi", "-c:v libx264 -preset ultrafast -crf 12 -g 12 -bf 2"},
        {"h264.mp4", "-c:v libx264 -preset veryfast -crf 12 -g 12 -bf 2"},
    };
    for (const auto& [name, arguments] : codecs) {
        if (!testing::Reencode(raw, dir / name, arguments)) GTEST_SKIP() << "no ffmpeg";
        MovieDecoder movie((dir / name).string());
        EXPECT_EQ(movie.Length(), 55) << name;
        Bitmap24 frame;
        for (const int target : {37, 5, 54}) {
            movie.Seek(target);
            ASSERT_EQ(movie.ReadFrame(frame), target) << name;
            const double own = MeanDifference(frame, MovieFrame(target, 64, 48));
            EXPECT_LT(own, 6) << name << " frame " << target;
            EXPECT_LT(own * 4, MeanDifference(frame, MovieFrame(target - 1, 64, 48))) << name;
        }
    }
}

TEST_F(MovieDecoderTest, WhatIsNoMovieGivesItsReasonAndNoCrash) {
    std::ofstream(dir / "notes.txt") << "Sol 1000: a dusty day.\n";
    const Bitmap24 picture = MovieFrame(0, 16, 16);
    WriteMovieFromBitmaps((dir / "one.avi").string(), 1, [&](int) { return picture; }, 5);
    for (const char* name : {"notes.txt", "missing.avi"}) {
        const MovieProbe probe = ProbeMovie((dir / name).string());
        EXPECT_NE(probe.error.find(name), std::string::npos) << probe.error;
    }
    // A movie cut short opens with what is there or is refused; either way nothing crashes.
    fs::copy_file(raw, dir / "cut.avi");
    fs::resize_file(dir / "cut.avi", fs::file_size(raw) / 3);
    try {
        MovieDecoder cut((dir / "cut.avi").string());
        Bitmap24 frame;
        int frames = 0;
        while (cut.ReadFrame(frame) >= 0) ++frames;
        EXPECT_LT(frames, 55);
    } catch (const MovieReadError&) {
    }
    EXPECT_EQ(ProbeMovie((dir / "one.avi").string()).length, 1);
}

TEST_F(MovieDecoderTest, PumpDeliversFramesInOrderFromWhereItStarts) {
    FramePump pump(std::make_unique<MovieDecoder>(raw.string()), 3);
    DecodedFrame frame;
    pump.Start(50);
    for (int expected = 50; expected < 55; ++expected) {
        pump.WaitForBuffered(1);
        ASSERT_TRUE(pump.Take(frame));
        EXPECT_EQ(frame.number, expected);
    }
    pump.WaitForBuffered(1);
    EXPECT_TRUE(pump.Drained());
    EXPECT_FALSE(pump.Take(frame));
    // Started again mid-way, then halted: nothing more comes.
    pump.Start(20);
    pump.WaitForBuffered(3);
    EXPECT_EQ(pump.FrontNumber(), 20);
    pump.Halt();
    EXPECT_EQ(pump.FrontNumber(), -1);
    EXPECT_FALSE(pump.Drained());
}

TEST(MovieSeeds, EverySeedPlaysToItsEndOrIsRefused) {
    int whole = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(KOBRIX_FUZZ_CORPUS_DIR) / "movie")) {
        const std::string name = entry.path().filename().string();
        const bool complete = entry.path().extension() == ".avi";
        try {
            MovieDecoder movie(entry.path().string());
            Bitmap24 frame;
            int frames = 0;
            while (movie.ReadFrame(frame) >= 0) ++frames;
            if (complete) {
                EXPECT_EQ(frames, 3) << name;
                ++whole;
            }
        } catch (const MovieReadError& e) {
            EXPECT_FALSE(complete) << name << ": " << e.what();
        }
    }
    EXPECT_EQ(whole, 4);
}

}  // namespace
}  // namespace kobrix
