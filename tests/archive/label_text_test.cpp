#include "archive/label_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "imaging/image_error.h"
#include "tests/archive/archive_builder.h"

namespace kobrix {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Problem(ArchiveFormat format, const std::string& text) {
    try {
        ParseLabel(format, text);
    } catch (const ImageError& e) {
        return e.Problem();
    }
    return "no error";
}

TEST(LabelText, TellsTheFormatsApartByTheirFirstBytes) {
    EXPECT_EQ(SniffLabel(Bytes("PDS_VERSION_ID = PDS3\r\n")), ArchiveFormat::Pds3);
    EXPECT_EQ(SniffLabel(Bytes("LBLSIZE=1024 FORMAT='HALF'")), ArchiveFormat::Vicar);
    EXPECT_EQ(SniffLabel(Bytes("<?xml version=\"1.0\"?>\n<Product_Observational xmlns=\"x\">")),
              ArchiveFormat::Pds4);
    EXPECT_EQ(SniffLabel(Bytes("Object = IsisCube\n  Object = Core\n")), ArchiveFormat::Isis3);
    EXPECT_EQ(SniffLabel(Bytes("\xFF\xD8\xFF\xE0 JFIF")), std::nullopt);
    EXPECT_EQ(SniffLabel(Bytes("<html><body>")), std::nullopt);
    EXPECT_EQ(SniffLabel(Bytes("")), std::nullopt);
}

TEST(LabelText, ReadsTheFactsAsTheLabelWritesThem) {
    const std::string pds3 = "PDS_VERSION_ID = PDS3\r\n/* a comment */\r\n" + test::kFactLines +
                             "OBJECT = IMAGE_REQUEST_PARMS\r\n  PRODUCT_ID = \"INNER\"\r\n"
                             "END_OBJECT = IMAGE_REQUEST_PARMS\r\n"
                             "NOTE = \"two\r\n  lines\"\r\n^IMAGE = (\"2P1.IMG\", 1)\r\n"
                             "OBJECT = IMAGE\r\n SAMPLE_TYPE = MSB_INTEGER\r\n SAMPLE_BITS = 16\r\n"
                             "END_OBJECT = IMAGE\r\nEND\r\nbinary \x01\x02 after the end";
    const LabelFacts facts = ParseLabel(ArchiveFormat::Pds3, pds3);
    EXPECT_EQ(facts.values[0], "2P126471340EFF0000P2303L5M1");  // the top level wins
    EXPECT_EQ(facts.values[1], "PANCAM_LEFT");
    EXPECT_EQ(facts.values[2], "2004-01-04T12:00:00.123Z");
    EXPECT_EQ(facts.values[3], "126471340.466");
    EXPECT_EQ(facts.values[4], "1");
    EXPECT_EQ(facts.values[5], "13:45:12");
    EXPECT_EQ(facts.dataFiles, (std::vector<std::string>{"2P1.IMG"}));
    EXPECT_EQ(facts.sampleType, "MSB_INTEGER");
    EXPECT_EQ(facts.sampleBits, 16);

    EXPECT_EQ(facts.labelBytes, pds3.find("binary"));  // the END line with its break

    const LabelFacts missing = ParseLabel(ArchiveFormat::Pds3, "PDS_VERSION_ID = PDS3\nEND\n");
    for (const auto& value : missing.values) EXPECT_FALSE(value);

    // A quote in a comment after a value opens no string.
    const LabelFacts commented =
        ParseLabel(ArchiveFormat::Pds3,
                   "PDS_VERSION_ID = PDS3\r\nINSTRUMENT_ID = \"PANCAM\" /* 2\" lens */\r\n"
                   "PLANET_DAY_NUMBER = 12 /* sol \"12 */\r\nEND");
    EXPECT_EQ(commented.values[1], "PANCAM");
    EXPECT_EQ(commented.values[4], "12");

    test::ArchiveLayout layout;
    const std::string vicar = test::VicarLabel(layout,
                                               "PROPERTY='IDENTIFICATION' PRODUCT_ID='1N''X' "
                                               "START_TIME='2004-01-05T00:00:00Z'");
    const LabelFacts vicarFacts = ParseLabel(ArchiveFormat::Vicar, vicar);
    EXPECT_EQ(vicarFacts.values[0], "1N''X");
    EXPECT_EQ(vicarFacts.values[2], "2004-01-05T00:00:00Z");
    EXPECT_EQ(vicarFacts.sampleType, "HALF");

    const std::string pds4 =
        "<?xml version=\"1.0\"?><Product_Observational xmlns=\"x\"><!-- <sol_number>9</sol_number> "
        "-->"
        "<Time_Coordinates><start_date_time>2004-01-04T12:00:00Z</start_date_time></"
        "Time_Coordinates>"
        "<msn:sol_number>12</msn:sol_number><File><file_name>a.dat</file_name></File>"
        "<data_type>UnsignedMSB2</data_type></Product_Observational>";
    const LabelFacts xml = ParseLabel(ArchiveFormat::Pds4, pds4);
    EXPECT_EQ(xml.values[2], "2004-01-04T12:00:00Z");
    EXPECT_EQ(xml.values[4], "12");
    EXPECT_EQ(xml.dataFiles, (std::vector<std::string>{"a.dat"}));
    EXPECT_EQ(xml.sampleType, "UnsignedMSB2");
}

TEST(LabelText, RefusesHostileLabels) {
    const std::string start = "PDS_VERSION_ID = PDS3\r\n";
    std::string megabyte = start;
    while (megabyte.size() < (1u << 20))
        megabyte += "NOTE = \"padding padding padding padding\"\r\n";
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, megabyte.substr(0, kMaxLabelBytes + 1)),
              "the label is longer than 256 KiB");
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, start + "A = 1\r\n"), "the label has no END line");

    std::string deep = start;
    for (int i = 0; i < 1000; ++i) deep += "OBJECT = X\r\n";
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, deep + "END\r\n"),
              "the label nests objects deeper than 24 levels");
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, start + "A = " + std::string(1000, '(') + "\r\nEND\r\n"),
              "the label nests values deeper than 24 levels");
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, start + "A = \"open\r\nEND\r\n"),
              "the label has an unterminated string");
    EXPECT_EQ(Problem(ArchiveFormat::Pds3, start + "END_OBJECT = IMAGE\r\nEND\r\n"),
              "the label closes an object it never opened");

    for (const std::string name : {"../up.IMG", "/etc/passwd", "/vsicurl/http:x", "sub\\\\a.IMG"}) {
        EXPECT_EQ(Problem(ArchiveFormat::Pds3, start + "^IMAGE = (\"" + name + "\", 1)\r\nEND\r\n"),
                  "the label names a data file outside its folder (\"" + name + "\")");
    }
    std::string xml = "<Product_Observational>";
    for (int i = 0; i < 1000; ++i) xml += "<a>";
    EXPECT_EQ(Problem(ArchiveFormat::Pds4, xml), "the label nests elements deeper than 24 levels");
    EXPECT_EQ(Problem(ArchiveFormat::Pds4, "<Product_Observational><file_name>../x</file_name>"),
              "the label names a data file outside its folder (\"../x\")");
    EXPECT_EQ(Problem(ArchiveFormat::Pds4, "<Product_Observational><a>"),
              "the XML label ends before its last element closes");
    EXPECT_EQ(Problem(ArchiveFormat::Vicar, "LBLSIZE=99999999 FORMAT='BYTE'"),
              "the label is longer than 256 KiB");
    EXPECT_EQ(Problem(ArchiveFormat::Vicar, "LBLSIZE=x"), "the VICAR label has no size");
}

