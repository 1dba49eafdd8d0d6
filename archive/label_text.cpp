#include "archive/label_text.h"

#include <algorithm>
#include <cctype>

#include "imaging/ascii_case.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

[[noreturn]] void Fail(const std::string& problem) {
    throw ImageError("", problem);
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string Unquote(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\''))) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// A data file must lie beside its label: a name with a directory in it, or one that a
// library would take for a virtual or remote path, is refused.
void CheckDataFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\:") != std::string::npos) {
        Fail("the label names a data file outside its folder (\"" + name + "\")");
    }
}

std::optional<std::size_t> FactIndex(std::string_view key) {
    for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
        if (EqualsIgnoringAsciiCase(key, kLabelFactKeys[i])) return i;
    }
    return std::nullopt;
}

// Keeps the first value a key has; a key at the top level wins over one inside an object.
void Record(LabelFacts& facts, std::array<int, kLabelFactKeys.size()>& depths, std::string_view key,
            std::string_view value, int depth) {
    const std::optional<std::size_t> index = FactIndex(key);
    if (!index) return;
    if (facts.values[*index] && depths[*index] <= depth) return;
    facts.values[*index] = Unquote(value);
    depths[*index] = depth;
}

// The file name of a pointer's value: "NAME", ("NAME", 12), ("NAME", 1200 <BYTES>) or a bare
// name; nothing for a pointer into the label's own file (a record or byte number).
std::optional<std::string> PointerFile(std::string_view value) {
    value = Trim(value);
    if (!value.empty() && value.front() == '(') {
        value.remove_prefix(1);
        value = value.substr(0, value.find_first_of(",)"));
        value = Trim(value);
    }
    if (value.empty() || std::isdigit(static_cast<unsigned char>(value.front())))
        return std::nullopt;
    return Unquote(value);
}

// ODL (PDS3) and PVL (ISIS3): KEY = value statements, OBJECT and GROUP blocks, END.
class OdlParser {
  public:
    OdlParser(std::string_view text, LabelFacts& facts) : text_(text), facts_(facts) {}

    void Run() {
        for (;;) {
            SkipBlanksAndComments();
            if (pos_ >= text_.size()) {
                if (text_.size() > kMaxLabelBytes) Fail(TooLong());
                Fail("the label has no END line");
            }
            const std::string_view key = Word();
            if (key.empty()) Fail("unreadable label statement at byte " + std::to_string(pos_));
            const std::size_t afterKey = pos_;
            SkipSpaces();
            if (pos_ < text_.size() && text_[pos_] == '=') {
                ++pos_;
                const std::string_view value = Value();
                Statement(key, value);
            } else {
                if (EqualsIgnoringAsciiCase(key, "END")) {
                    facts_.labelBytes = EndOfEndLine(afterKey);
                    return;
                }
                Statement(key, {});
            }
            if (pos_ > kMaxLabelBytes) Fail(TooLong());
        }
    }

  private:
    static std::string TooLong() {
        return "the label is longer than " + std::to_string(kMaxLabelBytes / 1024) + " KiB";
    }

