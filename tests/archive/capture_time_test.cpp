#include "archive/capture_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "archive/display_rule.h"
#include "decode/date_time.h"

namespace kobrix {
namespace {

std::int64_t Ms(int year, int month, int day, int hour, int minute, int second, int ms) {
    return DateTimeToMs(EncodeDateTime(year, month, day, hour, minute, second, ms));
}

// A hand-made attached PDS3 label: the facts given, and the image object's sample bits.
LabelFacts Label(const std::string& facts, int bits = 16) {
    return ParseLabel(ArchiveFormat::Pds3,
                      "PDS_VERSION_ID = PDS3\r\n" + facts +
                          "OBJECT = IMAGE\r\n  LINES = 2\r\n  LINE_SAMPLES = 2\r\n"
                          "  SAMPLE_TYPE = MSB_UNSIGNED_INTEGER\r\n  SAMPLE_BITS = " +
                          std::to_string(bits) + "\r\nEND_OBJECT = IMAGE\r\nEND\r\n");
}

// The capture time the panel shows for 2P241328935...: the clock's plain arithmetic gives
// Saturday Aug 25 2007 15:47:50 and 816 ms.
const DateTime kPanelUtc = EncodeDateTime(2007, 8, 25, 15, 47, 50, 816);

TEST(LabelTime, ReadsCalendarAndDayOfYearForms) {
    const std::int64_t expected = Ms(2004, 1, 4, 12, 0, 0, 123);
    EXPECT_EQ(ParseLabelTime("2004-01-04T12:00:00.123Z"), expected);
    EXPECT_EQ(ParseLabelTime("2004-01-04T12:00:00.123"), expected);
    EXPECT_EQ(ParseLabelTime("2004-004T12:00:00.123Z"), expected);
    // The last day of a leap year by its number; seconds and fractions may be left out.
    EXPECT_EQ(ParseLabelTime("2004-366T23:59"), Ms(2004, 12, 31, 23, 59, 0, 0));
    EXPECT_EQ(ParseLabelTime("2007-08-25"), Ms(2007, 8, 25, 0, 0, 0, 0));
    // Fractions finer than a millisecond are rounded, not cut.
    EXPECT_EQ(ParseLabelTime("2007-08-25T15:47:50.8165Z"), Ms(2007, 8, 25, 15, 47, 50, 817));
    EXPECT_EQ(ParseLabelTime("2007-08-25T15:47:50.8164Z"), Ms(2007, 8, 25, 15, 47, 50, 816));
    EXPECT_EQ(ParseLabelTime("2007-08-25T15:47:50.5"), Ms(2007, 8, 25, 15, 47, 50, 500));
}

TEST(LabelTime, RefusesWhatIsNoTime) {
    for (const char* text :
         {"", "N/A", "UNK", "2005-366T00:00:00", "2007-02-29T00:00:00", "2007-13-01T00:00:00",
          "2007-08-25T24:00:00", "2007-08-25T15:60", "2007-08-25T15:47:50.",
          "2007-08-25T15:47:50 and more", "07-08-25T15:47:50", "2007-8-25"}) {
        EXPECT_EQ(ParseLabelTime(text), std::nullopt) << text;
    }
}

TEST(ArchiveAttributes, ShowsTheLabelFactsAndTheTrueTimeAgainstThePanel) {
    const LabelFacts facts = Label(
        "START_TIME = 2007-08-25T15:48:21.816Z\r\nPLANET_DAY_NUMBER = 1295\r\n"
        "LOCAL_TRUE_SOLAR_TIME = \"12:00:12\"\r\n",
        12);
    const ArchiveAttributes line = ArchiveAttributesLine(facts, "1295", kPanelUtc);
    EXPECT_EQ(line.text,
              "PDS3  12 bit  START_TIME 2007-08-25T15:48:21.816Z  sol 1295  LTST 12:00:12"
              "  label - panel UTC +31 s");
    EXPECT_FALSE(line.solDiffers);

    // A label earlier than the clock's arithmetic, by 20 minutes and a half-second rounded
    // away from zero.
    const LabelFacts early = Label(
        "START_TIME = 2007-08-25T15:27:50.316Z\r\nPLANET_DAY_NUMBER = 1295\r\n"
        "LOCAL_TRUE_SOLAR_TIME = \"11:40:00\"\r\n");
    EXPECT_EQ(ArchiveAttributesLine(early, "1295", kPanelUtc).text,
              "PDS3  16 bit  START_TIME 2007-08-25T15:27:50.316Z  sol 1295  LTST 11:40:00"
              "  label - panel UTC -1201 s");
    // The same time on the day-of-year form.
    const LabelFacts sameTime = Label("START_TIME = 2007-237T15:47:50.816\r\n");
    EXPECT_NE(ArchiveAttributesLine(sameTime, "1295", kPanelUtc).text.find("UTC 0 s"),
              std::string::npos);
}

TEST(ArchiveAttributes, ASolOtherThanThePanelsIsMarked) {
    const LabelFacts facts = Label(
        "START_TIME = 2007-08-25T15:48:21.816Z\r\n"
        "PLANET_DAY_NUMBER = 1294\r\n");
    EXPECT_TRUE(ArchiveAttributesLine(facts, "1295", kPanelUtc).solDiffers);
    EXPECT_TRUE(ArchiveAttributesLine(facts, "1293", kPanelUtc).solDiffers);
    EXPECT_FALSE(ArchiveAttributesLine(facts, "1294", kPanelUtc).solDiffers);
    // A panel without a sol (a name that is no product name) has nothing to compare.
    EXPECT_FALSE(ArchiveAttributesLine(facts, "Invalid", std::nullopt).solDiffers);
    EXPECT_FALSE(ArchiveAttributesLine(facts, "", std::nullopt).solDiffers);
}

TEST(ArchiveAttributes, SaysWhatTheLabelLacks) {
    // No facts at all, no sample bits, and a name that gave the panel no time.
    const LabelFacts bare = ParseLabel(ArchiveFormat::Vicar, "LBLSIZE=64 NL=2 NS=2");
    const ArchiveAttributes line = ArchiveAttributesLine(bare, "1295", kPanelUtc);
    EXPECT_EQ(line.text.substr(0, 5), "VICAR");
    EXPECT_NE(line.text.find("START_TIME ?  sol ?  LTST ?"), std::string::npos) << line.text;
    EXPECT_EQ(line.text.find("label - panel"), std::string::npos);
    EXPECT_FALSE(line.solDiffers);

    // A START_TIME that is no time is shown as written, without a difference.
    const LabelFacts unknown = Label("START_TIME = \"UNK\"\r\nPLANET_DAY_NUMBER = 12\r\n");
    const ArchiveAttributes odd = ArchiveAttributesLine(unknown, "12", kPanelUtc);
    EXPECT_NE(odd.text.find("START_TIME UNK  sol 12  LTST ?"), std::string::npos) << odd.text;
    EXPECT_EQ(odd.text.find("label - panel"), std::string::npos);
    // A good time but no panel time either.
    const LabelFacts good = Label("START_TIME = 2007-08-25T15:48:21.816Z\r\n");
    EXPECT_EQ(ArchiveAttributesLine(good, "Invalid", std::nullopt).text.find("label - panel"),
              std::string::npos);
}

TEST(SampleReadout, GivesTheStoredValueOfEachType) {
    const std::vector<std::uint16_t> edr = {0, 4095, 17, 2048};
    const SampleView view16{SampleType::UInt16, 2, 2, 1, edr.data()};
    EXPECT_EQ(SampleValueText(view16, 1, 0), "sample 4095");
    EXPECT_EQ(SampleValueText(view16, 1, 1), "sample 2048");
    EXPECT_EQ(SampleValue(view16, 0, 0, 1), 17.0);

    const std::vector<std::int16_t> signedSamples = {-32768, -1};
    EXPECT_EQ(SampleValueText({SampleType::Int16, 2, 1, 1, signedSamples.data()}, 0, 0),
              "sample -32768");

    const std::vector<float> rdr = {0.125f, std::numeric_limits<float>::quiet_NaN(),
                                    -std::numeric_limits<float>::infinity(), 1234567.8f};
    const SampleView real{SampleType::Float32, 4, 1, 1, rdr.data()};
    EXPECT_EQ(SampleValueText(real, 0, 0), "sample 0.125");
    EXPECT_EQ(SampleValueText(real, 1, 0), "sample NaN");
    EXPECT_EQ(SampleValueText(real, 2, 0), "sample -inf");
    EXPECT_EQ(SampleValueText(real, 3, 0), "sample 1234568");

    // Three bands, band after band: the pixel's three samples.
    const std::vector<std::uint8_t> colour = {1, 2, 10, 20, 100, 200};
    const SampleView bands{SampleType::UInt8, 2, 1, 3, colour.data()};
    EXPECT_EQ(SampleValueText(bands, 1, 0), "samples (2, 20, 200)");
}

TEST(SampleReadout, SaysNothingOutsideThePicture) {
    const std::vector<std::uint16_t> edr = {1, 2, 3, 4};
    const SampleView view{SampleType::UInt16, 2, 2, 1, edr.data()};
    EXPECT_EQ(SampleValueText(view, 2, 0), "");
    EXPECT_EQ(SampleValueText(view, 0, -1), "");
    EXPECT_EQ(SampleValueText(SampleView{}, 0, 0), "");
}

}  // namespace
}  // namespace kobrix
