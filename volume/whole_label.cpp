#include "volume/whole_label.h"

#include <algorithm>
#include <cctype>

#include "archive/archive_file.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

bool IsEndLine(std::string_view line) {
    return Lower(Trim(line)) == "end";
}

// The end of the END line (past its line break) of an ODL label, skipping strings and
// comments, or npos when the text has none.
std::size_t EndOfEndLine(std::string_view text) {
    std::size_t lineStart = 0;
    bool inString = false;
    bool inComment = false;
    bool lineOutside = true;  // the line began outside strings and comments
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inComment) {
            if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
                inComment = false;
                ++i;
            }
        } else if (inString) {
            if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            inComment = true;
            ++i;
        }
        if (c == '\n' || i + 1 == text.size()) {
            const std::size_t lineEnd = i + 1;
            // The END line with nothing open across it; a last line without a break counts.
            if (lineOutside && !inString && !inComment &&
                IsEndLine(text.substr(lineStart, lineEnd - lineStart))) {
                return lineEnd;
            }
            lineStart = lineEnd;
            lineOutside = !inString && !inComment;
        }
    }
    return std::string_view::npos;
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
        Lower(label.path.substr(std::min(label.path.rfind('.'), label.path.size())));
    const bool detached = extension == ".lbl" || label.path != path;
    if (label.format == ArchiveFormat::Vicar) {
        try {
            const LabelFacts facts = ParseLabel(label.format, label.text);
            label.text.resize(std::min(facts.labelBytes, label.text.size()));
        } catch (const ImageError& e) {
            throw ImageError(label.path, e.Problem());
        }
        return label;
    }
    if (label.format == ArchiveFormat::Pds4 || detached) {
        if (label.text.size() > kMaxLabelBytes) throw ImageError(label.path, LongerThanLimit());
        return label;
    }
    const std::size_t end = EndOfEndLine(
        std::string_view(label.text).substr(0, std::min(label.text.size(), kMaxLabelBytes)));
    if (end == std::string_view::npos) {
        throw ImageError(label.path, label.text.size() > kMaxLabelBytes
                                         ? LongerThanLimit()
                                         : "the label has no END line");
    }
    label.text.resize(end);
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
    bool inString = false;
    std::string_view text = label.text;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view content = Trim(line);
        const bool continuation = inString;
        const std::string head = Lower(content.substr(0, content.find_first_of(" \t=")));
        const bool closes = !continuation && (head == "end_object" || head == "end_group");
        const bool opens = !continuation && (head == "object" || head == "group");
        if (closes && depth > 0) --depth;
        if (!content.empty()) {
            out.append(static_cast<std::size_t>(2 * depth + (continuation ? 2 : 0)), ' ');
            out.append(continuation ? line.substr(line.find_first_not_of(" \t")) : content);
        }
        out.push_back('\n');
        if (opens) ++depth;
        inString ^= (std::count(content.begin(), content.end(), '"') % 2) == 1;
    }
    while (out.size() > 1 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n')
        out.pop_back();
    return out;
}

std::string MatchingLines(std::string_view text, std::string_view find) {
    const std::string needle = Lower(find);
    std::string out;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line =
            text.substr(0, newline == std::string_view::npos ? text.size() : newline + 1);
        text.remove_prefix(line.size());
        if (needle.empty() || Lower(line).find(needle) != std::string::npos) out.append(line);
    }
    return out;
}

}  // namespace kobrix
