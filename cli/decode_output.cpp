#include "cli/decode_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kobrix::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

char* EscapedByte(char* p, unsigned char c) {
    std::memcpy(p, "\\u00", 4);
    p[4] = kHex[c >> 4];
    p[5] = kHex[c & 15];
    return p + 6;
}

// Whether a byte goes out as it is: printable ASCII but the quote and the backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();

// Length of a well-formed UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    const unsigned char c1 = byte(i + 1);
    if (c == 0xE0 && c1 < 0xA0) return 0;  // overlong
    if (c == 0xED && c1 > 0x9F) return 0;  // surrogates
    if (c == 0xF0 && c1 < 0x90) return 0;  // overlong
    if (c == 0xF4 && c1 > 0x8F) return 0;  // past U+10FFFF
    return n;
}

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Whether any byte of `word` is zero.
constexpr bool AnyZero(std::uint64_t word) {
    return ((word - kOnes) & ~word & kHighBits) != 0;
}

// Whether all eight bytes are plain: none below 0x20 or from 0x7F on, no quote, no backslash.
constexpr bool AllPlain(std::uint64_t word) {
    const bool control = ((word - kOnes * 0x20) & ~word & kHighBits) != 0;
    const bool high = (word & kHighBits) != 0;
    return !control && !high && !AnyZero(word ^ (kOnes * 0x7F)) && !AnyZero(word ^ (kOnes * '"')) &&
           !AnyZero(word ^ (kOnes * '\\'));
}

// A JSON string's contents written at `p`, which has room for six bytes a byte of `text`.
char* EscapeJson(char* p, std::string_view text);

// A record is written through a raw pointer into scratch memory with room for the worst case,
// then appended to the output in one piece.
class JsonWriter {
  public:
    explicit JsonWriter(std::size_t bound) {
        thread_local std::vector<char> scratch;
        if (scratch.size() < bound) scratch.resize(bound);
        start_ = scratch.data();
        p_ = start_;
    }
    void Raw(std::string_view text) {
        std::memcpy(p_, text.data(), text.size());
        p_ += text.size();
    }
    void Char(char c) { *p_++ = c; }
    void Escaped(std::string_view text) { p_ = EscapeJson(p_, text); }
    // "key":"value",
    template <std::size_t N>
    void Text(const char (&key)[N], std::string_view value) {
        Key(key);
        Char('"');
        Escaped(value);
        Raw("\",");
    }
    // Keys are literals, so that each copy has a size known here.
    template <std::size_t N>
    void Key(const char (&key)[N]) {
        Char('"');
        std::memcpy(p_, key, N - 1);
        p_ += N - 1;
        Raw("\":");
    }
    template <std::size_t N>
    void Array(const char (&key)[N], std::array<const std::string*, 4> values) {
        Key(key);
        Char('[');
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i) Char(',');
            Char('"');
            Escaped(*values[i]);
            Char('"');
        }
        Raw("],");
    }
    void AppendTo(std::string& out) const {
        out.append(start_, static_cast<std::size_t>(p_ - start_));
    }

  private:
    char* start_;
    char* p_;
};

char* EscapeJson(char* p, std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        // Plain printable ASCII is copied as it is scanned, eight bytes at a time while no
        // byte of the eight needs a second look.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            if (!AllPlain(word)) break;
            std::memcpy(p, &word, 8);
            p += 8;
            i += 8;
        }
        while (i < size && kPlain[bytes[i]]) *p++ = static_cast<char>(bytes[i++]);
        if (i == size) break;
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            switch (c) {
                case '"':
                    p = std::copy_n("\\\"", 2, p);
                    break;
                case '\\':
                    p = std::copy_n("\\\\", 2, p);
                    break;
                case '\n':
                    p = std::copy_n("\\n", 2, p);
                    break;
                case '\r':
                    p = std::copy_n("\\r", 2, p);
                    break;
                case '\t':
                    p = std::copy_n("\\t", 2, p);
                    break;
                default:
                    p = EscapedByte(p, c);  // the other controls and DEL
            }
            ++i;
            continue;
        }
        const std::size_t n = Utf8Length(text, i);
        if (n == 0) {
            p = EscapedByte(p, c);
            ++i;
        } else {
            p = std::copy_n(text.data() + i, n, p);
            i += n;
        }
    }
    return p;
}

