// The folder commands where other people and other runs share the folder: links planted at
// the names a run writes, two runs into one folder, output folders that cannot be made.

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/batch_commands.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/temp_dir.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;

using Output = testing::CommandOutput;

Output Pairs(std::vector<std::string> args) {
    const testing::FakeTimeZone zone;
    std::ostringstream out, err;
    const BatchConsole console{2, false};
    const int status = RunPairsCommand(args, zone, console, out, err);
    return {status, out.str(), err.str()};
}

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// `count` stereo pairs of small pictures; returns the names their anaglyphs get (BMP).
std::vector<std::string> MakePairs(const test::ScratchDir& in, int count, int width = 64) {
    std::vector<std::string> made;
    for (int i = 0; i < count; ++i) {
        char exposure[40];
        std::snprintf(exposure, sizeof exposure, "2P2413%05dEFFAUCTP2582", i);
        for (const char eye : {'L', 'R'}) {
            Bitmap24 picture(width, 48);
            picture.Fill(static_cast<std::uint8_t>(i * 9), eye == 'L' ? 40 : 200, 90);
            WriteJpegFile(picture, in / (std::string(exposure) + eye + "5M1.jpg"));
        }
        made.push_back(std::string(exposure) + "L5M1-B30C16M50-01.bmp");
    }
    std::sort(made.begin(), made.end());
    return made;
}

TEST(FolderRunFiles, PlantedLinksAreNeitherFollowedNorPublished) {
    test::ScratchDir in, out, elsewhere;
    const std::vector<std::string> names = MakePairs(in, 2, 320);
    const std::string victim = elsewhere / "victim";
    std::ofstream(victim) << "precious";
    // A link at the name the writer used to take for its temporary file.
    fs::create_symlink(victim, out / (".kobrix-part-" + names[0]));

    Output r = Pairs({in / "", "-o", out / "", "--format", "bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Text(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(out / names[0]));
    EXPECT_EQ(ReadBmpFile(out / names[0]).Width(), 320);

    // Forced over a link at the final name: the link makes way for the picture.
    fs::remove(out / names[1]);
    fs::create_symlink(victim, out / names[1]);
    r = Pairs({in / "", "-o", out / "", "--format", "bmp", "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Text(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(out / names[1]));
    EXPECT_EQ(ReadBmpFile(out / names[1]).Width(), 320);
    // Nothing of the run's own is left: only the pictures and the planted link.
    std::vector<std::string> expected = names;
    expected.insert(expected.begin(), ".kobrix-part-" + names[0]);
    EXPECT_EQ(test::Names(out), expected);
}

TEST(FolderRunFiles, TwoRunsIntoOneFolderBothSucceed) {
    test::ScratchDir in, logs;
    const std::vector<std::string> names = MakePairs(in, 200);
    // Many small items on two threads each, so that the runs meet on the same names; a few
    // rounds, as they do not meet every time.
    for (int round = 0; round < 5; ++round) {
        test::ScratchDir out;
        const std::string run = std::string(KOBRIX_CLI_PATH) + " pairs '" + (in / "") + "' -o '" +
                                (out / "") + "' --format bmp --jobs 2";
        const std::string both = "( " + run + " >" + (logs / "1.out") + " 2>&1; echo $? >" +
                                 (logs / "1.status") + " ) & ( " + run + " >" + (logs / "2.out") +
                                 " 2>&1; echo $? >" + (logs / "2.status") + " ) & wait";
        ASSERT_EQ(std::system(("bash -c \"" + both + "\"").c_str()), 0);
        const std::string first = Text(logs / "1.out"), second = Text(logs / "2.out");
        EXPECT_EQ(Text(logs / "1.status"), "0\n") << first;
        EXPECT_EQ(Text(logs / "2.status"), "0\n") << second;
        // Every picture once, whichever run made it, and nothing hidden.
        EXPECT_EQ(test::Names(out), names);
        const std::regex made("(\\d+) made, (\\d+) skipped, 0 failed");
        std::smatch a, b;
        ASSERT_TRUE(std::regex_search(first, a, made)) << first;
        ASSERT_TRUE(std::regex_search(second, b, made)) << second;
        EXPECT_EQ(std::stoi(a[1]) + std::stoi(b[1]), 200);
    }
}

TEST(FolderRunFiles, ARunThatCannotStartCreatesNothingAndSaysWhy) {
    test::ScratchDir dir;
    MakePairs(dir, 1);
    Output r = Pairs({dir / "nosuchdir", "-o", dir / "new"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(dir / "new"));
    EXPECT_NE(r.err.find("nosuchdir"), std::string::npos) << r.err;

    // An output folder that cannot be made: the system's reason, not a later one.
    std::ofstream(dir / "plain") << "a file";
    r = Pairs({dir / "", "-o", dir / "plain/sub"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot create " + dir / "plain/sub" + ": Not a directory"),
              std::string::npos)
        << r.err;
    if (::geteuid() != 0) {  // root may write anywhere
        fs::create_directory(dir / "locked");
        fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        r = Pairs({dir / "", "-o", dir / "locked/new"});
        EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
        fs::permissions(dir / "locked", fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace kobrix::cli
