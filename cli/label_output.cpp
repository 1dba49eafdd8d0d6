#include "cli/label_output.h"

#include <exception>
#include <optional>

#include "archive/archive_file.h"
#include "imaging/ascii_case.h"

namespace kobrix::cli {
namespace {

// Removes the line end of the last row so that more fields can follow.
void DropLineEnd(std::string& out, std::string_view end) {
    if (out.size() >= end.size() && out.compare(out.size() - end.size(), end.size(), end) == 0) {
        out.resize(out.size() - end.size());
    }
}

}  // namespace

void AppendLabelCsvHeader(std::string& out) {
    DropLineEnd(out, "\r\n");
    out += ",label_format";
    for (std::string_view key : kLabelFactKeys) out += ",label_" + AsciiLower(key);
    out += "\r\n";
}

bool AppendLabelFacts(DecodeFormat format, const std::string& path, std::string& out,
                      std::string& error) {
    std::optional<LabelFacts> facts;
    bool failed = false;
    if (HasArchiveExtension(path)) {
        try {
            facts = ReadArchiveLabel(path);
        } catch (const std::exception& e) {
            error = e.what();
            failed = true;
        }
    }
    switch (format) {
        case DecodeFormat::Json:
            if (!facts && !failed) break;
            DropLineEnd(out, "}\n");
            out += ",\"label\":";
            if (!facts) {
                out += "null}\n";
                break;
            }
            out += "{\"format\":\"";
            out += ArchiveFormatName(facts->format);
            out += '"';
            for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
                out += ",\"";
                out += kLabelFactKeys[i];
                out += "\":";
                if (!facts->values[i]) {
                    out += "null";
                    continue;
                }
                out += '"';
                AppendJsonString(out, *facts->values[i]);
                out += '"';
            }
            out += "}}\n";
            break;
        case DecodeFormat::Csv:
            DropLineEnd(out, "\r\n");
            out += ',';
            if (facts) out += ArchiveFormatName(facts->format);
            for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
                out += ',';
                if (facts && facts->values[i]) AppendCsvField(out, *facts->values[i]);
            }
            out += "\r\n";
            break;
        case DecodeFormat::Text:
            if (!facts) break;
            DropLineEnd(out, "\n");
            out += "  Label format                                  ";
            out += ArchiveFormatName(facts->format);
            out += '\n';
            for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
                if (!facts->values[i]) continue;
                out += "  ";
                out += kLabelFactKeys[i];
                out += " = ";
                out += *facts->values[i];
                out += '\n';
            }
            out += '\n';
            break;
    }
    return !failed;
}

}  // namespace kobrix::cli
