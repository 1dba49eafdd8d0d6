#include "cli/decode_output.h"

#include <gtest/gtest.h>

namespace kobrix::cli {
namespace {

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

std::string Csv(std::string_view text) {
    std::string out;
    AppendCsvField(out, text);
    return out;
}

TEST(DecodeOutput, JsonEscapesControlsAndForeignBytes) {
    EXPECT_EQ(Json("a\"b\\c"), "a\\\"b\\\\c");
    EXPECT_EQ(Json(std::string("\0\x01\n\t\x7f", 5)), "\\u0000\\u0001\\n\\t\\u007f");
    EXPECT_EQ(Json("Gr\xc3\xbc\xc3\x9f"
                   "e"),
              "Gr\xc3\xbc\xc3\x9f"
              "e");                                            // valid UTF-8 stays
    EXPECT_EQ(Json("\xff\xfe"), "\\u00ff\\u00fe");             // stray bytes
    EXPECT_EQ(Json("\xc3"), "\\u00c3");                        // cut sequence
    EXPECT_EQ(Json("\xe0\x80\x80"), "\\u00e0\\u0080\\u0080");  // overlong
    EXPECT_EQ(Json("\xed\xa0\x80"), "\\u00ed\\u00a0\\u0080");  // surrogate
    EXPECT_EQ(Json("\xf0\x9f\x9a\x80"), "\xf0\x9f\x9a\x80");   // astral
}

TEST(DecodeOutput, CsvQuotesOnlyWhenNeeded) {
    EXPECT_EQ(Csv("Gusev  Crater"), "Gusev  Crater");
    EXPECT_EQ(Csv("IDD & RAT."), "IDD & RAT.");
    EXPECT_EQ(Csv("In-Situ instr. (APXS, MB, MI.)"), "\"In-Situ instr. (APXS, MB, MI.)\"");
    EXPECT_EQ(Csv("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(Csv(" lead"), "\" lead\"");
    EXPECT_EQ(Csv("a\nb"), "\"a\nb\"");
}

}  // namespace
}  // namespace kobrix::cli
