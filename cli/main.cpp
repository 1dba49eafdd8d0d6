#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/decode_command.h"
#include "cli/image_commands.h"
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
    "  info FILE...\n"
    "      Width, height and pixel format of pictures (JPEG, BMP, GIF), frames of a GIF,\n"
    "      or why a file cannot be read. Exit status 1 when any file could not be read.\n"
    "  convert IN OUT\n"
    "      Reads IN (JPEG, BMP or GIF) and writes OUT by its extension: .jpg/.jpeg JPEG at\n"
    "      quality 100, .bmp 24-bit BMP, .gif single-frame GIF. Exit status 1 when IN cannot\n"
    "      be read or OUT written, 2 for usage errors.\n"
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
    if (command == "info") return kobrix::cli::RunInfoCommand(args, std::cout, std::cerr);
    if (command == "convert") {
        if (args.size() != 2) {
            std::cerr << "kobrix-cli convert: give IN and OUT\n";
            return 2;
        }
        return kobrix::cli::RunConvertCommand(args[0], args[1], std::cout, std::cerr);
    }
    std::cerr << "kobrix-cli: unknown command " << command << "\n\n" << kUsage;
    return 2;
}
