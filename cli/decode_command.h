#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix::cli {

// `decode [--json|--csv] [--files-from FILE] [--shard K/N] NAME_OR_DIRECTORY...`. A directory
// stands for its ordinary files, sorted by name without regard to case. Each name is decoded on
// an empty panel. The paths of FILE (sorted, each once) follow the arguments and are taken as
// they are. With --shard only the K-th of N equal parts of the names is decoded: the N runs
// print together, in the order of K, what one run prints. Output is written as it goes;
// nothing but one directory listing is held in memory, except for a shared run, which holds
// its whole plan.
// Returns 0, 1 when a local-time conversion failed, 2 for usage errors and missing or
// unreadable directories (the other arguments are still decoded).
int RunDecodeCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const DateNames& names, std::ostream& out, std::ostream& err);

// Ordinary files of a directory, sorted by name without regard to case (ties by bytes).
// Returns false and sets `error` when the directory cannot be read.
bool ListDirectory(const std::string& directory, std::vector<std::string>& names,
                   std::string& error);

}  // namespace kobrix::cli
