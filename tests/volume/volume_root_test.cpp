#include <gtest/gtest.h>

#include <filesystem>

#include "decode/product_name.h"
#include "tests/support/fake_time_zone.h"
#include "tests/volume/volume_builder.h"
#include "volume/derived_products.h"
#include "volume/volume_root.h"

namespace kobrix {
namespace {

std::vector<int> SolNumbers(const Volume& volume) {
    std::vector<int> sols;
    for (const VolumeSol& sol : volume.sols) sols.push_back(sol.sol);
    return sols;
}

TEST(VolumeRoot, ListsTheSolsWithTheirFoldersAndEarthDates) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    ASSERT_TRUE(IsVolumeRoot(root));
    const std::optional<Volume> volume = OpenVolume(root);
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->rover, '2');  // mer2...: Spirit
    EXPECT_EQ(SolNumbers(*volume), (std::vector<int>{100, 101}));
    EXPECT_EQ(volume->sols[0].edr, root + "/data/sol0100/edr");
    EXPECT_EQ(volume->sols[1].rdr, root + "/data/sol0101/rdr");
    // Spirit landed 2004-01-04 04:35 UTC; 99 sols later is 2004-04-14 21:53:45 UTC.
    EXPECT_EQ(IsoDate(volume->sols[0].middleUtc), "2004-04-14");
    EXPECT_EQ(FormatEarthTime(volume->sols[0].middleUtc), "Wednesday Apr 14 2004 21:53:45");
    EXPECT_EQ(IsoDate(volume->sols[1].middleUtc), "2004-04-15");
    EXPECT_EQ(SolProductFolders(*volume, 101, 200),
              (std::vector<std::string>{root + "/data/sol0101/edr", root + "/data/sol0101/rdr"}));
}

TEST(VolumeRoot, TheSolOfAFolderAgreesWithTheDecodedProductNames) {
    for (const auto& [name, sol] :
         {std::pair{test::kSol100Edr, 100}, std::pair{test::kSol101Rad, 101}}) {
        DecodeState state;
        const testing::FakeTimeZone zone;
        DecodeContext context;
        context.zone = &zone;
        DecodeProductName(name, context, state);
        EXPECT_EQ(state.times.SolNumber, sol) << name;
        EXPECT_EQ(IsoDate(state.times.ImageTimeUtc), IsoDate(SolMiddleUtc(sol, '2'))) << name;
    }
}

TEST(VolumeRoot, TheRoverComesFromTheProductNamesWhenTheFolderNameDoesNotSay) {
    test::ScratchDir dir;
    const std::string spirit = test::BuildVolume(dir, "downloads");
    EXPECT_EQ(OpenVolume(spirit)->rover, '2');
    // Opportunity's volume by its name; its sol 1 is its landing day.
    const std::string opportunity = test::BuildVolume(dir, "MER1PO_0XXX");
    const std::optional<Volume> volume = OpenVolume(opportunity);
    EXPECT_EQ(volume->rover, '1');
    EXPECT_EQ(IsoDate(SolMiddleUtc(1, '1')), "2004-01-25");
    // Neither: no dates.
    std::filesystem::create_directories(dir / "empty/data/sol0005");
    const std::optional<Volume> unknown = OpenVolume(dir / "empty");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->rover, 0);
    EXPECT_EQ(unknown->sols[0].middleUtc, 0);
    EXPECT_TRUE(unknown->sols[0].edr.empty());
}

TEST(VolumeRoot, OtherFoldersAreNotVolumes) {
    test::ScratchDir dir;
    std::filesystem::create_directories(dir / "plain/sub");
    std::filesystem::create_directories(dir / "nosols/data/solar");
    std::filesystem::create_directories(dir / "filedata");
    test::Put(dir, "filedata/data", {'x'});
    std::filesystem::create_directories(dir / "filesol/data");
    test::Put(dir, "filesol/data/sol0001", {'x'});
    for (const char* folder : {"plain", "nosols", "filedata", "filesol", "missing"}) {
        EXPECT_FALSE(IsVolumeRoot(dir / folder)) << folder;
        EXPECT_FALSE(OpenVolume(dir / folder)) << folder;
    }
    // The volume's own data folder is not a root either.
    const std::string root = test::BuildVolume(dir);
    EXPECT_FALSE(IsVolumeRoot(root + "/data"));
}

