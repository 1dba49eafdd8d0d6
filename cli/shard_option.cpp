#include "cli/shard_option.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>

#include <sys/stat.h>

#include "batch/folder_listing.h"

namespace kobrix::cli {
namespace {

std::optional<std::uint32_t> Digits(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool ReadLines(std::istream& in, std::vector<std::string>& paths) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) paths.push_back(line);
    }
    return !in.bad();
}

}  // namespace

std::optional<Shard> ParseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::optional<std::uint32_t> index = Digits(std::string_view(text).substr(0, slash));
    const std::optional<std::uint32_t> count = Digits(std::string_view(text).substr(slash + 1));
    if (!index || !count || *index < 1 || *index > *count) return std::nullopt;
    return Shard{*index, *count};
}

bool TakeShareOptions(std::vector<std::string>& args, ShareOptions& options, std::string& problem) {
    std::vector<std::string> rest;
    bool shardGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        std::string name = args[i];
        std::optional<std::string> value;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name != "--files-from" && name != "--shard") {
            rest.push_back(args[i]);
            continue;
        }
        if (!value && i + 1 < args.size()) value = args[++i];
        if (!value || value->empty()) {
            problem = name + " needs a value";
            return false;
        }
        if (name == "--files-from") {
            if (options.filesFrom) {
                problem = "--files-from is given twice; give one list";
                return false;
            }
            options.filesFrom = *value;
            continue;
        }
        const std::optional<Shard> shard = ParseShard(*value);
        if (!shard) {
            problem = "--shard " + *value +
                      ": give K/N, the part K of N runs, whole numbers with 1 <= K <= N";
            return false;
        }
        if (shardGiven) {
            problem = "--shard is given twice";
            return false;
        }
        shardGiven = true;
        options.shard = *shard;
    }
    args = std::move(rest);
    return true;
}

bool ReadPathList(const std::string& file, std::vector<std::string>& paths, std::string& error) {
    paths.clear();
    if (file == "-") {
        if (!ReadLines(std::cin, paths)) {
            error = "cannot read the list from standard input";
            return false;
        }
    } else {
        struct stat info;
        if (::stat(file.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            error = "cannot read the list " + file + ": it is a folder";
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = "cannot read the list " + file + ": " + std::strerror(errno);
            return false;
        }
        if (!ReadLines(in, paths)) {
            error = "cannot read the list " + file + ": " + std::strerror(errno);
            return false;
        }
    }
    SortPathsOnce(paths);
    return true;
}

}  // namespace kobrix::cli
