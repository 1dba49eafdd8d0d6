#pragma once

#include <array>
#include <span>
#include <string_view>

namespace kobrix {

// The character sets the tagging tool and the language window offer, by the codes the
// original platform gave them. An empty label is one of the language window's two empty
// entries, which change nothing.
struct CharsetEntry {
    std::string_view label;  // "b2 - ARABIC_CHARSET"
    int code = 0;            // 178
};
// The nineteen entries, in list order.
std::span<const CharsetEntry> CharsetEntries();
// The language window's list: the nineteen and two empty ones.
inline constexpr int kLanguageWindowCharsetRows = 21;

struct LanguageEntry {
    std::string_view label;  // "2. Chinese"
    int code = 0;            // the text's character set
    std::string_view font;   // the font it asks for ("SimHei")
    int charsetEntry = 0;    // index into CharsetEntries()
    bool appliesToMainWindow = false;
    std::array<std::string_view, 4> fontFiles{};  // loaded first by the language window
};
std::span<const LanguageEntry> LanguageEntries();

// The names of the eighteen character sets, sorted, as "Show" lists them.
std::span<const std::string_view> SortedCharsetNames();

// The index of the entry whose code is `code`, or -1.
int CharsetEntryForCode(int code);

}  // namespace kobrix
