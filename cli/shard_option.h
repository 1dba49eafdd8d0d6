#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/shard.h"

namespace kobrix::cli {

// The options that spread a folder command over many runs: `--files-from FILE` (the paths of
// FILE, one a line, "-" for standard input) and `--shard K/N`.
struct ShareOptions {
    std::optional<std::string> filesFrom;
    Shard shard;
};

// "K/N": whole decimal numbers, 1 <= K <= N, nothing else around them.
std::optional<Shard> ParseShard(const std::string& text);

// Takes --files-from and --shard (also written --name=value) out of `args`, up to a "--".
// False with `problem` set for a missing or bad value or an option given twice.
bool TakeShareOptions(std::vector<std::string>& args, ShareOptions& options, std::string& problem);

// The paths listed in `file` ("-": standard input), one a line: blank lines are skipped and a
// line's CR before the line feed is dropped (lists written on Windows); nothing else of a line
// is changed, so names may hold spaces. Sorted as the file list sorts names, each path once, so
// that every run of a shared job sees the same order whatever wrote the list.
// False with `error` set when the file cannot be read.
bool ReadPathList(const std::string& file, std::vector<std::string>& paths, std::string& error);

}  // namespace kobrix::cli
