#include "cli/find_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/decode_command.h"
#include "decode/product_name.h"
#include "tests/browse/sample_names.h"
#include "tests/imaging/temp_dir.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::cli {
namespace {

struct Output {
    int status;
    std::string out;
};

Output Find(const std::vector<std::string>& args) {
    const testing::FakeTimeZone zone;
    std::ostringstream out, err;
    const int status = RunFindCommand(args, zone, DateNames::English(), out, err);
    return {status, out.str()};
}

TEST(FindCommand, SelectsBySolAndDateAsTheDecodeShowsThem) {
    test::ScratchDir dir;
    std::vector<std::string> names;
    for (int sol = 8; sol <= 22; sol += 2) {
        names.push_back(testing::NameOnSol('2', 'P', sol));
        names.push_back(testing::NameOnSol('1', 'N', sol));
    }
    for (int day = 1; day <= 5; ++day) {
        names.push_back(testing::NameAt('1', 'F', 2004, 3, day, 23));
        names.push_back(testing::NameAt('2', 'R', 2004, 3, day, 0));
    }
    names.push_back("not-a-product.jpg");
    for (const std::string& name : names) std::ofstream(dir / name) << "";

    // What the decode shows of each name decides, checked name by name.
    const testing::FakeTimeZone zone;
    DecodeContext context;
    context.zone = &zone;
    const auto expect = [&](const std::vector<std::string>& args, auto keep) {
        std::vector<std::string> sorted;
        std::string error;
        ASSERT_TRUE(ListDirectory(dir / "", sorted, error));
        std::string expected;
        for (const std::string& name : sorted) {
            DecodeState state;
            DecodeProductName(name, context, state);
            if (state.product.NameValid && keep(state)) expected += dir / name + "\n";
        }
        const Output found = Find(args);
        EXPECT_EQ(found.status, 0);
        EXPECT_EQ(found.out, expected) << args[1];
        EXPECT_FALSE(expected.empty());
    };
    expect({dir / "", "--sol", "12-18", "--rover", "2"}, [](const DecodeState& s) {
        return s.product.RoverDigit == "2" && std::stoi(s.panel.sol) >= 12 &&
               std::stoi(s.panel.sol) <= 18;
    });
    expect({dir / "", "--sol=10", "--camera", "n"}, [](const DecodeState& s) {
        return s.product.CameraLetter == "N" && s.panel.sol == "10";
    });
    // The UTC date of the panel: 23:00 on March 2 is March 2 whatever the local zone.
    expect({dir / "", "--date", "2004-03-02..2004-03-03"}, [](const DecodeState& s) {
        const std::string& utc = s.panel.utcTime;
        return utc.find("Mar 2 2004") != std::string::npos ||
               utc.find("Mar 3 2004") != std::string::npos;
    });

    // The decode records, as decode prints them.
    const std::string one = testing::NameOnSol('2', 'P', 8);
    std::ostringstream decoded, ignored;
    RunDecodeCommand({"--json", dir / one}, zone, DateNames::English(), decoded, ignored);
    EXPECT_EQ(Find({dir / "", "--json", "--sol", "8", "--rover", "2"}).out, decoded.str());
    // Folders below only with --recursive.
    std::filesystem::create_directory(dir / "below");
    const std::string below = testing::NameOnSol('2', 'E', 9);
    std::ofstream(dir / ("below/" + below)) << "";
    EXPECT_EQ(Find({dir / "", "--camera", "E"}).out, "");
    EXPECT_EQ(Find({dir / "", "--camera", "E", "--recursive"}).out,
              dir / ("below/" + below) + "\n");
    EXPECT_EQ(Find({dir / "", "--date", "2004-02-30"}).status, 2);
    EXPECT_EQ(Find({dir / "", "--sol", "9-3"}).status, 2);
    EXPECT_EQ(Find({dir / "", "--camera", "X"}).status, 2);
}

TEST(FindCommand, Print0KeepsNamesWithLineBreaksWhole) {
    test::ScratchDir dir;
    const std::string folder = dir / "sol 8\nand 9";
    std::filesystem::create_directory(folder);
    const std::string a = testing::NameOnSol('2', 'P', 8), b = testing::NameOnSol('2', 'P', 9);
    std::ofstream(folder + "/" + a) << "";
    std::ofstream(folder + "/" + b) << "";
    const std::string expected = folder + "/" + a + '\0' + folder + "/" + b + '\0';
    EXPECT_EQ(Find({folder, "-0"}).out, expected);
    EXPECT_EQ(Find({folder, "--print0", "--sol", "9"}).out, folder + "/" + b + '\0');
    EXPECT_EQ(Find({folder, "-0", "--json"}).status, 2);  // records are not paths
}

}  // namespace
}  // namespace kobrix::cli
