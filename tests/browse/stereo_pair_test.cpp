#include "browse/stereo_pair.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

constexpr const char* kRight = "2P241328935EFFAUCTP2582R5M1";

TEST(PartnerNameTest, ExactThenLowerExtensionThenAnyCase) {
    const std::string wanted = std::string(kRight) + ".jpg";
    const std::string upper = std::string(kRight) + ".JPG";
    const std::string other = "2P241328935EFFAUCTP2582R6M1.jpg";
    EXPECT_EQ(ChoosePartnerName(wanted, {upper, wanted}), wanted);
    EXPECT_EQ(ChoosePartnerName(wanted, {upper}), upper);
    EXPECT_EQ(ChoosePartnerName(wanted, {other}), std::nullopt);
    EXPECT_EQ(ChoosePartnerName(wanted, {}), std::nullopt);
    // A name written in small letters with ".jpg" comes before one with ".JPG".
    const std::string small = "2p241328935effauctp2582r5m1.jpg";
    EXPECT_EQ(ChoosePartnerName(wanted, {upper, small}), small);
}

TEST(PartnerNameTest, AnArchiveFilesPartnerKeepsItsExtensionInAnyCase) {
    const std::string wanted = std::string(kRight) + ".IMG";
    const std::string small = std::string(kRight) + ".img";
    EXPECT_EQ(ChoosePartnerName(wanted, {wanted, small}), wanted);
    EXPECT_EQ(ChoosePartnerName(wanted, {small}), small);
    // The other eye's JPEG is another file, not the archive's partner.
    EXPECT_EQ(ChoosePartnerName(wanted, {std::string(kRight) + ".jpg"}), std::nullopt);
    // The decode's ".jpg" partner paths take the file's own extension instead.
    EXPECT_EQ(WithPartnerExtension("/sol 241/" + std::string(kRight) + ".jpg", ".IMG"),
              "/sol 241/" + wanted);
    EXPECT_EQ(WithPartnerExtension("/sol 241/x.jpg", ".jpg"), "/sol 241/x.jpg");
    // A name the registered readers do not claim pairs with ".jpg", whatever its own.
    EXPECT_EQ(PartnerExtension("/sol 241/" + std::string(kRight) + ".bmp"), ".jpg");
    EXPECT_EQ(PartnerExtension("/sol 241/" + std::string(kRight) + ".JPG"), ".jpg");
}

TEST(PartnerNameTest, ResolvesOnDiskAndIgnoresStaleListEntries) {
    const auto dir = std::filesystem::temp_directory_path() / "kobrix-partner-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string upper = std::string(kRight) + ".JPG";
    std::ofstream(dir / upper) << "x";
    const std::string wanted = (dir / (std::string(kRight) + ".jpg")).string();
    EXPECT_EQ(ResolvePartnerPath(wanted, {upper}), (dir / upper).string());
    // Listed once but deleted since: nothing to load.
    std::filesystem::remove(dir / upper);
    EXPECT_EQ(ResolvePartnerPath(wanted, {upper}), "");
    // The exact name needs no list.
    std::ofstream(dir / (std::string(kRight) + ".jpg")) << "x";
    EXPECT_EQ(ResolvePartnerPath(wanted, {}), wanted);
    std::filesystem::remove_all(dir);
}

TEST(StereoStepTest, OneEntryTowardsThePartnerTwoOtherwise) {
    EXPECT_EQ(StereoStepEntries("L", true), 1);
    EXPECT_EQ(StereoStepEntries("R", false), 1);
    for (const char* eye : {"R", "l", "r", "M", "N", ""})
        EXPECT_EQ(StereoStepEntries(eye, true), 2) << eye;
    for (const char* eye : {"L", "l", "r", "M", "N", ""})
        EXPECT_EQ(StereoStepEntries(eye, false), 2) << eye;
}

TEST(StereoActionTest, MissingSideIsNamedAndHiddenAndTimesAreComposed) {
    DecodedPanel panel;
    panel.roverNumber = "2";
    panel.sol = "1295";
    panel.utcTime = "Saturday Aug 25 2007 15:47:50";
    panel.localTime = "Saturday Aug 25 2007 17:47:50";
    panel.martianLocalTime = "12:00:12";
    panel.camera = "Panoramic Camera";
    StereoViewerTexts texts;
    ApplyStereoAction(panel, {true, false, true}, "a.jpg", "b.jpg", texts);
    EXPECT_EQ(texts.rightEyeCaption, "RIGHT EYE FILE MISSING");
    EXPECT_FALSE(texts.rightPictureVisible);
    EXPECT_EQ(texts.leftEyeCaption, "b.jpg");
    EXPECT_TRUE(texts.leftPictureVisible);
    EXPECT_EQ(texts.rightEarthTime, panel.utcTime);
    EXPECT_EQ(texts.leftEarthTime, "Local Earth time: Saturday Aug 25 2007 17:47:50");
    EXPECT_EQ(texts.martianTime, "Local Martian Standard time: SOL 1295: 12:00:12 Martian Hrs.");
    ApplyStereoAction(panel, {true, true, false}, "a.jpg", "b.jpg", texts);
    EXPECT_EQ(texts.rightEyeCaption, "a.jpg");
    EXPECT_EQ(texts.leftEyeCaption, "LEFT EYE FILE MISSING");
    EXPECT_TRUE(texts.rightPictureVisible);
    EXPECT_FALSE(texts.leftPictureVisible);
}

TEST(ManualStereoTest, OnlyTheTwoEyeTextsLock) {
    EXPECT_EQ(LockSideFor("Left Eye"), LockSide::Left);
    EXPECT_EQ(LockSideFor("Right Eye"), LockSide::Right);
    for (const char* eye : {"Monoscopic", "N/A", "", "left eye"})
        EXPECT_EQ(LockSideFor(eye), LockSide::None);
}

}  // namespace
}  // namespace kobrix
