#include "cli/find_command.h"

#include <optional>

#include "batch/folder_listing.h"
#include "batch/name_filter.h"
#include "browse/file_list.h"
#include "cli/decode_output.h"
#include "cli/option_value.h"

namespace kobrix::cli {
namespace {

constexpr std::size_t kFlushBytes = 1 << 16;

struct FindArguments {
    std::vector<std::string> folders;
    NameFilter filter;
    bool recursive = false;
    std::optional<DecodeFormat> format;  // paths when empty
    char separator = '\n';               // after each path
};

// A single letter out of `allowed`, either case.
std::optional<char> Letter(const std::string& value, std::string_view allowed) {
    if (value.size() != 1) return std::nullopt;
    char c = value[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (allowed.find(c) == std::string_view::npos) return std::nullopt;
    return c;
}

std::optional<FindArguments> Parse(const std::vector<std::string>& args, std::string& problem) {
    FindArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value = SplitOptionValue(arg);
        if (arg == "-0" || arg == "--print0") {
            parsed.separator = '\0';
            continue;
        }
        if (arg == "--recursive" || arg == "--json" || arg == "--csv") {
            if (arg == "--recursive") parsed.recursive = true;
            if (arg == "--json") parsed.format = DecodeFormat::Json;
            if (arg == "--csv") parsed.format = DecodeFormat::Csv;
            continue;
        }
        struct LetterOption {
            const char* name;
            std::string_view allowed;
            std::optional<char> NameFilter::*field;
        };
        static constexpr LetterOption kLetters[] = {
            {"--rover", "12", &NameFilter::rover},
            {"--camera", "FRNPME", &NameFilter::camera},
            {"--eye", "LR", &NameFilter::eye},
            {"--filter", "0123456789", &NameFilter::filter},
        };
        const bool takesValue = arg == "--sol" || arg == "--date" || arg == "--rover" ||
                                arg == "--camera" || arg == "--eye" || arg == "--filter";
        if (takesValue) {
            if (!value && i + 1 < args.size()) value = args[++i];
            if (!value) {
                problem = arg + " needs a value";
                return std::nullopt;
            }
            bool ok = false;
            if (arg == "--sol") ok = ParseSolRange(*value, parsed.filter);
            if (arg == "--date") ok = ParseDateRange(*value, parsed.filter);
            for (const LetterOption& option : kLetters) {
                if (arg != option.name) continue;
                parsed.filter.*option.field = Letter(*value, option.allowed);
                ok = (parsed.filter.*option.field).has_value();
            }
            if (!ok) {
                problem = arg + " " + *value + ": see kobrix-cli --help for the values";
                return std::nullopt;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option " + args[i];
            return std::nullopt;
        }
        parsed.folders.push_back(args[i]);
    }
    if (parsed.folders.empty()) {
        problem = "give at least one folder";
        return std::nullopt;
    }
    if (parsed.separator == '\0' && parsed.format) {
        problem = "--print0 separates paths; it does not go with --json or --csv";
        return std::nullopt;
    }
    return parsed;
}

}  // namespace

int RunFindCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                   const DateNames& names, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<FindArguments> parsed = Parse(args, problem);
    if (!parsed) {
        err << "kobrix-cli find: " << problem << '\n';
        return 2;
    }
    std::vector<std::string> problems;
    const std::vector<FolderListing> folders =
        ListFolders(parsed->folders, parsed->recursive, problems);
    for (const std::string& unreadable : problems) {
        err << "kobrix-cli find: cannot read " << unreadable << '\n';
    }

    RecordMaker maker(parsed->format.value_or(DecodeFormat::Json), zone, names);
    std::string buffer;
    buffer.reserve(kFlushBytes * 2);
    if (parsed->format == DecodeFormat::Csv) AppendCsvHeader(buffer);
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    };
    bool conversionFailed = false;
    for (const FolderListing& folder : folders) {
        for (const std::string& name : folder.names) {
            const DecodeState& state = maker.Decode(name);
            if (!Matches(parsed->filter, state)) continue;
            if (!state.failure.empty()) {
                flush();
                err << "kobrix-cli: " << name << ": local time conversion failed: " << state.failure
                    << '\n';
                conversionFailed = true;
            }
            if (parsed->format) {
                maker.AppendRecord(buffer);
            } else {
                buffer += JoinPath(folder.directory, name);
                buffer.push_back(parsed->separator);
            }
            if (buffer.size() >= kFlushBytes) flush();
        }
    }
    flush();
    if (!problems.empty()) return 2;
    return conversionFailed ? 1 : 0;
}

}  // namespace kobrix::cli
