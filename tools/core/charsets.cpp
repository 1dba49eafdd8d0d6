#include "tools/core/charsets.h"

namespace kobrix {
namespace {

constexpr CharsetEntry kCharsets[] = {
    {"0 - ANSI_CHARSET", 0},          {"b2 - ARABIC_CHARSET", 178},
    {"ba - BALTIC_CHARSET", 186},     {"88 - CHINESEBIG5_CHARSET", 136},
    {"1 - DEFAULT_CHARSET", 1},       {"ee - EASTEUROPE_CHARSET", 238},
    {"86 - GB2312_CHARSET", 134},     {"a1 - GREEK_CHARSET", 161},
    {"81 - HANGEUL_CHARSET", 129},    {"b1 - HEBREW_CHARSET", 177},
    {"82 - JOHAB_CHARSET", 130},      {"4d - MAC_CHARSET", 77},
    {"ff - OEM_CHARSET", 255},        {"cc - RUSSIAN_CHARSET", 204},
    {"80 - SHIFTJIS_CHARSET", 128},   {"2 - SYMBOL_CHARSET", 2},
    {"de - THAI_CHARSET", 222},       {"a2 - TURKISH_CHARSET", 162},
    {"a3 - VIETNAMESE_CHARSET", 163},
};

// Indexes into kCharsets.
constexpr int kAnsi = 0, kArabic = 1, kBig5 = 3, kDefault = 4, kGreek = 7, kHangeul = 8,
              kHebrew = 9, kRussian = 13, kShiftJis = 14, kThai = 16, kTurkish = 17;

constexpr LanguageEntry kLanguages[] = {
    {"1. Arabic (Traditional)",
     178,
     "Traditional Arabic",
     kArabic,
     true,
     {"tradbdo.ttf", "trado.ttf"}},
    {"2. Chinese", 136, "SimHei", kBig5, true, {"simhei.ttf"}},
    {"3. English", 0, "Arial", kAnsi, false, {"arial.ttf"}},
    {"4. French", 0, "WST_Fren", kDefault, false, {"wst_fren.mon"}},
    {"5. German", 0, "WST_Germ", kDefault, false, {"wst_germ.fon"}},
    {"6. Greek", 161, "?", kGreek, true, {}},
    {"7. Hebrew", 177, "Narkisim", kHebrew, true, {"nrkis.ttf"}},
    {"8. Japanese", 128, "MS Mincho", kShiftJis, true, {"msmincho.ttc"}},
    {"9. Klingon", 0, "BernyKlingon", kAnsi, false, {"BKLINGON.TTF"}},
    {"10. Korean", 129, "Korean", kHangeul, true, {"UnBatangODal_0427_ship.ttf"}},
    {"11. Russian",
     204,
     "Arial",
     kRussian,
     true,
     {"UNKOI8B.TTF", "UNKOI8BI.TTF", "UNKOI8I.TTF", "UNKOI8N.TTF"}},
    {"12. Thai", 222, "AngsanaUPC", kThai, true, {}},
    {"13. Turkish", 162, "?", kTurkish, true, {}},
    {"14. Physics Symbols", 0, "Physics Symbols", kAnsi, false, {}},
};

constexpr std::string_view kSortedNames[] = {
    "ANSI_CHARSET",    "ARABIC_CHARSET",     "BALTIC_CHARSET",   "CHINESEBIG5_CHARSET",
    "DEFAULT_CHARSET", "EASTEUROPE_CHARSET", "GB2312_CHARSET",   "GREEK_CHARSET",
    "HANGEUL_CHARSET", "HEBREW_CHARSET",     "JOHAB_CHARSET",    "MAC_CHARSET",
    "OEM_CHARSET",     "RUSSIAN_CHARSET",    "SHIFTJIS_CHARSET", "SYMBOL_CHARSET",
    "THAI_CHARSET",    "TURKISH_CHARSET",
};

}  // namespace

std::span<const CharsetEntry> CharsetEntries() {
    return kCharsets;
}

std::span<const LanguageEntry> LanguageEntries() {
    return kLanguages;
}

std::span<const std::string_view> SortedCharsetNames() {
    return kSortedNames;
}

int CharsetEntryForCode(int code) {
    for (std::size_t i = 0; i < std::size(kCharsets); ++i) {
        if (kCharsets[i].code == code) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kobrix
