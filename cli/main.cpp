#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "archive/archive_file.h"
#include "batch/batch_run.h"
#include "cli/batch_commands.h"
#include "cli/colour_commands.h"
#include "cli/decode_command.h"
#include "cli/derived_command.h"
#include "cli/find_command.h"
#include "cli/frames_command.h"
#include "cli/image_commands.h"
#include "cli/label_command.h"
#include "cli/movie_command.h"
#include "cli/thumbnail_command.h"
#include "cli/zone_snapshot.h"
#include "platform/system_time_zone.h"

namespace {

constexpr const char* kUsage =
    "Usage: kobrix-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  decode [--json|--csv] [--labels] [--files-from FILE] [--shard K/N] NAME_OR_DIRECTORY...\n"
    "      Decode rover image product names. A directory stands for every ordinary file\n"
    "      in it, sorted by name without regard to case. Each name is decoded on its own.\n"
    "      Default output: the decoded-fields panel, caption and value per row.\n"
    "      --json  one JSON object per line; bytes that are not UTF-8 appear as \\u00XX.\n"
    "      --csv   a header row and one row per name; the Martian elapsed time and totals\n"
    "              are four numbers separated by spaces.\n"
    "      Times use the computer's time zone (TZ) and day and month names of the locale\n"
    "      (LC_ALL / LC_TIME).\n"
    "      --labels  for archive files (as info names them) also the label's facts, read\n"
    "              from the label alone: a \"label\" object in each JSON record (null\n"
    "              for a label that cannot be read), label_* columns in CSV, KEY = value\n"
    "              rows in the text.\n"
    "      Exit status: 0 on success, 1 when a local time conversion failed or a label\n"
    "      could not be read, 2 for usage errors and missing or unreadable directories.\n"
    "  info FILE...\n"
    "      Width, height and pixel format of pictures (JPEG, BMP, GIF), frames of a GIF,\n"
    "      or why a file cannot be read. For a file of the planetary data archive (.IMG,\n"
    "      .LBL, .xml, .VIC, .cub: PDS3 with attached or detached label, PDS4, VICAR,\n"
    "      ISIS3) its format, size, bands, sample type and bits, then PRODUCT_ID,\n"
    "      INSTRUMENT_ID, START_TIME, SPACECRAFT_CLOCK_START_COUNT, PLANET_DAY_NUMBER and\n"
    "      LOCAL_TRUE_SOLAR_TIME as KEY = value, the value as the label writes it (lines\n"
    "      for keys the label lacks are left out). A raw .IMG is read through the .LBL\n"
    "      beside it. Exit status 1 when any file could not be read.\n"
    "  label FILE [--find TEXT]\n"
    "      The whole label of an archive file as its bytes: an attached PDS3 or ISIS3 label\n"
    "      up to and including its END line (its line break with it; where padding or the\n"
    "      samples follow END with no line break, up to and including END), a VICAR label\n"
    "      its LBLSIZE bytes, a detached .LBL (the one beside a raw .IMG) or a PDS4 .xml\n"
    "      label as it is. With --find only the lines that contain TEXT, in any letter case.\n"
    "      Exit status 1 when FILE has no label the program reads, 2 for usage errors.\n"
    "  derived FILE [--linearized]\n"
    "      The other products of the exposure of FILE (an EDR or an RDR): the same name but\n"
    "      for the product-type letters, any type, with an .IMG extension, beside FILE and in\n"
    "      the sol's other folder of edr/ and rdr/, one absolute path a line in name order.\n"
    "      With --linearized, for an EDR only, the linearized product (type FFL, else SFL,\n"
    "      else DNL, else another ending in L) that the stereo viewer can show in its place.\n"
    "      Exit status 1 when FILE does not exist, is not named as a product, or with\n"
    "      --linearized is not an EDR or has no linearized product, 2 for usage errors.\n"
    "  thumbnail IN -o OUT [--size N]\n"
    "      The thumbnail the thumbnail sheet shows: IN (a picture or an archive file, read\n"
    "      as convert reads it) shrunk to fit N x N pixels (default 128, 1 to 1024), each\n"
    "      pixel the mean of those it covers; a smaller picture stays as it is. OUT by its\n"
    "      extension as convert writes it; exit status as convert's.\n"
    "  convert IN OUT [--stretch P]\n"
    "      Reads IN (JPEG, BMP, GIF or an archive file) and writes OUT by its extension:\n"
    "      .jpg/.jpeg JPEG at quality 100, .bmp 24-bit BMP, .gif single-frame GIF. An\n"
    "      archive file of 8-bit unsigned samples is written as it is; any other is\n"
    "      stretched: the darkest and brightest P percent of its samples (default 0.5, from\n"
    "      0 to 49.9; 0 is the whole range) go to black and white, the rest linearly between.\n"
    "      Three bands are red, green and blue, stretched together. Exit status 1 when IN\n"
    "      cannot be read or OUT written, 2 for usage errors; nothing is written on error.\n"
    "  anaglyph RIGHT LEFT -o OUT [--merge M] [--contrast T] [--brightness B] [--blue]\n"
    "      Red/cyan anaglyph of a stereo pair: RIGHT (the right-eye picture) gives blue and\n"
    "      green (blue only with --blue), LEFT gives red. The two are cross-faded over their\n"
    "      common top-left area with merge M (the share of RIGHT in percent, default 50), then\n"
    "      multiplied by contrast T / 16 (default 16: unchanged) and shifted by brightness B\n"
    "      (default 30: unchanged; 0 darkest, 100 brightest). M, T and B are whole numbers\n"
    "      from 0 to 100.\n"
    "  fade IN -o OUT [--passes N]\n"
    "      Sunset fade: every byte of the picture drops by one a pass, down to 0, for N passes\n"
    "      (default 256: black).\n"
    "      Both read JPEG, BMP or GIF (the first frame) and write OUT by its extension as\n"
    "      convert does. Exit status 1 when an input cannot be read or OUT written, 2 for usage\n"
    "      errors; nothing is written unless the command succeeds.\n"
    "  composite RED GREEN BLUE -o OUT [--red-mix P] [--blue-mix P] [--invert | --solarize P]\n"
    "      A colour composite of three band pictures of one scene (for the panoramic camera\n"
    "      usually the filters L4, L5 and L6): the red band's blue byte becomes red, the green\n"
    "      band's green byte green, the blue band's red byte blue, over the common top-left\n"
    "      area. --red-mix and --blue-mix first mix that band with the green band, P percent\n"
    "      of the band (0..100); --invert makes the negative, --solarize shifts every byte by\n"
    "      P percent of 256, modulo 256. OUT by its extension as convert writes it.\n"
    "  magnify IN -o OUT --x X --y Y [--magnification M] [--radius R] [--circle]\n"
    "          [--border-width W] [--no-border]\n"
    "      The magnifier's lens drawn into the picture centred on pixel (X, Y): a square of\n"
    "      2s pixels (s = R / M, halves to even, at least 2) drawn M times larger inside a red\n"
    "      border W pixels wide (0 draws one pixel), or with --circle spread over a disc of\n"
    "      radius s x M with a two-pixel ring, black pixels letting the picture show. M 2..50\n"
    "      (default 2), R 10..800 (default 150), W 0..30 (default 5). OUT by its extension\n"
    "      as convert writes it; exit status as composite.\n"
    "  movie DIR -o OUT.avi [--fps N]\n"
    "      An uncompressed AVI movie of every ordinary file of DIR (sorted by name without\n"
    "      regard to case) at N frames a second (default 5). All frames must have the first\n"
    "      one's size (and, for bitmaps, its pixel format); JPEG and GIF frames are decoded to\n"
    "      24 bits. Movies past 1 GiB are written in the OpenDML form every player reads.\n"
    "      Exit status 1 when a frame cannot be read or does not match the first, or OUT\n"
    "      cannot be written; 2 for usage errors and an empty or unreadable DIR.\n"
    "  frames MOVIE [--from N] [--count N] [-o DIR]\n"
    "      Decodes the frames of any movie the player plays (uncompressed and OpenDML AVIs,\n"
    "      MJPEG, MPEG-4, H.264 ...) from frame N for N frames (default: all); with -o each\n"
    "      one is written to DIR as frameNNNNNN.bmp. Prints the frame size, the length in\n"
    "      frames and the rate. Only regular files are read. Exit status 1 when the movie does\n"
    "      not play, no frame of it decodes or N is past its last frame; 2 for usage errors.\n"
    "  pairs DIR... [-o OUTDIR] [--merge M] [--contrast T] [--brightness B] [--blue]\n"
    "        [--cross-eyed] [--format jpg|bmp] [--jobs N] [--recursive] [--force]\n"
    "        [--files-from FILE] [--shard K/N]\n"
    "      The anaglyph of every stereo pair in the folders (with --recursive, also in every\n"
    "      folder below them), made as the anaglyph command makes it: a JPEG or archive\n"
    "      picture whose name decodes with the eye letter L or R stands for its pair, and the\n"
    "      partners are the names with L and R in that place and .jpg (an archive picture's\n"
    "      own extension, .IMG say), found in any letter case. Each is written\n"
    "      into OUTDIR (default: the current directory, created when missing) as the left-eye\n"
    "      name, the settings (-B30C16M50), -0 and the first free number, upper-cased, in\n"
    "      JPEG at quality 100 or (--format bmp) 24-bit BMP. --cross-eyed puts the pair side\n"
    "      by side instead (the right eye on the left, the lower picture centred on black),\n"
    "      named with -XEYED in place of the settings. Folder runs, below.\n"
    "  colour DIR... [-o OUTDIR] [--red-mix P] [--blue-mix P] [--format jpg|bmp] [--jobs N]\n"
    "        [--recursive] [--force] [--files-from FILE] [--shard K/N]\n"
    "      The colour composite of every set of left-eye filter 4, 5 and 6 pictures of one\n"
    "      exposure (the names that differ only in the filter digit and end in M1): filter 4\n"
    "      red, 5 green, 6 blue, as the composite command makes it. Named as the green band,\n"
    "      -L4L5L6, -0 and the first free number. --red-mix and --blue-mix mix that band with\n"
    "      the green one (P percent of the band; a mix not given is 100), and the name then\n"
    "      carries -L4L5L5L5L6. Folder runs, below.\n"
    "  Folder runs (pairs and colour)\n"
    "      The work is spread over N threads (default: the number of cores); the output and\n"
    "      its names do not depend on N. A picture whose name (-01) is in OUTDIR already is\n"
    "      skipped; --force makes it again over the old file. Every file is written without a\n"
    "      name and takes its name when complete, never over a file or link that appeared in\n"
    "      the meantime (that picture is skipped). A picture that cannot be read fails\n"
    "      alone, with its reason. Made pictures are listed on standard output; progress (on\n"
    "      a terminal), the summary, the failures and the pictures without partners on\n"
    "      standard error. Exit status 1 when anything failed, 2 for usage errors, folders\n"
    "      that cannot be read and an OUTDIR that cannot be created.\n"
    "  find DIR... [--rover 1|2] [--camera F|R|N|P|M|E] [--sol N[-M]]\n"
    "        [--date YYYY-MM-DD[..YYYY-MM-DD]] [--eye L|R] [--filter D] [--recursive]\n"
    "        [--json|--csv|-0] [--files-from FILE] [--shard K/N]\n"
    "      The files whose names decode to the given rover, camera, sol range, UTC capture\n"
    "      date range, eye and filter (letters in either case); no picture is read. Prints\n"
    "      their paths, one a line, or with -0 (--print0) each ended by a NUL byte (for\n"
    "      xargs -0; names may hold line breaks), or their decode records as decode --json /\n"
    "      --csv prints them. A DIR that is an archive volume's root (it holds\n"
    "      data/solNNNN/) stands for its sols' edr/ and rdr/ folders, and --sol then picks\n"
    "      the sol folders by their numbers; --recursive walks it as any folder instead.\n"
    "      Exit status as decode's.\n"
    "  Shared runs (decode, find, pairs and colour)\n"
    "      --files-from FILE  also take the paths listed in FILE, one a line (- reads standard\n"
    "              input; blank lines are skipped, a CR before the line end is dropped). The\n"
    "              list is sorted as folders are and a path listed twice counts once; its\n"
    "              paths come after the folders and names given as arguments. decode takes\n"
    "              each as it takes an argument; find judges each file by its name, and a\n"
    "              listed file that is not there is reported as a folder that cannot be read;\n"
    "              pairs and colour look for partners among the listed files of the same\n"
    "              folder, and a listed picture that is gone fails alone.\n"
    "      --shard K/N  do the K-th of N equal, contiguous parts of the sorted plan\n"
    "              (1 <= K <= N): the names for decode and find, the pictures to make (whole\n"
    "              pairs and filter sets) for pairs and colour. N runs with K = 1..N, on one\n"
    "              machine or many, with the same arguments and no word between them, make\n"
    "              what one run makes:\n"
    "              decode and find output joined in the order of K (the CSV header row comes\n"
    "              with part 1), pairs and colour the same files in OUTDIR, each made once.\n"
    "              Pictures that take one name with different numbers (the same pair in two\n"
    "              folders) all go to the part of the first. A folder that cannot be read is\n"
    "              reported by every run; any other problem by the run whose part holds it.\n"
    "  COMMAND --help\n"
    "      Show the part of this text about COMMAND.\n"
    "  --help\n"
    "      Show this text.\n";

// The section of the usage text that describes `command`, or empty.
std::string CommandHelp(const std::string& command) {
    std::string section;
    bool inside = false;
    const std::string text = kUsage;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start + 1);
        start = end + 1;
        const bool heading = line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ';
        if (heading) inside = line.compare(2, command.size() + 1, command + " ") == 0;
        if (inside) section += line;
    }
    return section;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::setlocale(LC_ALL, "");
    kobrix::RegisterArchiveReader();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::string help = CommandHelp(command);
        if (command == "pairs" || command == "colour") help += CommandHelp("Folder");
        const bool shared =
            command == "decode" || command == "find" || command == "pairs" || command == "colour";
        if (shared && !help.empty()) help += CommandHelp("Shared");
        if (!help.empty()) {
            std::cout << "Usage: kobrix-cli\n" << help;
            return 0;
        }
    }
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
    if (command == "pairs" || command == "colour" || command == "find") {
        const kobrix::SystemTimeZone system;
        const kobrix::cli::ZoneSnapshot zone(system);
        if (command == "find") {
            const int status = kobrix::cli::RunFindCommand(args, zone, kobrix::LocaleDateNames(),
                                                           std::cout, std::cerr);
            std::cout.flush();
            return status;
        }
        kobrix::cli::BatchConsole console;
        console.cores = kobrix::AvailableCores();
        console.progress = isatty(STDERR_FILENO) != 0;
        console.outputOnTerminal = isatty(STDOUT_FILENO) != 0;
        const auto run =
            command == "pairs" ? kobrix::cli::RunPairsCommand : kobrix::cli::RunColourCommand;
        const int status = run(args, zone, console, std::cout, std::cerr);
        std::cout.flush();
        return status;
    }
    if (command == "anaglyph") return kobrix::cli::RunAnaglyphCommand(args, std::cout, std::cerr);
    if (command == "fade") return kobrix::cli::RunFadeCommand(args, std::cout, std::cerr);
    if (command == "composite") {
        return kobrix::cli::RunCompositeCommand(args, std::cout, std::cerr);
    }
    if (command == "magnify") return kobrix::cli::RunMagnifyCommand(args, std::cout, std::cerr);
    if (command == "movie") {
        return kobrix::cli::RunMovieCommand(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    }
    if (command == "frames") return kobrix::cli::RunFramesCommand(args, std::cout, std::cerr);
    if (command == "info") return kobrix::cli::RunInfoCommand(args, std::cout, std::cerr);
    if (command == "thumbnail") {
        return kobrix::cli::RunThumbnailCommand(args, std::cout, std::cerr);
    }
    if (command == "label") return kobrix::cli::RunLabelCommand(args, std::cout, std::cerr);
    if (command == "derived") return kobrix::cli::RunDerivedCommand(args, std::cout, std::cerr);
    if (command == "convert") return kobrix::cli::RunConvertCommand(args, std::cout, std::cerr);
    std::cerr << "kobrix-cli: unknown command " << command << "\n\n" << kUsage;
    return 2;
}
