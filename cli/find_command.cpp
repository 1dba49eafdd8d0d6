#include "cli/find_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "batch/folder_listing.h"
#include "batch/name_filter.h"
#include "browse/file_list.h"
#include "cli/decode_output.h"
#include "cli/option_value.h"
#include "cli/shard_option.h"

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

std::optional<FindArguments> Parse(const std::vector<std::string>& args, bool listGiven,
                                   std::string& problem) {
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
    if (parsed.folders.empty() && !listGiven) {
        problem = "give at least one folder, or --files-from FILE";
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
    std::vector<std::string> arguments = args;
    ShareOptions share;
    std::string problem;
    std::optional<FindArguments> parsed;
    if (TakeShareOptions(arguments, share, problem)) {
        parsed = Parse(arguments, share.filesFrom.has_value(), problem);
    }
    std::vector<std::string> listed;
    if (parsed && share.filesFrom && !ReadPathList(*share.filesFrom, listed, problem)) {
        parsed.reset();
    }
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
    // The parts of a shared run join into one table: the first part has the header row.
    if (parsed->format == DecodeFormat::Csv && share.shard.index == 1) AppendCsvHeader(buffer);
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    };
    bool conversionFailed = false;
    bool missing = false;
    // `path` is the path printed; null for a folder's file, whose path is made on a match.
    const auto consider = [&](const std::string& name, const std::string& directory,
                              const std::string* path) {
        const DecodeState& state = maker.Decode(name);
        if (!Matches(parsed->filter, state)) return;
        if (!state.failure.empty()) {
            flush();
            err << "kobrix-cli: " << name << ": local time conversion failed: " << state.failure
                << '\n';
            conversionFailed = true;
        }
        if (parsed->format) {
            maker.AppendRecord(buffer);
        } else {
            buffer += path ? *path : JoinPath(directory, name);
            buffer.push_back(parsed->separator);
        }
        if (buffer.size() >= kFlushBytes) flush();
    };
    // The plan: the folders' files, then the listed ones; this run takes its part of it.
    std::size_t total = listed.size();
    for (const FolderListing& folder : folders) total += folder.names.size();
    const auto [begin, end] = ShardRange(share.shard, total);
    std::size_t position = 0;
    for (const FolderListing& folder : folders) {
        if (position + folder.names.size() <= begin || position >= end) {
            position += folder.names.size();
            continue;
        }
        for (const std::string& name : folder.names) {
            if (position >= begin && position < end) consider(name, folder.directory, nullptr);
            ++position;
        }
    }
    const std::string none;
    for (const std::string& path : listed) {
        if (position >= begin && position < end) {
            // A listed file must be there, as the files of a folder are.
            struct stat info;
            const bool there = ::stat(path.c_str(), &info) == 0;
            if (!there || !S_ISREG(info.st_mode)) {
                flush();
                err << "kobrix-cli find: cannot read " << path << ": "
                    << (there ? "not an ordinary file" : std::strerror(errno)) << '\n';
                missing = true;
            } else {
                const std::size_t slash = path.rfind('/');
                consider(slash == std::string::npos ? path : path.substr(slash + 1), none, &path);
            }
        }
        ++position;
    }
    flush();
    if (!problems.empty() || missing) return 2;
    return conversionFailed ? 1 : 0;
}

}  // namespace kobrix::cli
