// Whole archives spread over many runs: --shard K/N and --files-from. The N parts of a run,
// made one after the other with no word between them, must add up to what one run makes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "batch/shard.h"
#include "cli/batch_commands.h"
#include "cli/decode_command.h"
#include "cli/find_command.h"
#include "cli/shard_option.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "tests/browse/sample_names.h"
#include "tests/cli/cli_test_support.h"
#include "tests/imaging/temp_dir.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kCounts[] = {1, 2, 3, 7};

using Output = testing::CommandOutput;

enum class Command { Decode, Find, Pairs, Colour };

Output Invoke(Command command, const std::vector<std::string>& args) {
    const testing::FakeTimeZone zone;
    std::ostringstream out, err;
    const BatchConsole console{2, false};
    int status = 0;
    switch (command) {
        case Command::Decode:
            status = RunDecodeCommand(args, zone, DateNames::English(), out, err);
            break;
        case Command::Find:
            status = RunFindCommand(args, zone, DateNames::English(), out, err);
            break;
        case Command::Pairs:
            status = RunPairsCommand(args, zone, console, out, err);
            break;
        case Command::Colour:
            status = RunColourCommand(args, zone, console, out, err);
            break;
    }
    return {status, out.str(), err.str()};
}

std::vector<std::string> With(std::vector<std::string> args, const std::string& shard) {
    args.push_back("--shard");
    args.push_back(shard);
    return args;
}

std::string Part(std::uint32_t k, std::uint32_t n) {
    return std::to_string(k) + "/" + std::to_string(n);
}

// The lines of `text`, as a set.
std::multiset<std::string> Lines(const std::string& text) {
    std::multiset<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.insert(line);
    return lines;
}

// Every file of `dir` by name, with its bytes.
std::map<std::string, std::string> Files(const std::string& dir) {
    std::map<std::string, std::string> files;
    if (!fs::exists(dir)) return files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Bitmap24 Gradient(int width, int height, int seed) {
    Bitmap24 picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            picture.Row(y)[x] = static_cast<std::uint8_t>(x * 5 + y * 11 + seed * 37);
        }
    }
    return picture;
}

TEST(ShardParts, CoverEveryPositionOnceInOrderWithEvenSizes) {
    for (const std::uint32_t n : kCounts) {
        for (std::size_t total = 0; total <= 23; ++total) {
            std::size_t next = 0;
            for (std::uint32_t k = 1; k <= n; ++k) {
                const auto [begin, end] = ShardRange({k, n}, total);
                EXPECT_EQ(begin, next) << k << "/" << n << " of " << total;
                EXPECT_LE(end - begin, total / n + 1);
                EXPECT_GE(end - begin, total / n);
                for (std::size_t p = begin; p < end; ++p) EXPECT_EQ(ShardOf(p, total, n), k);
                next = end;
            }
            EXPECT_EQ(next, total);
        }
    }
    // Many runs over a long list do not overflow.
    const auto [begin, end] = ShardRange({4000000000U, 4000000000U}, 3000000000U);
    EXPECT_EQ(end, 3000000000U);
    EXPECT_LT(begin, end);
}

TEST(ShardOption, TakesKOfNAndRefusesEverythingElse) {
    ASSERT_TRUE(ParseShard("1/1"));
    EXPECT_EQ(ParseShard("3/7")->index, 3U);
    EXPECT_EQ(ParseShard("3/7")->count, 7U);
    for (const char* bad : {"0/3", "4/3", "1/0", "0/0", "text", "1", "1/", "/3", "-1/3", "+1/3",
                            "1/3x", " 1/3", "1/ 3", "1.0/3", "1/99999999999", "1//3", ""}) {
        EXPECT_FALSE(ParseShard(bad)) << bad;
    }
    // Every folder command refuses them the same way, before anything is made.
    test::ScratchDir dir;
    const std::string out = dir / "made";
    for (const Command command :
         {Command::Decode, Command::Find, Command::Pairs, Command::Colour}) {
        for (const char* bad : {"0/3", "4/3", "1/0", "text"}) {
            const Output r = Invoke(command, {dir / "", "-o", out, "--shard", bad});
            EXPECT_EQ(r.status, 2) << bad;
            EXPECT_NE(
                r.err.find(std::string("--shard ") + bad +
                           ": give K/N, the part K of N runs, whole numbers with 1 <= K <= N"),
                std::string::npos)
                << r.err;
            EXPECT_EQ(r.out, "");
        }
        EXPECT_EQ(Invoke(command, {dir / "", "--shard"}).err.find("--shard needs a value") !=
                      std::string::npos,
                  true);
        EXPECT_EQ(Invoke(command, {dir / "", "--shard=1/2", "--shard", "2/2"}).status, 2);
    }
    EXPECT_FALSE(fs::exists(out));
}

