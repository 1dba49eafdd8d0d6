#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix::cli {

// `decode [--json|--csv] NAME_OR_DIRECTORY...`. A directory stands for its ordinary files,
// sorted by name without regard to case. Each name is decoded on an empty panel. Output is
// written as it goes; nothing but one directory listing is held in memory.
// Returns 0, 1 when a local-time conversion failed, 2 for usage errors and missing or
// unreadable directories (the other arguments are still decoded).
int RunDecodeCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const DateNames& names, std::ostream& out, std::ostream& err);

// Ordinary files of a directory, sorted by name without regard to case (ties by bytes).
// Returns false and sets `error` when the directory cannot be read.
bool ListDirectory(const std::string& directory, std::vector<std::string>& names,
                   std::string& error);

}  // namespace kobrix::cli
