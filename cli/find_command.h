#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "decode/date_time.h"
#include "decode/time_zone.h"

namespace kobrix::cli {

// `find DIR... [--rover 1|2] [--camera F|R|N|P|M|E] [--sol N[-M]]
// [--date YYYY-MM-DD[..YYYY-MM-DD]] [--eye L|R] [--filter D] [--recursive]
// [--json|--csv|-0] [--files-from FILE] [--shard K/N]`:
// the files of the folders (and the files listed in FILE, after them) whose names decode to
// what is asked, judged by the name alone. With --shard only the K-th of N equal parts of
// those files is searched; the N runs print together, in the order of K, what one run prints
// (the CSV header row comes with part 1).
// Prints their paths, one a line (with -0 / --print0 each followed by a NUL byte instead, for
// names that hold a line break), or with --json / --csv their decode records as `decode`
// prints them. Returns 0, 1 when a local-time conversion failed, 2 for usage errors and
// folders or listed files that cannot be read (the others are still searched).
int RunFindCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                   const DateNames& names, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