// A folder of product names of both rovers and several cameras, some of them not names at all.
void FillWithNames(const test::ScratchDir& dir, int count) {
    for (int i = 0; i < count; ++i) {
        Write(dir / (testing::NameOnSol(i % 2 ? '1' : '2', "PNFR"[i % 4], 10 + i) + ".JPG"), "");
    }
    Write(dir / "notes about sol 12.txt", "");
}

TEST(DecodeShards, JoinedInOrderTheyPrintWhatOneRunPrints) {
    for (const int count : {0, 2, 13}) {  // fewer names than runs, too
        test::ScratchDir dir;
        FillWithNames(dir, count);
        for (const char* format : {"--json", "--csv"}) {
            const std::vector<std::string> args = {format, dir / "", "2P126471340EFF0000P2303L5M1"};
            const Output whole = Invoke(Command::Decode, args);
            ASSERT_EQ(whole.status, 0) << whole.err;
            for (const std::uint32_t n : kCounts) {
                std::string joined;
                for (std::uint32_t k = 1; k <= n; ++k) {
                    const Output part = Invoke(Command::Decode, With(args, Part(k, n)));
                    EXPECT_EQ(part.status, 0) << part.err;
                    joined += part.out;
                }
                EXPECT_EQ(joined, whole.out) << format << " in " << n << " parts of " << count;
            }
        }
    }
}

TEST(DecodeShards, EachProblemIsReportedByOneRun) {
    test::ScratchDir dir;
    FillWithNames(dir, 5);
    const std::vector<std::string> args = {dir / "", dir / "no such folder/2P126471340EFF.JPG"};
    EXPECT_EQ(Invoke(Command::Decode, args).status, 2);
    int reported = 0;
    for (std::uint32_t k = 1; k <= 3; ++k) {
        const Output part = Invoke(Command::Decode, With(args, Part(k, 3)));
        if (part.err.find("no such directory") != std::string::npos) {
            ++reported;
            EXPECT_EQ(part.status, 2);
        } else {
            EXPECT_EQ(part.status, 0) << part.err;
        }
    }
    EXPECT_EQ(reported, 1);
}

TEST(FindShards, JoinedInOrderTheyPrintWhatOneRunPrints) {
    test::ScratchDir dir, other;
    FillWithNames(dir, 17);
    FillWithNames(other, 3);
    const std::string listed = other / "list of files.txt";
    std::string list;
    for (const auto& entry : fs::directory_iterator(other / ""))
        list += entry.path().string() + "\n";
    Write(listed, list);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{dir / "", "--rover", "2"},
          std::vector<std::string>{dir / "", "--csv", "--files-from", listed},
          std::vector<std::string>{"--files-from", listed, "-0"}}) {
        const Output whole = Invoke(Command::Find, args);
        ASSERT_EQ(whole.status, 0) << whole.err;
        ASSERT_NE(whole.out, "");
        for (const std::uint32_t n : kCounts) {
            std::string joined;
            for (std::uint32_t k = 1; k <= n; ++k)
                joined += Invoke(Command::Find, With(args, Part(k, n))).out;
            EXPECT_EQ(joined, whole.out) << args[1] << " in " << n << " parts";
        }
    }
}

// Makes `count` stereo pairs in `dir` (JPEG) and a lone left eye; returns the exposures.
void FillWithPairs(const std::string& dir, int count, int seed) {
    fs::create_directories(dir);
    for (int i = 0; i < count; ++i) {
        char exposure[40];
        std::snprintf(exposure, sizeof exposure, "2P2413%05dEFFAUCTP2582", i);
        WriteJpegFile(Gradient(12 + i, 10, i + seed), dir + "/" + exposure + "L5M1.jpg");
        WriteJpegFile(Gradient(12, 10 + i, i + seed + 3), dir + "/" + exposure + "R5M1.jpg");
    }
    WriteJpegFile(Gradient(8, 8, seed), dir + "/2P241399999EFFAUCTP2582L2M1.jpg");
}

// Makes `count` filter 4, 5 and 6 sets (BMP) in `dir`, one of them without its blue band.
void FillWithFilterSets(const std::string& dir, int count) {
    fs::create_directories(dir);
    for (int i = 0; i < count; ++i) {
        char exposure[40];
        std::snprintf(exposure, sizeof exposure, "2P2413%05dEFFAUCTP2582L", i);
        for (const char band : {'4', '5', '6'}) {
            if (i == 1 && band == '6') continue;
            WriteBmpFile(Gradient(9, 7 + band - '4', i), dir + "/" + exposure + band + "M1.bmp");
        }
    }
}

std::string Names(const std::string& dir) {
    std::string names;
    for (const auto& [name, bytes] : Files(dir)) names += name + " ";
    return names;
}