TEST(VolumeRoot, FolderNamesInAnyCase) {
    EXPECT_EQ(SolOfFolderName("sol0100"), 100);
    EXPECT_EQ(SolOfFolderName("SOL0007"), 7);
    EXPECT_EQ(SolOfFolderName("sol12"), 12);
    EXPECT_FALSE(SolOfFolderName("sol"));
    EXPECT_FALSE(SolOfFolderName("solar"));
    EXPECT_FALSE(SolOfFolderName("sol01-2"));
    EXPECT_FALSE(SolOfFolderName("sol123456"));  // past any mission
    test::ScratchDir dir;
    std::filesystem::create_directories(dir / "v/DATA/SOL0012/EDR");
    std::filesystem::create_directories(dir / "v/DATA/SOL0012/Rdr");
    const std::optional<Volume> volume = OpenVolume(dir / "v");
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->sols[0].edr, dir / "v/DATA/SOL0012/EDR");
    EXPECT_EQ(volume->sols[0].rdr, dir / "v/DATA/SOL0012/Rdr");
}

TEST(VolumeRoot, LocatesAFolderInItsVolume) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    using Kind = VolumePlace::Kind;
    const auto at = [](const std::string& path) {
        const std::optional<VolumePlace> place = LocateInVolume(path);
        return place ? place->root + " " + std::to_string(place->sol) + " " +
                           std::to_string(static_cast<int>(place->kind))
                     : std::string("none");
    };
    EXPECT_EQ(at(root), root + " -1 " + std::to_string(static_cast<int>(Kind::Root)));
    EXPECT_EQ(at(root + "/"), root + " -1 0");
    EXPECT_EQ(at(root + "/data/sol0100"),
              root + " 100 " + std::to_string(static_cast<int>(Kind::Sol)));
    EXPECT_EQ(at(root + "/data/sol0100/edr"),
              root + " 100 " + std::to_string(static_cast<int>(Kind::Edr)));
    EXPECT_EQ(at(root + "/data/sol0101/rdr/"),
              root + " 101 " + std::to_string(static_cast<int>(Kind::Rdr)));
    EXPECT_EQ(at(root + "/data"), "none");
    EXPECT_EQ(at(dir / ""), "none");
    // An edr folder outside a volume, and a sol folder outside data/.
    std::filesystem::create_directories(dir / "loose/sol0004/edr");
    EXPECT_EQ(at(dir / "loose/sol0004/edr"), "none");
    EXPECT_EQ(at(dir / "loose/sol0004"), "none");

    // At any depth below the root, and nowhere outside it.
    std::filesystem::create_directories(root + "/index/deeper");
    EXPECT_EQ(VolumeRootAbove(root + "/index/deeper/"), root);
    EXPECT_EQ(VolumeRootAbove(root + "/data/sol0101/edr"), root);
    EXPECT_EQ(VolumeRootAbove(root), root);
    EXPECT_EQ(VolumeRootAbove(dir / "loose/sol0004/edr"), "");
    EXPECT_EQ(VolumeRootAbove("relative/folder"), "");
}

std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(std::filesystem::path(path).filename());
    return names;
}

TEST(DerivedProducts, TheSameExposureOfAnyTypeFromTheRdrFolderAndBeside) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    // Not the right eye, nor another clock, nor the EDR itself.
    EXPECT_EQ(Names(DerivedProducts(edr)),
              (std::vector<std::string>{test::kSol100Linearized, test::kSol100Rad}));
    EXPECT_EQ(DerivedProducts(edr)[1], root + "/data/sol0100/rdr/" + test::kSol100Rad);

    // Beside the EDR as well, in other letter cases, each name once; labels are not products.
    const std::string besides = root + "/data/sol0100/edr/2n135251689MRD0000p1234l0m1.img";
    test::Put(dir, "mer2no_0xxx/data/sol0100/edr/2n135251689MRD0000p1234l0m1.img", {'x'});
    test::Put(dir, "mer2no_0xxx/data/sol0100/edr/2N135251689RAD0000P1234L0M1.IMG", {'x'});
    test::Put(dir, "mer2no_0xxx/data/sol0100/edr/2N135251689ILF0000P1234L0M1.LBL", {'x'});
    EXPECT_EQ(Names(DerivedProducts(edr)),
              (std::vector<std::string>{test::kSol100Linearized, test::kSol100Rad,
                                        "2n135251689MRD0000p1234l0m1.img"}));

    // The detached EDR of sol 101 finds its RDR.
    EXPECT_EQ(Names(DerivedProducts(root + "/data/sol0101/edr/" + test::kSol101Edr + ".IMG")),
              (std::vector<std::string>{test::kSol101Rad}));
    // A name outside the scheme has none.
    EXPECT_TRUE(DerivedProducts(root + "/data/sol0100/edr/notes.txt").empty());
}

