#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "archive/archive_file.h"
#include "cli/derived_command.h"
#include "cli/find_command.h"
#include "cli/label_command.h"
#include "cli/thumbnail_command.h"
#include "imaging/bmp_io.h"
#include "tests/cli/cli_test_support.h"
#include "tests/support/fake_time_zone.h"
#include "tests/volume/volume_builder.h"
#include "volume/thumbnail_cache.h"

namespace kobrix::cli {
namespace {

using Output = testing::CommandOutput;

Output Find(const std::vector<std::string>& args) {
    const testing::FakeTimeZone zone;
    return testing::Captured([&](std::ostream& out, std::ostream& err) {
        return RunFindCommand(args, zone, DateNames::English(), out, err);
    });
}

Output Label(const std::vector<std::string>& args) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunLabelCommand(args, out, err); });
}

Output Derived(const std::vector<std::string>& args) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunDerivedCommand(args, out, err); });
}

TEST(DerivedCommand, TheWindowsListAndTheLinearizedProduct) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/";
    const std::string rdr = root + "/data/sol0100/rdr/";
    const Output all = Derived({edr + test::kSol100Edr});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, rdr + test::kSol100Linearized + "\n" + rdr + test::kSol100Rad + "\n");
    EXPECT_EQ(Derived({edr + test::kSol100Edr, "--linearized"}).out,
              rdr + test::kSol100Linearized + "\n");

    // The right eye has products of neither kind: an empty list, and no linearized one.
    EXPECT_EQ(Derived({edr + test::kSol100EdrRight}).out, "");
    const Output none = Derived({"--linearized", edr + test::kSol100EdrRight});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "kobrix-cli: " + edr + test::kSol100EdrRight +
                            ": no linearized product of this exposure\n");

    // An RDR lists its EDR and the other RDRs; --linearized stays an EDR's.
    const Output rad = Derived({rdr + test::kSol100Rad});
    EXPECT_EQ(rad.status, 0) << rad.err;
    EXPECT_EQ(rad.out, edr + test::kSol100Edr + "\n" + rdr + test::kSol100Linearized + "\n");
    const Output radLinearized = Derived({rdr + test::kSol100Rad, "--linearized"});
    EXPECT_EQ(radLinearized.status, 1);
    EXPECT_NE(radLinearized.err.find("its product type, RAD, does not begin with E"),
              std::string::npos);

    // Typed from inside the sol's edr/ folder, as a name alone or ./NAME: absolute paths.
    const std::string realRdr = std::filesystem::canonical(rdr).string() + "/";
    for (const std::string& typed : {test::kSol100Edr, "./" + test::kSol100Edr}) {
        const auto inside = testing::RunCommand("cd '" + edr + "' && " +
                                                std::string(KOBRIX_CLI_PATH) + " derived " + typed);
        EXPECT_EQ(inside.status, 0) << typed;
        EXPECT_EQ(inside.out,
                  realRdr + test::kSol100Linearized + "\n" + realRdr + test::kSol100Rad + "\n")
            << typed;
    }
    EXPECT_EQ(Derived({edr + "2N135251689EFF0000P1234L9M1.IMG"}).status, 1);
    EXPECT_EQ(Derived({edr}).status, 1);  // a folder is no product
    EXPECT_EQ(Derived({}).status, 2);
    EXPECT_EQ(Derived({"--pair", edr + test::kSol100Edr}).status, 2);
}

TEST(VolumeFind, AVolumeRootStandsForItsSolsProducts) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    // Something elsewhere in the volume that a walk would find and a sol listing does not.
    std::filesystem::create_directories(root + "/extras");
    test::Put(dir, "mer2no_0xxx/extras/" + test::kSol100Rad, {'x'});

    const Output sol100 = Find({root, "--sol", "100"});
    EXPECT_EQ(sol100.status, 0) << sol100.err;
    const std::string edr = root + "/data/sol0100/edr/";
    const std::string rdr = root + "/data/sol0100/rdr/";
    EXPECT_EQ(sol100.out, edr + test::kSol100Edr + "\n" + edr + test::kSol100EdrRight + "\n" + rdr +
                              test::kSol100Linearized + "\n" + rdr + test::kSol100Rad + "\n" + rdr +
                              test::kSol100Other + "\n");

    // Sols 100-120 hold both sols; the other criteria still judge the names. The detached
    // pair of sol 101 is its .IMG and its .LBL, both named as products.
    const Output pancam = Find({root, "--sol=100-120", "--camera", "p"});
    const std::string sol101 = root + "/data/sol0101/";
    EXPECT_EQ(pancam.out, sol101 + "edr/" + test::kSol101Edr + ".IMG\n" + sol101 + "edr/" +
                              test::kSol101Edr + ".LBL\n" + sol101 + "rdr/" + test::kSol101Rad +
                              "\n");
    EXPECT_EQ(Find({root, "--sol", "102-120"}).out, "");

    // --recursive walks the volume as any folder, the sol judged by the name.
    const Output walked = Find({root, "--sol", "100", "--recursive", "--eye", "L"});
    EXPECT_NE(walked.out.find(root + "/extras/" + test::kSol100Rad), std::string::npos);
}