// The file names of the pictures a folder run lists as made ("... -> OUT (W x H pixels)").
std::multiset<std::string> MadeNames(const std::string& out) {
    std::multiset<std::string> names;
    for (const std::string& line : Lines(out)) {
        const std::string path = line.substr(0, line.rfind(" ("));
        names.insert(path.substr(path.rfind('/') + 1));
    }
    return names;
}

std::multiset<std::string> Unpaired(const std::string& err) {
    std::multiset<std::string> lines;
    for (const std::string& line : Lines(err)) {
        if (line.rfind("  not paired: ", 0) == 0) lines.insert(line);
    }
    return lines;
}

// Runs the folder command whole into one folder and in N parts, one after the other, into
// another; the two folders must hold the same files, byte for byte, and the parts must list
// between them what the whole run listed, each picture once.
void ExpectPartsMakeTheWhole(Command command, const std::vector<std::string>& args) {
    test::ScratchDir out;
    std::vector<std::string> wholeArgs = args;
    wholeArgs.insert(wholeArgs.end(), {"-o", out / "whole"});
    const Output whole = Invoke(command, wholeArgs);
    ASSERT_EQ(whole.status, 0) << whole.err;
    const auto made = Files(out / "whole");
    ASSERT_FALSE(made.empty());
    for (const std::uint32_t n : kCounts) {
        const std::string folder = out / ("parts of " + std::to_string(n));
        std::multiset<std::string> listed, unpaired;
        for (std::uint32_t k = 1; k <= n; ++k) {
            std::vector<std::string> partArgs = With(args, Part(k, n));
            partArgs.insert(partArgs.end(), {"-o", folder});
            const Output part = Invoke(command, partArgs);
            EXPECT_EQ(part.status, 0) << part.err;
            listed.merge(MadeNames(part.out));
            unpaired.merge(Unpaired(part.err));
        }
        EXPECT_TRUE(Files(folder) == made) << n << " parts: " << Names(folder);
        EXPECT_EQ(listed, MadeNames(whole.out)) << n << " parts";
        EXPECT_EQ(unpaired, Unpaired(whole.err)) << n << " parts";
    }
}

TEST(PairsShards, TogetherTheyMakeTheSameFilesAsOneRun) {
    test::ScratchDir in;
    FillWithPairs(in / "sol 1", 5, 0);
    // The same pair in a second folder takes the number after the first one's; the parts must
    // not take it for made when the first part has made the first.
    FillWithPairs(in / "sol 2", 2, 40);
    ExpectPartsMakeTheWhole(Command::Pairs, {in / "sol 1", in / "sol 2", "--format", "bmp"});
    // Fewer pairs than parts.
    test::ScratchDir few;
    FillWithPairs(few / "sol 3", 1, 7);
    ExpectPartsMakeTheWhole(Command::Pairs, {few / "sol 3", "--cross-eyed"});
}

TEST(ColourShards, TogetherTheyMakeTheSameFilesAsOneRun) {
    test::ScratchDir in;
    FillWithFilterSets(in / "sets", 6);
    ExpectPartsMakeTheWhole(Command::Colour, {in / "sets", "--format", "bmp"});
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TEST(FilesFrom, ReadsAListFromAFileOrStandardInputWithSpacesBlankLinesAndCarriageReturns) {
    test::ScratchDir dir;
    fs::create_directories(dir / "sol 12 edr");
    const std::string spaced = dir / "sol 12 edr/2P126471340EFF0000P2303L5M1.JPG";
    const std::string plain = dir / "1N128285812EFF0000P1919R0M1.JPG";
    Write(spaced, "");
    Write(plain, "");
    // Written out of order, with a line twice, blank lines and a Windows line end.
    const std::string list = "\n" + spaced + "\r\n\n" + plain + "\n" + spaced + "\n";
    const std::string listFile = dir / "my list.txt";
    Write(listFile, list);
    const std::string expected = plain + "\n" + spaced + "\n";  // sorted, each once
    EXPECT_EQ(Invoke(Command::Find, {"--files-from", listFile}).out, expected);
    const std::string cli = KOBRIX_CLI_PATH;
    const auto viaPipe = [&](const std::string& arguments) {
        return testing::RunCommand("printf '%s' " + Quoted(list) + " | " + Quoted(cli) + " " +
                                   arguments + " 2>&1");
    };
    const testing::CommandResult found = viaPipe("find --files-from -");
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, expected);
    // The other half of a shared run sees the same list in the same order.
    EXPECT_EQ(viaPipe("find --files-from=- --shard 1/2").out +
                  viaPipe("find --files-from - --shard=2/2").out,
              expected);
    const testing::CommandResult decoded = viaPipe("decode --files-from - --json");
    EXPECT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.out, Invoke(Command::Decode, {"--json", plain, spaced}).out);

    // A listed file that is not there is reported as an unreadable folder is; the rest is found.
    Write(listFile,
          plain + "\n" + dir / "gone/2P126471340EFF0000P2303L5M1.JPG\n" + dir / "sol 12 edr\n");
    const Output partly = Invoke(Command::Find, {"--files-from", listFile});
    EXPECT_EQ(partly.status, 2);
    EXPECT_EQ(partly.out, plain + "\n");
    EXPECT_NE(partly.err.find("cannot read " + dir / "gone/2P126471340EFF0000P2303L5M1.JPG" +
                              ": No such file or directory"),
              std::string::npos)
        << partly.err;
    EXPECT_NE(partly.err.find("cannot read " + dir / "sol 12 edr: not an ordinary file"),
              std::string::npos);

    // A list that cannot be read stops every command before it starts.
    for (const Command command :
         {Command::Decode, Command::Find, Command::Pairs, Command::Colour}) {
        for (const std::string& bad : {dir / "no list.txt", dir / "sol 12 edr"}) {
            std::vector<std::string> args = {"--files-from", bad};
            if (command == Command::Pairs || command == Command::Colour) {
                args.insert(args.end(), {"-o", dir / "made"});
            }
            const Output r = Invoke(command, args);
            EXPECT_EQ(r.status, 2);
            EXPECT_NE(r.err.find("cannot read the list " + bad), std::string::npos) << r.err;
        }
        EXPECT_EQ(Invoke(command, {"--files-from", listFile, "--files-from", listFile}).status, 2);
    }
    EXPECT_FALSE(fs::exists(dir / "made"));
}