    void Statement(std::string_view key, std::string_view value) {
        if (EqualsIgnoringAsciiCase(key, "OBJECT") || EqualsIgnoringAsciiCase(key, "GROUP")) {
            if (++depth_ > kMaxLabelDepth) {
                Fail("the label nests objects deeper than " + std::to_string(kMaxLabelDepth) +
                     " levels");
            }
            const std::string name = Unquote(value);
            objects_.push_back(name);
            return;
        }
        if (EqualsIgnoringAsciiCase(key, "END_OBJECT") ||
            EqualsIgnoringAsciiCase(key, "END_GROUP")) {
            if (depth_ == 0) Fail("the label closes an object it never opened");
            --depth_;
            objects_.pop_back();
            return;
        }
        if (key.front() == '^') {
            if (const std::optional<std::string> file = PointerFile(value)) {
                CheckDataFileName(*file);
                facts_.dataFiles.push_back(*file);
            }
            return;
        }
        Record(facts_, depths_, key, value, depth_);
        if (depth_ == 0 && EqualsIgnoringAsciiCase(key, "RECORD_BYTES"))
            recordBytes_ = Count(value);
        if (depth_ == 0 && EqualsIgnoringAsciiCase(key, "LABEL_RECORDS"))
            labelRecords_ = Count(value);
        const bool inImage =
            !objects_.empty() && (EqualsIgnoringAsciiCase(objects_.back(), "IMAGE") ||
                                  EqualsIgnoringAsciiCase(objects_.back(), "Pixels"));
        if (!inImage) return;
        if (EqualsIgnoringAsciiCase(key, "SAMPLE_TYPE") || EqualsIgnoringAsciiCase(key, "Type")) {
            facts_.sampleType = Unquote(value);
        } else if (EqualsIgnoringAsciiCase(key, "SAMPLE_BITS")) {
            const std::string bits = Unquote(value);
            facts_.sampleBits =
                bits.size() < 4 && !bits.empty() &&
                        std::all_of(
                            bits.begin(), bits.end(),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })
                    ? std::stoi(bits)
                    : -1;
        }
    }

    // Where the label ends, `end` being just past END: the END line runs to its line break
    // (which it takes) or to the end of the text, with the blanks and comments on it; where
    // anything else follows on its line (padding of spaces or NULs to the record size with no
    // line break, or the samples), the label ends at END itself. The break must be the kind
    // the label's other lines end with, so that samples after padding are not taken for one.
    std::size_t EndOfEndLine(std::size_t end) const {
        // The label's records hold the break; past them a line feed is a sample. Where the
        // label does not say, fixed-width labels pad their lines to 80 columns, and a longer
        // run of blanks is padding to the record size.
        const bool sized = recordBytes_ > 0 && labelRecords_ > 0;
        const std::size_t limit = sized ? recordBytes_ * labelRecords_ : text_.size();
        constexpr std::size_t kLineWidth = 80;
        std::size_t pos = end;
        std::size_t blanks = 0;
        for (;;) {
            while (pos < text_.size() && (text_[pos] == ' ' || text_[pos] == '\t')) {
                ++pos;
                if (++blanks > kLineWidth && !sized) return end;
            }
            if (text_.compare(pos, 2, "/*") != 0) break;
            const std::size_t close = text_.find("*/", pos + 2);
            if (close == std::string_view::npos || close > text_.find('\n', pos + 2)) return end;
            pos = close + 2;
        }
        if (pos == text_.size()) return pos;
        const std::size_t previous = text_.rfind('\n', end - 3);
        const bool crlf =
            previous != std::string_view::npos && previous > 0 && text_[previous - 1] == '\r';
        std::size_t lineEnd = end;
        if (text_.compare(pos, 2, "\r\n") == 0) {
            lineEnd = pos + 2;
        } else if (!crlf && text_[pos] == '\n') {
            lineEnd = pos + 1;
        }
        return lineEnd <= limit ? lineEnd : end;
    }

    void SkipSpaces() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    void SkipBlanksAndComments() {
        for (;;) {
            while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
            if (text_.compare(pos_, 2, "/*") == 0) {
                const std::size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '#') {  // PVL comment line
                const std::size_t end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
                continue;
            }
            return;
        }
    }

    std::string_view Word() {
        const std::size_t start = pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '^' || c == ':' ||
                  c == '.' || c == '-')) {
                break;
            }
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    // The value runs to the end of its line, or further inside quotes and brackets.
    std::string_view Value() {
        SkipSpaces();
        const std::size_t start = pos_;
        int brackets = 0;
        std::size_t comment = std::string_view::npos;  // the first, outside brackets
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '"' || c == '\'') {
                const std::size_t end = text_.find(c, pos_ + 1);
                if (end == std::string_view::npos) {
                    // Cut off at the limit rather than never closed.
                    Fail(text_.size() > kMaxLabelBytes ? TooLong()
                                                       : "the label has an unterminated string");
                }
                pos_ = end + 1;
                continue;
            }
            if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
                // A quote in a comment opens no string.
                if (brackets == 0 && comment == std::string_view::npos) comment = pos_ - start;
                const std::size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
                continue;
            }
            if (c == '(' || c == '{') {
                if (++brackets > kMaxLabelDepth) {
                    Fail("the label nests values deeper than " + std::to_string(kMaxLabelDepth) +
                         " levels");
                }
            } else if (c == ')' || c == '}') {
                if (brackets > 0) --brackets;
            } else if ((c == '\n' || c == '\r') && brackets == 0) {
                // A line ending in a continuation mark or a comma goes on below (PVL).
                const std::string_view sofar = Trim(text_.substr(start, pos_ - start));
                if (sofar.empty() || (sofar.back() != '-' && sofar.back() != ',')) break;
            }
            if (pos_ - start > kMaxLabelBytes) Fail(TooLong());
            ++pos_;
        }
        std::string_view value = text_.substr(start, pos_ - start);
        if (comment != std::string_view::npos) value = value.substr(0, comment);
        return Trim(value);
    }

    std::string_view text_;
    // The whole number a value begins with (records and their sizes), up to nine digits;
    // 0 for anything else.
    static std::size_t Count(std::string_view value) {
        value = Trim(value);
        std::size_t n = 0, digits = 0;
        while (digits < value.size() && std::isdigit(static_cast<unsigned char>(value[digits]))) {
            if (++digits > 9) return 0;
            n = n * 10 + static_cast<std::size_t>(value[digits - 1] - '0');
        }
        return n;
    }

    LabelFacts& facts_;
    std::size_t recordBytes_ = 0;
    std::size_t labelRecords_ = 0;
    std::size_t pos_ = 0;
    int depth_ = 0;
    std::vector<std::string> objects_;
    std::array<int, kLabelFactKeys.size()> depths_{};
};

