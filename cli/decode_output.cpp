#include "cli/decode_output.h"

#include <array>

namespace kobrix::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendEscapedByte(std::string& out, unsigned char c) {
    out += "\\u00";
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 15]);
}

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

// The order and meaning of every key; each is a panel text unless noted.
using Field = std::string DecodedPanel::*;
struct TextKey {
    const char* key;
    Field field;
};

void Key(std::string& out, const char* key) {
    out.push_back('"');
    out += key;
    out += "\":";
}

void TextValue(std::string& out, const char* key, std::string_view value) {
    Key(out, key);
    out.push_back('"');
    AppendJsonString(out, value);
    out += "\",";
}

void ArrayValue(std::string& out, const char* key, std::array<const std::string*, 4> values) {
    Key(out, key);
    out.push_back('[');
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out.push_back(',');
        out.push_back('"');
        AppendJsonString(out, *values[i]);
        out.push_back('"');
    }
    out += "],";
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

void AppendJsonString(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Runs of plain printable ASCII go out in one piece.
        std::size_t run = i;
        while (run < text.size()) {
            const auto c = static_cast<unsigned char>(text[run]);
            if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') break;
            ++run;
        }
        if (run > i) {
            out.append(text.data() + i, run - i);
            i = run;
            if (i == text.size()) break;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
                case '"':
                    out += "\\\"";
                    break;
                case '\\':
                    out += "\\\\";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default:
                    if (c < 0x20 || c == 0x7F)
                        AppendEscapedByte(out, c);
                    else
                        out.push_back(static_cast<char>(c));
            }
            ++i;
            continue;
        }
        const std::size_t n = Utf8Length(text, i);
        if (n == 0) {
            AppendEscapedByte(out, c);
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
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
    out.push_back('{');
    TextValue(out, "name", p.fileNameBox);
    TextValue(out, "rover", p.roverNumber);
    TextValue(out, "rover_name", p.roverName);
    TextValue(out, "location", p.location);
    TextValue(out, "camera", p.camera);
    TextValue(out, "clock", p.clock);
    Key(out, "clock_seconds");
    out += std::to_string(r.ClockSeconds);
    out += ",\"clock_valid\":";
    out += r.ClockValid ? "true," : "false,";
    TextValue(out, "sol", p.sol);
    ArrayValue(out, "mars_elapsed",
               {&p.elapsedSols, &p.elapsedHours, &p.elapsedMinutes, &p.elapsedSeconds});
    ArrayValue(out, "mars_totals", {&p.totalSols, &p.totalHours, &p.totalMinutes, &p.totalSeconds});
    TextValue(out, "lmst", p.martianLocalTime);
    TextValue(out, "utc", p.utcTime);
    TextValue(out, "local", p.localTime);
    TextValue(out, "time_zone", p.timeZone);
    TextValue(out, "product_type", p.productType);
    TextValue(out, "site", p.site);
    TextValue(out, "drive", p.drive);
    TextValue(out, "sequence", p.sequence);
    TextValue(out, "category", p.category);
    TextValue(out, "sequence_code", p.sequenceCode);
    TextValue(out, "sequence_range", p.sequenceRange);
    TextValue(out, "eye", p.eye);
    TextValue(out, "stereo_hint", p.stereoHint);
    TextValue(out, "stereo_hint_colour", HintColourName(p.stereoHintColour));
    TextValue(out, "filter", p.filter);
    TextValue(out, "producer", p.producer);
    TextValue(out, "version", p.version);
    TextValue(out, "base_name", r.BaseName);
    TextValue(out, "filter_set_prefix", r.FilterSetPrefix);
    TextValue(out, "left_eye_name", r.LeftEyeName);
    TextValue(out, "right_eye_name", r.RightEyeName);
    TextValue(out, "shown_left_eye_name", p.leftEyeName);
    TextValue(out, "shown_right_eye_name", p.rightEyeName);
    out += "\"is_combined\":";
    out += r.IsCombined ? "true" : "false";
    out += ",\"name_valid\":";
    out += r.NameValid ? "true" : "false";
    out += "}\n";
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