constexpr const char* kCsvKeys[] = {
    "name",
    "rover",
    "rover_name",
    "location",
    "camera",
    "clock",
    "clock_seconds",
    "clock_valid",
    "sol",
    "mars_elapsed",
    "mars_totals",
    "lmst",
    "utc",
    "local",
    "time_zone",
    "product_type",
    "site",
    "drive",
    "sequence",
    "category",
    "sequence_code",
    "sequence_range",
    "eye",
    "stereo_hint",
    "stereo_hint_colour",
    "filter",
    "producer",
    "version",
    "base_name",
    "filter_set_prefix",
    "left_eye_name",
    "right_eye_name",
    "shown_left_eye_name",
    "shown_right_eye_name",
    "is_combined",
    "name_valid",
};

}  // namespace

RecordMaker::RecordMaker(DecodeFormat format, const TimeZoneSource& zone, const DateNames& names)
    : format_(format) {
    context_.zone = &zone;
    context_.localTimeCache = &cache_;
    context_.dateNames = &names;
}

const DecodeState& RecordMaker::Decode(std::string_view name) {
    state_.panel.Clear();
    DecodeProductName(name, context_, state_);
    return state_;
}

void RecordMaker::AppendRecord(std::string& out) const {
    switch (format_) {
        case DecodeFormat::Json:
            AppendJsonRecord(out, state_);
            break;
        case DecodeFormat::Csv:
            AppendCsvRecord(out, state_);
            break;
        case DecodeFormat::Text:
            AppendTextRecord(out, state_);
            break;
    }
}

void AppendJsonString(std::string& out, std::string_view text) {
    JsonWriter writer(text.size() * 6);
    writer.Escaped(text);
    writer.AppendTo(out);
}

