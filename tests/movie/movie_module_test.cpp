// The movie module as a user's machine may have it: missing, damaged, some other library in
// its place, from another version of the program, or loaded by two movies opened at once.

#include "movie/core/movie_module.h"

#include <dlfcn.h>

#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "movie/core/movie_decoder.h"
#include "tests/movie/movie_fixtures.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

// Points the decoder at one module path for the life of the test.
struct ModuleAt {
    explicit ModuleAt(const fs::path& path) { SetMovieModulePath(path.string()); }
    ~ModuleAt() { SetMovieModulePath(""); }
    ModuleAt(const ModuleAt&) = delete;
    ModuleAt& operator=(const ModuleAt&) = delete;
};

// What opening `movie` says, or "" when it opens.
std::string OpenError(const fs::path& movie) {
    try {
        MovieDecoder decoder(movie.string());
    } catch (const MovieReadError& e) {
        return e.what();
    }
    return "";
}

bool PlaysEveryFrame(const fs::path& movie, int count, int width, int height) {
    MovieDecoder decoder(movie.string());
    Bitmap24 frame;
    for (int i = 0; i < count; ++i) {
        if (decoder.ReadFrame(frame) != i) return false;
        if (!frame.SamePixels(testing::MovieFrame(i, width, height))) return false;
    }
    return decoder.ReadFrame(frame) == -1;
}

class MovieModuleTest : public ::testing::Test {
  protected:
    fs::path dir = fs::path(KOBRIX_TEST_BINARY_DIR) / "movie_module" /
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::path movie = dir / "sol 12.avi";
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        testing::WriteTestMovie(movie, 5, 24, 16);
    }
};

TEST_F(MovieModuleTest, WithoutItsModuleNoMovieOpensAndTheMessageSaysWhy) {
    const fs::path missing = dir / "lib" / "kobrix" / kMovieModuleName;
    {
        const ModuleAt at(missing);
        const std::string expected =
            "Movies cannot be played: " + missing.string() + ": cannot open shared object file";
        EXPECT_EQ(OpenError(movie).rfind(expected, 0), 0u) << OpenError(movie);
        EXPECT_THROW(MovieDecoder{movie.string()}, MovieModuleError);
        const MovieProbe probe = ProbeMovie(movie.string());
        EXPECT_TRUE(probe.noPlayer);
        EXPECT_EQ(probe.error.rfind(expected, 0), 0u) << probe.error;
        // A file that is no movie is not blamed on it: the module is what is missing.
        std::ofstream(dir / "notes.txt") << "not a movie\n";
        EXPECT_TRUE(ProbeMovie((dir / "notes.txt").string()).noPlayer);
    }
    // Back at the usual places the same movie plays, and a file that is no movie is that.
    EXPECT_TRUE(PlaysEveryFrame(movie, 5, 24, 16));
    const MovieProbe notes = ProbeMovie((dir / "notes.txt").string());
    EXPECT_FALSE(notes.noPlayer);
    EXPECT_EQ(notes.error, "Cannot play " + (dir / "notes.txt").string() +
                               ": Invalid data found when processing input.");
}

TEST_F(MovieModuleTest, WhatIsNoModuleIsRefusedWithTheLoadersReason) {
    const fs::path text = dir / "text" / kMovieModuleName;
    fs::create_directories(text.parent_path());
    std::ofstream(text) << "#!/bin/sh\necho this is not a library\n";
    const fs::path empty = dir / "empty" / kMovieModuleName;
    fs::create_directories(empty.parent_path());
    std::ofstream{empty};
    // A real library, but not the module: the C picture library the program links.
    Dl_info info{};
    ASSERT_NE(dladdr(dlsym(RTLD_DEFAULT, "jpeg_std_error"), &info), 0);
    const std::string other = info.dli_fname;

    for (const fs::path& module : {text, empty}) {
        const ModuleAt at(module);
        const std::string error = OpenError(movie);
        EXPECT_EQ(error.rfind("Movies cannot be played: " + module.string() + ": ", 0), 0u)
            << error;
    }
    {
        const ModuleAt at(other);
        EXPECT_EQ(OpenError(movie),
                  "Movies cannot be played: " + other + ": undefined symbol: kobrix_open_movie");
    }
    // The module of another version of the program refuses rather than guessing.
    std::string error;
    const OpenMovieFunction open = LoadMovieModule(error);
    ASSERT_NE(open, nullptr) << error;
    EXPECT_EQ(open(kMovieModuleVersion + 1, movie.c_str(), &error), nullptr);
    EXPECT_NE(error.find("another version"), std::string::npos) << error;
    EXPECT_TRUE(PlaysEveryFrame(movie, 5, 24, 16));
}

TEST_F(MovieModuleTest, TwoMoviesOpenedAtOnceShareTheModuleLoadedFromAnotherFolder) {
    // A copy no decoder of this process has loaded yet: the two threads race to load it.
    const fs::path copy = dir / "elsewhere" / kMovieModuleName;
    fs::create_directories(copy.parent_path());
    fs::copy_file(KOBRIX_MOVIE_MODULE, copy);
    testing::WriteTestMovie(dir / "other.avi", 9, 40, 30);
    const ModuleAt at(copy);
    bool first = false;
    bool second = false;
    std::thread a([&] { first = PlaysEveryFrame(movie, 5, 24, 16); });
    std::thread b([&] { second = PlaysEveryFrame(dir / "other.avi", 9, 40, 30); });
    a.join();
    b.join();
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
}

}  // namespace
}  // namespace kobrix