TEST(VolumeFind, AnotherFolderBesideTheVolumeKeepsItsSolCriterion) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    std::filesystem::create_directories(dir / "loose");
    test::Put(dir, "loose/" + test::kSol100Edr, {'x'});
    test::Put(dir, "loose/" + test::kSol101Rad, {'x'});
    const Output found = Find({dir / "loose", root, "--sol", "101"});
    EXPECT_EQ(found.out, dir / "loose/" + test::kSol101Rad + "\n" + root + "/data/sol0101/edr/" +
                             test::kSol101Edr + ".IMG\n" + root + "/data/sol0101/edr/" +
                             test::kSol101Edr + ".LBL\n" + root + "/data/sol0101/rdr/" +
                             test::kSol101Rad + "\n");
}

TEST(LabelCommand, PrintsTheLabelByteForByte) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    const std::string file = test::ReadAll(edr);
    const std::string label = file.substr(0, file.find("\r\nEND\r\n") + 7);

    // Through the program itself, so that nothing on the way changes a byte.
    const auto printed = testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " label '" + edr + "'");
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, label);

    // END padded with NULs to the record, no line break: up to and including END.
    std::string padded = file;
    padded.replace(padded.find("\r\nEND\r\n") + 5, 2, std::string(2, '\0'));
    const std::string paddedPath = test::Put(dir, "padded.IMG", {padded.begin(), padded.end()});
    const auto cut =
        testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " label '" + paddedPath + "'");
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(cut.out, label.substr(0, label.size() - 2));

    // A raw .IMG: its .LBL as it is.
    const std::string raw = root + "/data/sol0101/edr/" + test::kSol101Edr;
    EXPECT_EQ(Label({raw + ".IMG"}).out, test::ReadAll(raw + ".LBL"));
    EXPECT_EQ(Label({raw + ".LBL"}).out, test::ReadAll(raw + ".LBL"));
}

TEST(LabelCommand, FindPrintsTheMatchingLines) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    const Output found = Label({edr, "--find", "sample"});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out,
              "  LINE_SAMPLES = 8\r\n  SAMPLE_TYPE = MSB_UNSIGNED_INTEGER\r\n  SAMPLE_BITS = "
              "16\r\n");
    EXPECT_EQ(Label({"--find=planet_day", edr}).out, "PLANET_DAY_NUMBER = 1\r\n");
    EXPECT_EQ(Label({edr, "--find", "nowhere"}).out, "");
}

TEST(LabelCommand, ErrorsAndUsage) {
    test::ScratchDir dir;
    const std::string broken = test::Put(dir, "broken.IMG", {'P', 'D', 'S'});
    const Output bad = Label({broken});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "kobrix-cli: " + broken + ": no label in the file and no .LBL beside it\n");
    EXPECT_EQ(Label({}).status, 2);
    EXPECT_EQ(Label({broken, broken}).status, 2);
    EXPECT_EQ(Label({broken, "--find"}).status, 2);
    EXPECT_EQ(Label({broken, "--all"}).status, 2);
}

TEST(ThumbnailCommand, WritesTheSheetsThumbnail) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    RegisterArchiveReader();
    std::ostringstream out, err;
    ASSERT_EQ(RunThumbnailCommand({edr, "-o", dir / "t.bmp", "--size", "4"}, out, err), 0)
        << err.str();
    // The very pixels the sheet caches.
    const Bitmap24 written = ReadBmpFile(dir / "t.bmp");
    const ThumbnailCache cache(dir / "cache");
    EXPECT_TRUE(written.SamePixels(cache.Get(edr, 4)));
    EXPECT_EQ(written.Width(), 4);

    std::ostringstream err2;
    EXPECT_EQ(RunThumbnailCommand({edr, "-o", dir / "t.png"}, out, err2), 2);
    EXPECT_EQ(RunThumbnailCommand({edr, "-o", dir / "u.bmp", "--size", "4x"}, out, err2), 2);
    EXPECT_EQ(RunThumbnailCommand({edr, "-o", dir / "u.bmp", "--size", "2000"}, out, err2), 2);
    EXPECT_EQ(RunThumbnailCommand({dir / "missing.IMG", "-o", dir / "u.bmp"}, out, err2), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "u.bmp"));
}

}  // namespace
}  // namespace kobrix::cli
