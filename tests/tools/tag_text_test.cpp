#include "tools/core/tag_text.h"

#include <set>

#include <gtest/gtest.h>

#include "tools/core/charsets.h"

namespace kobrix {
namespace {

TEST(TagText, PresetsByWidthAndTheBottomLine) {
    EXPECT_EQ(TagPresetForWidth(63), (TagPreset{2, 2, 7}));
    EXPECT_EQ(TagPresetForWidth(64), (TagPreset{2, 2, 8}));
    EXPECT_EQ(TagPresetForWidth(255), (TagPreset{4, 4, 10}));
    EXPECT_EQ(TagPresetForWidth(511), (TagPreset{5, 5, 12}));
    EXPECT_EQ(TagPresetForWidth(1023), (TagPreset{7, 7, 16}));
    EXPECT_EQ(TagPresetForWidth(1024), (TagPreset{10, 10, 28}));
    EXPECT_EQ(BottomLeftTop(1024, 28), 968);
}

TEST(TagText, AutomaticTagPartByPart) {
    const AutoTagValues v{
        "2", "Spirit", "1295", "21", "35", "57", "48", "55", "Saturday Aug 25 2007 15:47:50"};
    AutoTagParts none;
    none.roverName = none.sol = false;
    EXPECT_EQ(BuildAutoTag(none, v), "");
    EXPECT_EQ(BuildAutoTag(AutoTagParts{}, v), "Spirit Sol 1295 ");
    const AutoTagParts all{true, true, true, true, true, true, true, true};
    EXPECT_EQ(BuildAutoTag(all, v),
              "Mer2 Spirit Sol 1295 Hr21Min35:5748:55Saturday Aug 25 2007 15:47:50 UTC");
    EXPECT_EQ(PictureAttributesText(1024, 768, PixelFormat::Bits24),
              "1024 by 768 pixels in 24 bit colour");
}

TEST(TagText, SaveNamesCountPastEveryFormatAndTargetsFollowTheFilter) {
    std::set<std::string> files{"B-Tag01.jpg", "B-TAG02.gif"};
    const auto taken = [&](const std::string& name) { return files.count(name) > 0; };
    EXPECT_EQ(TagSaveName("B", taken), "B-Tag03");
    files.clear();
    EXPECT_EQ(TagSaveName("B", taken), "B-Tag01");

    EXPECT_EQ(TagSaveTargetFor("/t/x-Tag01.png", 2).path, "/t/X-TAG01.gif");
    EXPECT_EQ(TagSaveTargetFor("/t/x", 2).format, TagSaveFormat::Gif);
    EXPECT_EQ(TagSaveTargetFor("/t/x", 4).path, "/t/X.jpg");
    EXPECT_EQ(TagSaveTargetFor("/t/x", 3).format, TagSaveFormat::Jpeg);
    for (int other : {1, 5, 6, 7, 8}) {
        EXPECT_EQ(TagSaveTargetFor("/t/x.jpg", other).path, "/t/X.bmp") << other;
    }
}

TEST(Charsets, ListsMatchTheirCodes) {
    ASSERT_EQ(CharsetEntries().size(), 19u);
    EXPECT_EQ(CharsetEntries()[3].code, 136);
    EXPECT_EQ(CharsetEntryForCode(204), 13);
    EXPECT_EQ(SortedCharsetNames().size(), 18u);
    ASSERT_EQ(LanguageEntries().size(), 14u);
    int shared = 0;
    for (const LanguageEntry& language : LanguageEntries()) {
        // A language applied to the main window shows the entry of its own code.
        if (language.appliesToMainWindow) {
            EXPECT_EQ(CharsetEntries()[static_cast<std::size_t>(language.charsetEntry)].code,
                      language.code)
                << language.label;
            ++shared;
        }
    }
    EXPECT_EQ(shared, 9);
}

}  // namespace
}  // namespace kobrix