TEST(LabelText, AcceptsOnlyTheSampleTypesTheArchiveUses) {
    const auto check = [](const std::string& type, int bits) {
        LabelFacts facts;
        facts.sampleType = type;
        facts.sampleBits = bits;
        try {
            CheckSampleType(facts);
        } catch (const ImageError& e) {
            return e.Problem();
        }
        return std::string("ok");
    };
    for (const std::string type :
         {"UNSIGNED_INTEGER", "MSB_INTEGER", "LSB_INTEGER", "MSB_UNSIGNED_INTEGER"}) {
        EXPECT_EQ(check(type, 8), "ok");
        EXPECT_EQ(check(type, 16), "ok");
        EXPECT_EQ(check(type, 32), "ok");
    }
    EXPECT_EQ(check("IEEE_REAL", 32), "ok");
    EXPECT_EQ(check("PC_REAL", 64), "ok");
    EXPECT_EQ(check("VAX_REAL", 32), "unsupported sample type VAX_REAL of 32 bits");
    EXPECT_EQ(check("MSB_UNSIGNED_INTEGER", 12),
              "unsupported sample type MSB_UNSIGNED_INTEGER of 12 bits");
    EXPECT_EQ(check("CHARACTER", 8), "unsupported sample type CHARACTER of 8 bits");
    EXPECT_EQ(check("IEEE_REAL", 16), "unsupported sample type IEEE_REAL of 16 bits");
}

}  // namespace
}  // namespace kobrix

namespace kobrix {
namespace {

// The fuzzer's seeds: every label seed parses, except those named broken-*, which are
// refused with a message.
TEST(LabelText, FuzzSeedsParseOrAreRefusedAsNamed) {
    int labels = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KOBRIX_ARCHIVE_CORPUS_DIR)) {
        const std::string name = entry.path().filename().string();
        const std::vector<std::uint8_t> bytes = test::ReadBytes(entry.path().string());
        const std::optional<ArchiveFormat> format = SniffLabel(bytes);
        if (name.rfind("display-", 0) == 0) continue;
        ASSERT_TRUE(format) << name;
        ++labels;
        const std::string text(bytes.begin(), bytes.end());
        bool refused = false;
        try {
            CheckSampleType(ParseLabel(*format, text));
        } catch (const ImageError& e) {
            refused = true;
            EXPECT_FALSE(e.Problem().empty());
        }
        EXPECT_EQ(refused, name.rfind("broken-", 0) == 0) << name;
    }
    EXPECT_GE(labels, 10);
}

}  // namespace
}  // namespace kobrix
