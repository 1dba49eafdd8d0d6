#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/decode_command.h"
#include "cli/zone_snapshot.h"
#include "platform/system_time_zone.h"

namespace {

constexpr const char* kUsage =
    "Usage: kobrix-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  decode [--json|--csv] NAME_OR_DIRECTORY...\n"
    "      Decode rover image product names. A directory stands for every ordinary file\n"
    "      in it, sorted by name without regard to case. Each name is decoded on its own.\n"
    "      Default output: the decoded-fields panel, caption and value per row.\n"
    "      --json  one JSON object per line; bytes that are not UTF-8 appear as \\u00XX.\n"
    "      --csv   a header row and one row per name; the Martian elapsed time and totals\n"
    "              are four numbers separated by spaces.\n"
    "      Times use the computer's time zone (TZ) and day and month names of the locale\n"
    "      (LC_ALL / LC_TIME). Exit status: 0 on success, 1 when a local time conversion\n"
    "      failed, 2 for usage errors and missing or unreadable directories.\n"
    "  --help\n"
    "      Show this text.\n";

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "decode") {
        const kobrix::SystemTimeZone system;
        const kobrix::cli::ZoneSnapshot zone(system);
        const kobrix::DateNames names = kobrix::LocaleDateNames();
        const int status = kobrix::cli::RunDecodeCommand(args, zone, names, std::cout, std::cerr);
        std::cout.flush();
        return status;
    }
    std::cerr << "kobrix-cli: unknown command " << command << "\n\n" << kUsage;
    return 2;
}