// VICAR: LBLSIZE=n first, then KEY=value items separated by blanks within those n bytes.
void ParseVicar(std::string_view text, LabelFacts& facts) {
    std::size_t pos = 8;  // past "LBLSIZE="
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::size_t size = 0;
    std::size_t digits = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) &&
           digits < 10) {
        size = size * 10 + static_cast<std::size_t>(text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0 || size == 0) Fail("the VICAR label has no size");
    if (size > kMaxLabelBytes) {
        Fail("the label is longer than " + std::to_string(kMaxLabelBytes / 1024) + " KiB");
    }
    facts.labelBytes = size;
    text = text.substr(0, std::min(size, text.size()));
    std::array<int, kLabelFactKeys.size()> depths{};
    while (pos < text.size()) {
        while (pos < text.size() && (IsSpace(text[pos]) || text[pos] == '\0')) ++pos;
        if (pos >= text.size()) break;
        const std::size_t keyStart = pos;
        while (pos < text.size() && text[pos] != '=' && !IsSpace(text[pos]) && text[pos] != '\0') {
            ++pos;
        }
        const std::string_view key = text.substr(keyStart, pos - keyStart);
        if (pos >= text.size() || text[pos] != '=') continue;
        ++pos;
        const std::size_t valueStart = pos;
        int brackets = 0;
        while (pos < text.size()) {
            const char c = text[pos];
            if (c == '\'') {
                // Quotes inside a string are doubled.
                ++pos;
                while (pos < text.size()) {
                    if (text[pos] == '\'' && (pos + 1 >= text.size() || text[pos + 1] != '\''))
                        break;
                    pos += text[pos] == '\'' ? 2 : 1;
                }
                ++pos;
                continue;
            }
            if (c == '(') {
                if (++brackets > kMaxLabelDepth) {
                    Fail("the label nests values deeper than " + std::to_string(kMaxLabelDepth) +
                         " levels");
                }
            } else if (c == ')') {
                if (brackets > 0) --brackets;
            } else if ((IsSpace(c) || c == '\0') && brackets == 0) {
                break;
            }
            ++pos;
        }
        const std::string_view value =
            text.substr(valueStart, std::min(pos, text.size()) - valueStart);
        Record(facts, depths, key, value, 0);
        if (key == "FORMAT" && facts.sampleType.empty()) facts.sampleType = Unquote(value);
    }
}

