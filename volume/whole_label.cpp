#include "volume/whole_label.h"

#include <algorithm>
#include <cctype>

#include "archive/archive_file.h"
#include "imaging/ascii_case.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

// Where a line of an ODL label leaves strings and comments, given where it began: inside a
// string (its quote), inside a comment, or neither.
struct OdlState {
    char quote = 0;
    bool comment = false;
    bool Open() const { return quote != 0 || comment; }
};

OdlState AfterLine(std::string_view line, OdlState state) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (state.comment) {
            if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') {
                state.comment = false;
                ++i;
            }
        } else if (state.quote != 0) {
            if (c == state.quote) state.quote = 0;
        } else if (c == '"' || c == '\'') {
            state.quote = c;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            state.comment = true;
            ++i;
        } else if (c == '#' && Trim(line.substr(0, i)).empty()) {
            break;  // a PVL comment line
        }
    }
    return state;
}

std::string ReadBytes(const std::string& path, std::size_t limit) {
    InputFile file(path);
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), limit)), '\0');
    file.ReadAt(0, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}

std::string LongerThanLimit() {
    return "the label is longer than " + std::to_string(kMaxLabelBytes / 1024) + " KiB";
}

}  // namespace

WholeLabel ReadWholeLabel(const std::string& path) {
    WholeLabel label;
    label.path = FindArchiveLabel(path);
    label.text = ReadBytes(label.path, kMaxLabelBytes + 1);
    const std::optional<ArchiveFormat> format =
        SniffLabel({reinterpret_cast<const std::uint8_t*>(label.text.data()), label.text.size()});
    if (!format) throw ImageError(label.path, "not a PDS3, PDS4, VICAR or ISIS3 label");
    label.format = *format;
    const std::string extension =
        AsciiLower(label.path.substr(std::min(label.path.rfind('.'), label.path.size())));
    const bool detached = extension == ".lbl" || label.path != path;
    if (label.format != ArchiveFormat::Vicar && (label.format == ArchiveFormat::Pds4 || detached)) {
        if (label.text.size() > kMaxLabelBytes) throw ImageError(label.path, LongerThanLimit());
        return label;
    }
    // Where the label ends, as the reader of the samples finds it: LBLSIZE, or END.
    try {
        const LabelFacts facts = ParseLabel(label.format, label.text);
        label.text.resize(std::min(facts.labelBytes, label.text.size()));
    } catch (const ImageError& e) {
        throw ImageError(label.path, e.Problem());
    }
    return label;
}

std::string IndentedLabel(const WholeLabel& label) {
    std::string out;
    if (label.format != ArchiveFormat::Pds3 && label.format != ArchiveFormat::Isis3) {
        out.reserve(label.text.size());
        for (std::size_t i = 0; i < label.text.size(); ++i) {
            if (label.text[i] == '\r') {
                if (i + 1 < label.text.size() && label.text[i + 1] == '\n') continue;
                out.push_back('\n');
            } else {
                out.push_back(label.text[i]);
            }
        }
        return out;
    }
    int depth = 0;
    OdlState state;
    std::string_view text = label.text;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view content = Trim(line);
        // A line that begins inside a string or a comment goes on the one above it.
        const bool continuation = state.Open();
        const std::string head = AsciiLower(content.substr(0, content.find_first_of(" \t=/")));
        const bool closes = !continuation && (head == "end_object" || head == "end_group");
        const bool opens = !continuation && (head == "object" || head == "group");
        if (closes && depth > 0) --depth;
        if (!content.empty()) {
            out.append(static_cast<std::size_t>(2 * depth + (continuation ? 2 : 0)), ' ');
            out.append(continuation ? line.substr(line.find_first_not_of(" \t")) : content);
        }
        out.push_back('\n');
        if (opens) ++depth;
        state = AfterLine(line, state);
    }
    while (out.size() > 1 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n')
        out.pop_back();
    return out;
}

std::string MatchingLines(std::string_view text, std::string_view find) {
    const std::string needle = AsciiLower(find);
    std::string out;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line =
            text.substr(0, newline == std::string_view::npos ? text.size() : newline + 1);
        text.remove_prefix(line.size());
        if (needle.empty() || AsciiLower(line).find(needle) != std::string::npos) out.append(line);
    }
    return out;
}

}  // namespace kobrix
