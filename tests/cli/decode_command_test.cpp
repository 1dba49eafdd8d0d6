#include "cli/decode_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "browse/file_list.h"
#include "cli/zone_snapshot.h"
#include "platform/system_time_zone.h"
#include "tests/cli/cli_test_support.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;

struct DecodeRun {
    int status;
    std::string out;
    std::string err;
};

DecodeRun Decode(std::vector<std::string> args) {
    SystemTimeZone zone;
    std::ostringstream out, err;
    const int status = RunDecodeCommand(args, zone, DateNames::English(), out, err);
    return {status, out.str(), err.str()};
}

fs::path ScratchDirectory(const std::string& name) {
    const fs::path dir = fs::path(KOBRIX_TEST_BINARY_DIR) / "scratch" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string Shell(const std::string& args) {
    return std::string("TZ=UTC LC_ALL=C ") + KOBRIX_CLI_PATH + " " + args;
}

TEST(DecodeCommand, JsonOfTheSpiritPancamName) {
    const testing::CommandResult r =
        testing::RunCommand(Shell("decode --json 2P241328935EFFAUCTP2582L5M1.jpg"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"name\":\"2P241328935EFFAUCTP2582L5M1.jpg\",\"rover\":\"2\",\"rover_name\":"
              "\"Spirit\",\"location\":\"Gusev  Crater\",\"camera\":\"PANCAM Panoramic Camera\","
              "\"clock\":\"241328935\",\"clock_seconds\":241328935,\"clock_valid\":true,\"sol\":"
              "\"1295\",\"mars_elapsed\":[\"1293\",\"21\",\"35\",\"57\"],\"mars_totals\":["
              "\"1293\",\"31053\",\"1863215\",\"111792957\"],\"lmst\":\"12:00:12\",\"utc\":"
              "\"Saturday Aug 25 2007 15:47:50\",\"local\":\"Saturday Aug 25 2007 15:47:50\","
              "\"time_zone\":\"TimeZone UNKNOWN\",\"product_type\":\"EFF Full Frame EDR\","
              "\"site\":\"AU\",\"drive\":\"CT\",\"sequence\":\"P2582\",\"category\":\"PMA and "
              "Remote Sensing instrument.\",\"sequence_code\":\"2582\",\"sequence_range\":"
              "\"PANCAM sequences.\",\"eye\":\"Left Eye\",\"stereo_hint\":\"This image may be "
              "part of a Stereo pair\",\"stereo_hint_colour\":\"green\",\"filter\":\"Filter 5 "
              "535nm (20nm bandpass)\",\"producer\":\"MIPL (OPGS) at JPL\",\"version\":\"1\","
              "\"base_name\":\"2P241328935EFFAUCTP2582L5M1\",\"filter_set_prefix\":"
              "\"2P241328935EFFAUCTP2582L\",\"left_eye_name\":\"2P241328935EFFAUCTP2582L5M1\","
              "\"right_eye_name\":\"2P241328935EFFAUCTP2582R5M1\",\"shown_left_eye_name\":"
              "\"2P241328935EFFAUCTP2582L5M1\",\"shown_right_eye_name\":"
              "\"2P241328935EFFAUCTP2582R5M1\",\"is_combined\":false,\"name_valid\":true}\n");
}

TEST(DecodeCommand, EachNameStartsOnAnEmptyPanel) {
    const DecodeRun r =
        Decode({"--json", "2P241328935EFFAUCTP2582L5M1.jpg", "2P241328935EFFAUCTQ2582Z5B1.jpg"});
    ASSERT_EQ(r.status, 0);
    const std::string second = r.out.substr(r.out.find('\n') + 1);
    EXPECT_NE(second.find("\"category\":\"\""), std::string::npos);
    EXPECT_NE(second.find("\"eye\":\"\""), std::string::npos);
    EXPECT_NE(second.find("\"stereo_hint_colour\":\"\""), std::string::npos);
}

TEST(DecodeCommand, DirectoryListsOrdinaryFilesIgnoringCase) {
    const fs::path dir = ScratchDirectory("listing");
    for (const char* name : {"b.jpg", "A.jpg", "c.JPG", "a2.txt"}) std::ofstream(dir / name) << "x";
    fs::create_directory(dir / "sub");
    std::vector<std::string> names;
    std::string error;
    ASSERT_TRUE(ListDirectory(dir.string(), names, error));
    EXPECT_EQ(names, (std::vector<std::string>{"A.jpg", "a2.txt", "b.jpg", "c.JPG"}));

    const DecodeRun r = Decode({"--csv", dir.string()});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("name,rover,rover_name,", 0), 0u);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5);
}

TEST(DecodeCommand, ListingSortKeepsTheFileListOrder) {
    // Names around the 16 bytes compared first, differing in case, length and past byte 16.
    std::vector<std::string> names;
    unsigned seed = 7;
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        const int length = 12 + static_cast<int>(seed % 10);
        for (int k = 0; k < length; ++k) {
            seed = seed * 1103515245u + 12345u;
            name.push_back("aAbB_.~Z\xe9"[(seed >> 16) % 9]);
        }
        names.push_back(name);
    }
    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(), FileList::LessIgnoringCase);
    FileList::SortIgnoringCase(names);
    EXPECT_EQ(names, expected);
}

