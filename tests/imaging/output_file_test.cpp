#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/file_access.h"
#include "imaging/image_error.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(OutputFile& file, const std::string& text) {
    file.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// Both ways a file is made: unnamed until complete, and the named fallback of file systems
// that cannot make unnamed files.
class OutputFileTest : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override { AllowUnnamedTemporaryFiles(GetParam()); }
    void TearDown() override { AllowUnnamedTemporaryFiles(true); }
    test::ScratchDir dir;
};

TEST_P(OutputFileTest, NewNamesNeverFollowOrReplaceALink) {
    const std::string victim = dir / "victim";
    std::ofstream(victim) << "precious";
    const std::string target = dir / "made.bmp";

    // A link at the name before the write starts.
    fs::create_symlink(victim, target);
    EXPECT_THROW(OutputFile(target, Placement::NewName), FileExistsError);

    // A link planted while the file is written.
    fs::remove(target);
    OutputFile late(target, Placement::NewName);
    Put(late, "new");
    fs::create_symlink(victim, target);
    EXPECT_THROW(late.Commit(), FileExistsError);
    EXPECT_EQ(Text(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(target));

    // Forced, the link itself is replaced by the new file; what it named is left alone.
    OutputFile forced(target, Placement::ReplaceName);
    Put(forced, "new");
    forced.Commit();
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(Text(target), "new");
    EXPECT_EQ(Text(victim), "precious");
    EXPECT_EQ(test::Names(dir), (std::vector<std::string>{"made.bmp", "victim"}));
}

TEST_P(OutputFileTest, TwoWritersOfOneNameNeitherFailsNorMixes) {
    const std::string target = dir / "same.bmp";
    OutputFile first(target, Placement::NewName);
    OutputFile second(target, Placement::NewName);
    Put(first, "first");
    Put(second, "second");
    first.Commit();
    EXPECT_THROW(second.Commit(), FileExistsError);
    EXPECT_EQ(Text(target), "first");

    // Replacing writers: the last one to finish wins, whole.
    OutputFile a(target), b(target);
    Put(a, "aaaa");
    Put(b, "bb");
    b.Commit();
    a.Commit();
    EXPECT_EQ(Text(target), "aaaa");
    EXPECT_EQ(test::Names(dir), std::vector<std::string>{"same.bmp"});
}

TEST(OutputFile, ANamedTemporarySwappedForALinkIsNotPublished) {
    AllowUnnamedTemporaryFiles(false);
    test::ScratchDir dir;
    const std::string victim = dir / "victim";
    std::ofstream(victim) << "precious";
    for (const Placement placement : {Placement::NewName, Placement::Replace}) {
        const std::string target = dir / "made.bmp";
        {
            OutputFile file(target, placement);
            Put(file, "new");
            // The one hidden name there is, swapped for a link by someone else.
            std::string hidden;
            for (const std::string& name : test::Names(dir)) {
                if (name.rfind(".kobrix-", 0) == 0) hidden = dir / name;
            }
            ASSERT_FALSE(hidden.empty());
            EXPECT_GE(fs::path(hidden).filename().string().size(), 20u);  // random, not guessed
            fs::remove(hidden);
            fs::create_symlink(victim, hidden);
            EXPECT_THROW(file.Commit(), ImageError);
            fs::remove(hidden);
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(target)));
        EXPECT_EQ(Text(victim), "precious");
    }
    AllowUnnamedTemporaryFiles(true);
}

// A writer killed before it finishes leaves no file of any name.
TEST(OutputFile, AKilledWriterLeavesNothing) {
    test::ScratchDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OutputFile file(dir / "picture.bmp");
        const std::vector<std::uint8_t> bytes(1 << 20, 7);
        file.Write(bytes.data(), bytes.size());
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(test::Names(dir).empty()) << test::Names(dir).front();
}

TEST(OutputFile, ADirectoryAtTheNameIsCalledADirectory) {
    test::ScratchDir dir;
    fs::create_directory(dir / "movie.avi");
    try {
        OutputFile file(dir / "movie.avi");
        ADD_FAILURE() << "a directory was taken for a file";
    } catch (const ImageError& e) {
        EXPECT_EQ(e.Problem(), "is a directory, not a file");
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, OutputFileTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Unnamed" : "Named";
                         });

}  // namespace
}  // namespace kobrix
