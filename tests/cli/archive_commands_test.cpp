#include <gtest/gtest.h>

#include <sstream>

#include "archive/archive_file.h"
#include "cli/decode_command.h"
#include "cli/image_commands.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "platform/system_time_zone.h"
#include "tests/archive/archive_builder.h"
#include "tests/cli/cli_test_support.h"

namespace kobrix::cli {
namespace {

using Output = testing::CommandOutput;

const std::string kEdrName = "2P126471340EFF0000P2303L5M1.IMG";

std::string WriteEdr(const test::ScratchDir& dir, const std::string& name = kEdrName) {
    test::ArchiveLayout layout;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(100 + 300 * i);
    layout.extraLabel = test::kFactLines;
    return test::Put(dir, name, test::AttachedPds3(layout, true));
}

Output Convert(const std::vector<std::string>& args) {
    return testing::Captured(
        [&](std::ostream& out, std::ostream& err) { return RunConvertCommand(args, out, err); });
}

Output Decode(const std::vector<std::string>& args) {
    SystemTimeZone zone;
    return testing::Captured([&](std::ostream& out, std::ostream& err) {
        return RunDecodeCommand(args, zone, DateNames::English(), out, err);
    });
}

TEST(ArchiveCommands, InfoPrintsTheFormatAndTheLabelFacts) {
    test::ScratchDir dir;
    const std::string edr = WriteEdr(dir);
    const std::string broken = test::Put(dir, "broken.IMG", {'P', 'D', 'S'});
    std::ostringstream out, err;
    EXPECT_EQ(RunInfoCommand({edr, broken}, out, err), 1);
    EXPECT_EQ(out.str(), edr +
                             ": PDS3, 4 x 3 pixels, 1 band, unsigned integer, 16 bits\n"
                             "PRODUCT_ID = 2P126471340EFF0000P2303L5M1\n"
                             "INSTRUMENT_ID = PANCAM_LEFT\n"
                             "START_TIME = 2004-01-04T12:00:00.123Z\n"
                             "SPACECRAFT_CLOCK_START_COUNT = 126471340.466\n"
                             "PLANET_DAY_NUMBER = 1\n"
                             "LOCAL_TRUE_SOLAR_TIME = 13:45:12\n");
    EXPECT_EQ(err.str(), broken + ": no label in the file and no .LBL beside it\n");
}

TEST(ArchiveCommands, ConvertWritesTheDisplayPictureAndNothingOnError) {
    test::ScratchDir dir;
    const std::string edr = WriteEdr(dir);
    const Output plain = Convert({edr, dir / "out.bmp"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, edr + " -> " + (dir / "out.bmp") + " (4 x 3 pixels)\n");
    EXPECT_TRUE(ReadBmpFile(dir / "out.bmp").SamePixels(ReadArchivePicture(edr)));

    // 0 is the whole range: the ramp 100 .. 3400 spans 0 .. 255 evenly.
    ASSERT_EQ(Convert({"--stretch", "0", edr, dir / "whole.bmp"}).status, 0);
    const Bitmap24 whole = ReadBmpFile(dir / "whole.bmp");
    EXPECT_EQ(whole.Row(0)[0], 0);
    EXPECT_EQ(whole.Row(1)[3], 116);  // sample 5: floor(1500 * 255 / 3300 + 0.5)
    EXPECT_EQ(whole.Row(2)[9], 255);

    const auto names = test::Names(dir);
    for (const std::string bad : {"-1", "50", "49.95", "nan", "x", ""}) {
        const Output out = Convert({edr, dir / "bad.bmp", "--stretch", bad});
        EXPECT_EQ(out.status, 2) << bad;
        EXPECT_EQ(out.err, "kobrix-cli convert: --stretch takes a percentage from 0 to 49.9\n");
    }
    Bitmap24 jpegSource(2, 2);
    WriteJpegFile(jpegSource, dir / "plain.jpg");
    EXPECT_EQ(Convert({dir / "plain.jpg", dir / "bad.bmp", "--stretch", "1"}).status, 2);

    // A damaged input leaves an existing output as it was.
    std::vector<std::uint8_t> cut = test::ReadBytes(edr);
    cut.resize(cut.size() - 1);
    const std::string damaged = test::Put(dir, "cut.IMG", cut);
    const Output failed = Convert({damaged, dir / "out.bmp"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find(damaged + ": the label places samples"), std::string::npos)
        << failed.err;
    EXPECT_TRUE(ReadBmpFile(dir / "out.bmp").SamePixels(ReadArchivePicture(edr)));
    EXPECT_EQ(Convert({damaged, dir / "new.bmp"}).status, 1);
    auto after = test::Names(dir);
    EXPECT_EQ(std::count(after.begin(), after.end(), "new.bmp"), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), "bad.bmp"), 0);
}

TEST(ArchiveCommands, DecodeLabelsAddsTheFactsOfArchiveFilesOnly) {
    test::ScratchDir dir;
    WriteEdr(dir);
    Bitmap24 jpegSource(2, 2);
    WriteJpegFile(jpegSource, dir / "2P126471340EFF0000P2303R5M1.JPG");
    test::Put(dir, "2P126471340EFF0000P2303L6M1.LBL", {'n', 'o'});

    const Output json = Decode({"--json", "--labels", dir / ""});
    EXPECT_EQ(json.status, 1);  // the broken label
    EXPECT_EQ(json.err, "kobrix-cli: " + (dir / "2P126471340EFF0000P2303L6M1.LBL") +
                            ": not a PDS3, PDS4, VICAR or ISIS3 file\n");
    std::istringstream lines(json.out);
    std::string edrLine, brokenLine, jpegLine;
    std::getline(lines, edrLine);
    std::getline(lines, brokenLine);
    std::getline(lines, jpegLine);
    EXPECT_NE(edrLine.find("\"name\":\"" + kEdrName + "\""), std::string::npos) << edrLine;
    const std::string facts =
        (",\"label\":{\"format\":\"PDS3\",\"PRODUCT_ID\":\"2P126471340EFF0000P2303L5M1\","
         "\"INSTRUMENT_ID\":\"PANCAM_LEFT\",\"START_TIME\":\"2004-01-04T12:00:00.123Z\","
         "\"SPACECRAFT_CLOCK_START_COUNT\":\"126471340.466\",\"PLANET_DAY_NUMBER\":\"1\","
         "\"LOCAL_TRUE_SOLAR_TIME\":\"13:45:12\"}");
    EXPECT_NE(edrLine.find(facts + "}"), std::string::npos) << edrLine;
    EXPECT_NE(brokenLine.find(",\"label\":null}"), std::string::npos) << brokenLine;
    EXPECT_EQ(jpegLine.find("\"label\""), std::string::npos) << jpegLine;

    // The same records without --labels, but for the label objects.
    const Output bare = Decode({"--json", dir / ""});
    EXPECT_EQ(bare.status, 0);
    std::string stripped = json.out;
    stripped.erase(stripped.find(facts), facts.size());
    stripped.erase(stripped.find(",\"label\":null"), 13);
    EXPECT_EQ(stripped, bare.out);

    // Shared runs read the same labels: the parts joined are the whole.
    const Output first = Decode({"--json", "--labels", "--shard", "1/2", dir / ""});
    const Output second = Decode({"--json", "--labels", "--shard", "2/2", dir / ""});
    EXPECT_EQ(first.out + second.out, json.out);
    EXPECT_EQ(first.err + second.err, json.err);

    const Output csv = Decode({"--csv", "--labels", dir / (kEdrName)});
    EXPECT_EQ(csv.status, 0);
    const std::string header = csv.out.substr(0, csv.out.find("\r\n"));
    EXPECT_TRUE(
        header.ends_with(",label_format,label_product_id,label_instrument_id,label_start_time,"
                         "label_spacecraft_clock_start_count,label_planet_day_number,"
                         "label_local_true_solar_time"))
        << header;
    EXPECT_TRUE(
        csv.out.ends_with(",PDS3,2P126471340EFF0000P2303L5M1,PANCAM_LEFT,2004-01-04T12:00:00.123Z,"
                          "126471340.466,1,13:45:12\r\n"))
        << csv.out;
}

TEST(ArchiveCommands, TheProgramReadsArchiveFilesInEveryPictureCommand) {
    test::ScratchDir dir;
    const std::string left = WriteEdr(dir);
    const std::string right = WriteEdr(dir, "2P126471340EFF0000P2303R5M1.IMG");
    const auto result = testing::RunCommand(std::string(KOBRIX_CLI_PATH) + " anaglyph '" + right +
                                            "' '" + left + "' -o '" + (dir / "ana.bmp") + "' 2>&1");
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(ReadBmpFile(dir / "ana.bmp").Width(), 4);
}

}  // namespace
}  // namespace kobrix::cli