TEST(FilesFrom, PairsAreFoundAmongTheListedFilesAndAListedFileThatIsGoneFailsAlone) {
    test::ScratchDir in, out;
    FillWithPairs(in / "sol 1", 3, 0);
    const std::string sol = in / "sol 1/2P2413";
    // Pair 0 listed whole; pair 1 only its left eye; pair 2's right eye was deleted after the
    // list was written.
    Write(in / "list", sol + "00000EFFAUCTP2582R5M1.jpg\n" + sol + "00000EFFAUCTP2582L5M1.jpg\n" +
                           sol + "00001EFFAUCTP2582L5M1.jpg\n" + sol +
                           "00002EFFAUCTP2582L5M1.jpg\n" + sol + "00002EFFAUCTP2582R5M1.jpg\n");
    fs::remove(sol + "00002EFFAUCTP2582R5M1.jpg");
    const Output r =
        Invoke(Command::Pairs, {"--files-from", in / "list", "-o", out / "", "--format", "bmp"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(MadeNames(r.out),
              std::multiset<std::string>{"2P241300000EFFAUCTP2582L5M1-B30C16M50-01.bmp"});
    EXPECT_NE(r.err.find("1 made, 0 skipped, 1 failed, 1 without partners"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("  not paired: " + sol + "00001EFFAUCTP2582L5M1.jpg: no right eye"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("  failed: " + out / "2P241300002EFFAUCTP2582L5M1-B30C16M50-01.bmp"),
              std::string::npos)
        << r.err;
    // Folders and a list together: the folder's pairs, then the listed ones.
    const Output both =
        Invoke(Command::Pairs, {in / "sol 1", "--files-from", in / "list", "-o", out / "both"});
    EXPECT_EQ(MadeNames(both.out).size(), 3U) << both.out;
}

TEST(PairsShards, PartsRunningAtOnceIntoOneFolderMakeWhatOneRunMakes) {
    test::ScratchDir in, out;
    FillWithPairs(in / "sol 1", 6, 0);
    FillWithPairs(in / "sol 2", 3, 20);  // the same three pairs again, numbered -02
    const std::string cli = Quoted(KOBRIX_CLI_PATH);
    const std::string folders = Quoted(in / "sol 1") + " " + Quoted(in / "sol 2");
    ASSERT_EQ(testing::RunCommand(cli + " pairs " + folders + " --format bmp -o " +
                                  Quoted(out / "whole") + " >/dev/null 2>&1")
                  .status,
              0);
    // Three processes started together, as a scheduler starts the tasks of an array.
    std::string together;
    for (int k = 1; k <= 3; ++k) {
        together += "(" + cli + " pairs " + folders + " --format bmp --jobs 1 --shard " +
                    std::to_string(k) + "/3 -o " + Quoted(out / "parts") +
                    " >/dev/null 2>&1 || echo failed) & ";
    }
    const testing::CommandResult ran = testing::RunCommand(together + "wait; echo done");
    EXPECT_EQ(ran.out, "done\n");
    EXPECT_EQ(Files(out / "whole").size(), 9U);
    EXPECT_TRUE(Files(out / "parts") == Files(out / "whole"))
        << Names(out / "parts") << " against " << Names(out / "whole");
}

}  // namespace
}  // namespace kobrix::cli