void AppendCsvField(std::string& out, std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendJsonRecord(std::string& out, const DecodeState& state) {
    const DecodedPanel& p = state.panel;
    const DecodedProduct& r = state.product;
    // Room for the keys and numbers, and for every text escaped at its longest.
    std::size_t bound = 1024;
    for (const PanelField& field : PanelFields()) bound += (p.*field.member).size() * 6;
    for (const std::string* text :
         {&p.fileNameBox, &r.BaseName, &r.FilterSetPrefix, &r.LeftEyeName, &r.RightEyeName}) {
        bound += text->size() * 6;
    }
    JsonWriter json(bound);
    json.Char('{');
    json.Text("name", p.fileNameBox);
    json.Text("rover", p.roverNumber);
    json.Text("rover_name", p.roverName);
    json.Text("location", p.location);
    json.Text("camera", p.camera);
    json.Text("clock", p.clock);
    json.Key("clock_seconds");
    char number[16];
    const auto [end, error] = std::to_chars(number, number + sizeof number, r.ClockSeconds);
    json.Raw(std::string_view(number, static_cast<std::size_t>(end - number)));
    json.Raw(r.ClockValid ? ",\"clock_valid\":true," : ",\"clock_valid\":false,");
    json.Text("sol", p.sol);
    json.Array("mars_elapsed",
               {&p.elapsedSols, &p.elapsedHours, &p.elapsedMinutes, &p.elapsedSeconds});
    json.Array("mars_totals", {&p.totalSols, &p.totalHours, &p.totalMinutes, &p.totalSeconds});
    json.Text("lmst", p.martianLocalTime);
    json.Text("utc", p.utcTime);
    json.Text("local", p.localTime);
    json.Text("time_zone", p.timeZone);
    json.Text("product_type", p.productType);
    json.Text("site", p.site);
    json.Text("drive", p.drive);
    json.Text("sequence", p.sequence);
    json.Text("category", p.category);
    json.Text("sequence_code", p.sequenceCode);
    json.Text("sequence_range", p.sequenceRange);
    json.Text("eye", p.eye);
    json.Text("stereo_hint", p.stereoHint);
    json.Text("stereo_hint_colour", HintColourName(p.stereoHintColour));
    json.Text("filter", p.filter);
    json.Text("producer", p.producer);
    json.Text("version", p.version);
    json.Text("base_name", r.BaseName);
    json.Text("filter_set_prefix", r.FilterSetPrefix);
    json.Text("left_eye_name", r.LeftEyeName);
    json.Text("right_eye_name", r.RightEyeName);
    json.Text("shown_left_eye_name", p.leftEyeName);
    json.Text("shown_right_eye_name", p.rightEyeName);
    json.Raw(r.IsCombined ? "\"is_combined\":true" : "\"is_combined\":false");
    json.Raw(r.NameValid ? ",\"name_valid\":true}\n" : ",\"name_valid\":false}\n");
    json.AppendTo(out);
}

void AppendCsvHeader(std::string& out) {
    bool first = true;
    for (const char* key : kCsvKeys) {
        if (!first) out.push_back(',');
        out += key;
        first = false;
    }
    out += "\r\n";
}

void AppendCsvRecord(std::string& out, const DecodeState& state) {
    const DecodedPanel& p = state.panel;
    const DecodedProduct& r = state.product;
    const std::string elapsed =
        p.elapsedSols + ' ' + p.elapsedHours + ' ' + p.elapsedMinutes + ' ' + p.elapsedSeconds;
    const std::string totals =
        p.totalSols + ' ' + p.totalHours + ' ' + p.totalMinutes + ' ' + p.totalSeconds;
    const std::string clockSeconds = std::to_string(r.ClockSeconds);
    const std::string_view values[] = {
        p.fileNameBox,
        p.roverNumber,
        p.roverName,
        p.location,
        p.camera,
        p.clock,
        clockSeconds,
        r.ClockValid ? "true" : "false",
        p.sol,
        elapsed,
        totals,
        p.martianLocalTime,
        p.utcTime,
        p.localTime,
        p.timeZone,
        p.productType,
        p.site,
        p.drive,
        p.sequence,
        p.category,
        p.sequenceCode,
        p.sequenceRange,
        p.eye,
        p.stereoHint,
        HintColourName(p.stereoHintColour),
        p.filter,
        p.producer,
        p.version,
        r.BaseName,
        r.FilterSetPrefix,
        r.LeftEyeName,
        r.RightEyeName,
        p.leftEyeName,
        p.rightEyeName,
        r.IsCombined ? "true" : "false",
        r.NameValid ? "true" : "false",
    };
    static_assert(std::size(values) == std::size(kCsvKeys));
    bool first = true;
    for (std::string_view v : values) {
        if (!first) out.push_back(',');
        AppendCsvField(out, v);
        first = false;
    }
    out += "\r\n";
}

void AppendTextRecord(std::string& out, const DecodeState& state) {
    const DecodedPanel& p = state.panel;
    const auto row = [&out](std::string_view caption, std::string_view value) {
        out += "  ";
        out += caption;
        for (std::size_t n = caption.size(); n < 46; ++n) out.push_back(' ');
        out += value;
        out.push_back('\n');
    };
    out += p.fileNameBox;
    out.push_back('\n');
    row("Mars Exploration Rover No.", p.roverNumber + "  " + p.roverName);
    row("SOL", p.sol);
    row("Spacecraft Location.", p.location);
    row("Imaging Camera.", p.camera);
    row("Spacecraft Clock.", p.clock);
    row("Martian time transpired since landing", p.elapsedSols + " Sols  " + p.elapsedHours +
                                                     " Mhrs  " + p.elapsedMinutes + " Mmins  " +
                                                     p.elapsedSeconds + " Msecs");
    row("Martian local standard time of image capture", p.martianLocalTime);
    row("Earth Time. (UTC)         =", p.utcTime);
    row("Users Local Time Zone", p.timeZone);
    row("Earth Time (Local)        =", p.localTime);
    row("Image Product Type.", p.productType);
    row("Site Number.", p.site);
    row("Drive Number Within Site.", p.drive);
    row("Command Sequence.", p.sequence);
    row("Sequence Category.", p.category);
    row("Sequence Code", p.sequenceCode + " = " + p.sequenceRange);
    row("Spectral Response (Filter)", p.filter);
    row("Camera Eye", p.eye);
    row("Product Producer", p.producer);
    row("Product Version", p.version);
    std::string hint = p.stereoHint;
    if (p.stereoHintColour != HintColour::None) {
        hint += " (";
        hint += HintColourName(p.stereoHintColour);
        hint += ')';
    }
    row("", hint);
    row("Currently selected file name", p.currentName);
    row("Right Eye File Name", p.rightEyeName);
    row("Left Eye File Name", p.leftEyeName);
    out.push_back('\n');
}

}  // namespace kobrix::cli