TEST(DecodeCommand, LargeDirectoryDecodesOnEveryCoreAsNameByName) {
    const fs::path dir = ScratchDirectory("large");
    std::vector<std::string> names;
    for (int i = 0; i < 2600; ++i) {
        std::string name = "2P" + std::to_string(241328935 + i * 37) + "EFFAUCTP2582L5M1.jpg";
        if (i % 7 == 0) name = "x" + std::to_string(i) + (i % 2 ? ".JPG" : ".jpg");
        std::ofstream(dir / name) << "";
        names.push_back(name);
    }
    std::string error;
    ASSERT_TRUE(ListDirectory(dir.string(), names, error));
    // Every conversion fails, so that each record has its message before it.
    testing::FakeTimeZone failing;
    failing.failConversion = true;
    for (const char* format : {"--json", "--csv"}) {
        std::ostringstream out, err, oneOut, oneErr;
        EXPECT_EQ(RunDecodeCommand({format, dir.string()}, failing, DateNames::English(), out, err),
                  1);
        std::vector<std::string> oneByOne = {format};
        oneByOne.insert(oneByOne.end(), names.begin(), names.end());
        RunDecodeCommand(oneByOne, failing, DateNames::English(), oneOut, oneErr);
        EXPECT_EQ(out.str(), oneOut.str());
        EXPECT_EQ(err.str(), oneErr.str());
    }
}

TEST(DecodeCommand, MissingDirectoriesAreErrorsButOtherNamesStillDecode) {
    const DecodeRun r = Decode({"--json", "/no/such/dir/", "2P241328935EFFAUCTP2582L5M1.jpg",
                                "/no/such/2P241328935EFFAUCTP2582L5M1.jpg"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot read directory /no/such/dir/"), std::string::npos);
    EXPECT_NE(r.err.find("no such directory /no/such"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);

    // A path to a file in an existing directory decodes its last part.
    const DecodeRun path = Decode({"--json", "/tmp/2P241328935EFFAUCTP2582L5M1.jpg"});
    EXPECT_EQ(path.status, 0);
    EXPECT_NE(path.out.find("\"name\":\"2P241328935EFFAUCTP2582L5M1.jpg\""), std::string::npos);
}

TEST(DecodeCommand, UsageErrors) {
    EXPECT_EQ(Decode({}).status, 2);
    EXPECT_EQ(Decode({"--yaml", "x"}).status, 2);
    EXPECT_EQ(testing::RunCommand(Shell("frobnicate 2>/dev/null")).status, 2);
    EXPECT_EQ(testing::RunCommand(Shell("convert only-one.jpg 2>/dev/null")).status, 2);
    EXPECT_EQ(testing::RunCommand(Shell("convert /no/such.jpg /tmp/out.bmp 2>/dev/null")).status,
              1);
    const testing::CommandResult help = testing::RunCommand(Shell("--help"));
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("decode [--json|--csv] [--labels] [--files-from FILE] [--shard K/N] "
                            "NAME_OR_DIRECTORY..."),
              std::string::npos);
    // Each command's own part, the folder commands with what they share.
    const testing::CommandResult pairs = testing::RunCommand(Shell("pairs --help"));
    EXPECT_EQ(pairs.status, 0);
    EXPECT_NE(pairs.out.find("  pairs DIR..."), std::string::npos);
    EXPECT_NE(pairs.out.find("  Folder runs"), std::string::npos);
    EXPECT_EQ(pairs.out.find("  colour DIR..."), std::string::npos);
    EXPECT_NE(pairs.out.find("  Shared runs"), std::string::npos);
    const testing::CommandResult find = testing::RunCommand(Shell("find -h"));
    EXPECT_NE(find.out.find("  find DIR..."), std::string::npos);
    EXPECT_NE(find.out.find("--shard K/N  do the K-th of N"), std::string::npos);
    EXPECT_EQ(find.out.find("  Folder runs"), std::string::npos);
}

TEST(DecodeCommand, AnyByteStringDecodes) {
    const DecodeRun r = Decode(
        {"--json", "--", "--", "", std::string(100000, 'Z'), std::string("\xff\x01\n\"", 4), "-"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5);
    EXPECT_NE(r.out.find("\"name\":\"\\u00ff\\u0001\\n\\\"\""), std::string::npos);
}

TEST(DecodeCommand, TextShowsThePanel) {
    const DecodeRun r = Decode({"1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("  Mars Exploration Rover No.                    1  Opportunity\n"),
              std::string::npos);
    EXPECT_NE(
        r.out.find("  Sequence Code                                 1999 = NAVCAM sequences.\n"),
        std::string::npos);
    EXPECT_NE(r.out.find("  Camera Eye                                    COMBINED\n"),
              std::string::npos);
}

}  // namespace
}  // namespace kobrix::cli