// The local name of an XML tag: "pds:file_name" gives "file_name".
std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// PDS4: a small scan of the XML label for the elements the program shows.
void ParsePds4(std::string_view text, LabelFacts& facts) {
    static constexpr std::pair<std::string_view, std::size_t> kElements[] = {
        {"product_id", 0},
        {"instrument_id", 1},
        {"start_date_time", 2},
        {"spacecraft_clock_start", 3},
        {"spacecraft_clock_start_count", 3},
        {"sol_number", 4},
        {"planet_day_number", 4},
        {"local_true_solar_time", 5},
    };
    if (text.size() > kMaxLabelBytes) {
        Fail("the label is longer than " + std::to_string(kMaxLabelBytes / 1024) + " KiB");
    }
    int depth = 0;
    bool closed = false;
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        if (text.compare(pos, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", pos + 4);
            if (end == std::string_view::npos) break;
            pos = end + 3;
            continue;
        }
        const std::size_t end = text.find('>', pos);
        if (end == std::string_view::npos) break;
        const std::string_view tag = text.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        if (tag.empty() || tag.front() == '?' || tag.front() == '!') continue;
        if (tag.front() == '/') {
            if (--depth == 0) closed = true;
            if (depth < 0) Fail("the XML label closes an element it never opened");
            continue;
        }
        if (tag.back() == '/') continue;
        if (++depth > kMaxLabelDepth) {
            Fail("the label nests elements deeper than " + std::to_string(kMaxLabelDepth) +
                 " levels");
        }
        const std::string_view name = LocalName(tag.substr(0, tag.find_first_of(" \t\r\n")));
        const std::size_t close = text.find('<', pos);
        if (close == std::string_view::npos) continue;
        const std::string_view content = Trim(text.substr(pos, close - pos));
        if (name == "file_name") {
            const std::string file(content);
            CheckDataFileName(file);
            facts.dataFiles.push_back(file);
        } else if (name == "data_type" && facts.sampleType.empty()) {
            facts.sampleType = std::string(content);
        }
        for (const auto& [element, index] : kElements) {
            if (name == element && !facts.values[index]) facts.values[index] = std::string(content);
        }
    }
    if (!closed) {
        Fail("the XML label ends before its last element closes");
    }
}

}  // namespace

std::string_view ArchiveFormatName(ArchiveFormat format) {
    switch (format) {
        case ArchiveFormat::Pds3:
            return "PDS3";
        case ArchiveFormat::Pds4:
            return "PDS4";
        case ArchiveFormat::Vicar:
            return "VICAR";
        case ArchiveFormat::Isis3:
            return "ISIS3";
    }
    return "unknown";
}

std::optional<ArchiveFormat> SniffLabel(std::span<const std::uint8_t> head) {
    std::string_view text(reinterpret_cast<const char*>(head.data()),
                          std::min<std::size_t>(head.size(), 4096));
    if (text.substr(0, 8) == "LBLSIZE=") return ArchiveFormat::Vicar;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::string_view start = Trim(text.substr(0, 64));
    if (StartsIgnoringCase(start, "PDS_VERSION_ID") ||
        StartsIgnoringCase(start, "ODL_VERSION_ID") || StartsIgnoringCase(start, "CCSD")) {
        return ArchiveFormat::Pds3;
    }
    if (start.substr(0, 1) == "<" && (text.find("<Product_") != std::string_view::npos ||
                                      text.find("pds.nasa.gov/pds4") != std::string_view::npos)) {
        return ArchiveFormat::Pds4;
    }
    const std::size_t object = text.find("IsisCube");
    if (object != std::string_view::npos && object < 512 && text.find("Object") < object) {
        return ArchiveFormat::Isis3;
    }
    return std::nullopt;
}

LabelFacts ParseLabel(ArchiveFormat format, std::string_view text) {
    LabelFacts facts;
    facts.format = format;
    switch (format) {
        case ArchiveFormat::Pds3:
        case ArchiveFormat::Isis3: {
            OdlParser parser(text, facts);
            parser.Run();
            break;
        }
        case ArchiveFormat::Vicar:
            ParseVicar(text, facts);
            break;
        case ArchiveFormat::Pds4:
            ParsePds4(text, facts);
            break;
    }
    return facts;
}

void CheckSampleType(const LabelFacts& facts) {
    if (facts.format != ArchiveFormat::Pds3) return;  // GDAL judges the others itself
    const std::string& type = facts.sampleType;
    if (type.empty()) return;
    std::string upper = type;
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    const bool integer = upper.find("INTEGER") != std::string::npos;
    const bool real = upper == "IEEE_REAL" || upper == "PC_REAL" || upper == "REAL" ||
                      upper == "FLOAT" || upper == "MSB_REAL" || upper == "LSB_REAL";
    const bool vax = upper.find("VAX") != std::string::npos;
    const int bits = facts.sampleBits;
    const bool bitsOk =
        integer ? (bits == 8 || bits == 16 || bits == 32) : (bits == 32 || bits == 64);
    if (vax || (!integer && !real) || (bits != 0 && !bitsOk)) {
        Fail("unsupported sample type " + type +
             (bits != 0 ? " of " + std::to_string(bits) + " bits" : std::string()));
    }
}

}  // namespace kobrix