TEST(DerivedProducts, AnRdrLeadsBackToItsEdrAndTheOtherRdrs) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/";
    const std::string rdr = root + "/data/sol0100/rdr/";
    EXPECT_EQ(DerivedProducts(rdr + test::kSol100Rad),
              (std::vector<std::string>{edr + test::kSol100Edr, rdr + test::kSol100Linearized}));
    // The detached EDR of sol 101 through its .IMG; its .LBL is no product.
    EXPECT_EQ(DerivedProducts(root + "/data/sol0101/rdr/" + test::kSol101Rad),
              (std::vector<std::string>{root + "/data/sol0101/edr/" + test::kSol101Edr + ".IMG"}));

    // Folders in other letter cases. (A path typed inside the folder: the derived command.)
    const std::string sol = root + "/data/sol0100/";
    std::filesystem::rename(sol + "edr", sol + "EDR");
    std::filesystem::rename(sol + "rdr", sol + "Rdr");
    EXPECT_EQ(DerivedProducts(sol + "Rdr/" + test::kSol100Linearized),
              (std::vector<std::string>{sol + "EDR/" + test::kSol100Edr,
                                        sol + "Rdr/" + test::kSol100Rad}));
}

TEST(DerivedProducts, TheLinearizedPairOnlyWhenBothEyesHaveOne) {
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/";
    const std::string rdr = root + "/data/sol0100/rdr/";
    EXPECT_EQ(LinearizedProduct(edr + test::kSol100Edr), rdr + test::kSol100Linearized);
    // The right eye has no linearized product yet, so there is no pair.
    EXPECT_FALSE(LinearizedPairOf(edr + test::kSol100EdrRight, edr + test::kSol100Edr));

    // The right eye has a sub-frame and a downsampled one, the left eye a full frame and a
    // sub-frame: the sub-frames are the pair, never a full frame beside a sub-frame.
    test::Put(dir, "mer2no_0xxx/data/sol0100/rdr/2N135251689DNL0000P1234R0M1.IMG", {'x'});
    test::Put(dir, "mer2no_0xxx/data/sol0100/rdr/2N135251689SFL0000P1234R0M1.IMG", {'x'});
    test::Put(dir, "mer2no_0xxx/data/sol0100/rdr/2N135251689SFL0000P1234L0M1.IMG", {'x'});
    const auto pair = LinearizedPairOf(edr + test::kSol100EdrRight, edr + test::kSol100Edr);
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->rightEye, rdr + "2N135251689SFL0000P1234R0M1.IMG");
    EXPECT_EQ(pair->leftEye, rdr + "2N135251689SFL0000P1234L0M1.IMG");
    // Each eye alone still takes its best.
    EXPECT_EQ(LinearizedProduct(edr + test::kSol100EdrRight),
              rdr + "2N135251689SFL0000P1234R0M1.IMG");

    // No type in common: no pair. Another type ending in L that both have makes one.
    std::filesystem::remove(rdr + "2N135251689SFL0000P1234L0M1.IMG");
    EXPECT_FALSE(LinearizedPairOf(edr + test::kSol100EdrRight, edr + test::kSol100Edr));
    test::Put(dir, "mer2no_0xxx/data/sol0100/rdr/2N135251689XYL0000P1234R0M1.IMG", {'x'});
    test::Put(dir, "mer2no_0xxx/data/sol0100/rdr/2N135251689xyl0000P1234L0M1.IMG", {'x'});
    const auto other = LinearizedPairOf(edr + test::kSol100EdrRight, edr + test::kSol100Edr);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->leftEye, rdr + "2N135251689xyl0000P1234L0M1.IMG");

    // Only an EDR has a linearized product; an RDR is one already, or another kind.
    EXPECT_EQ(LinearizedProduct(rdr + test::kSol100Rad), "");
    EXPECT_EQ(LinearizedProduct(root + "/data/sol0101/edr/" + test::kSol101Edr + ".IMG"), "");
}

TEST(DerivedProducts, SplitsTheNameAroundItsType) {
    const auto parts = SplitProductName("2P-126471340EFF0000P2303L5M1.IMG");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->before, "2P-126471340");
    EXPECT_EQ(parts->type, "EFF");
    EXPECT_EQ(parts->after, "0000P2303L5M1");
    EXPECT_EQ(parts->extension, ".IMG");
    EXPECT_TRUE(IsEdrType(parts->type));
    EXPECT_FALSE(IsEdrType("RAD"));
    EXPECT_FALSE(SplitProductName("3P126471340EFF0000P2303L5M1.IMG"));
    EXPECT_FALSE(SplitProductName("2P12647134XEFF0000P2303L5M1.IMG"));
    EXPECT_FALSE(SplitProductName("2P126471340E1F0000P2303L5M1.IMG"));
}

}  // namespace
}  // namespace kobrix
