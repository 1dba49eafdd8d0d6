#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "decode/time_zone.h"

namespace kobrix::cli {

// What the folder commands take from the computer.
struct BatchConsole {
    int cores = 1;                  // the default number of threads
    bool progress = false;          // standard error is a terminal: show the progress line there
    bool outputOnTerminal = false;  // standard output too: its lines make way for the progress
};

// `pairs DIR... [-o OUTDIR] [--merge M --contrast T --brightness B] [--blue] [--cross-eyed]
// [--format jpg|bmp] [--jobs N] [--recursive] [--force]`: the anaglyph (or the cross-eyed
// picture) of every stereo pair in the folders.
// `colour DIR... [-o OUTDIR] [--red-mix P --blue-mix P] [--format jpg|bmp] [--jobs N]
// [--recursive] [--force]`: the composite of every left-eye filter 4, 5 and 6 set.
// Both also take `--files-from FILE` (files listed one a line, "-" for standard input, after the
// folders; partners are the listed files of the same folder) and `--shard K/N`: the K-th of N
// equal parts of the pictures to make, so that N runs into one OUTDIR make what one run makes.
// Each made picture is a line on `out`, in the folders' order; failures, the pictures that
// found no partner and the summary go to `err`. Returns 0, 1 when any picture failed, 2 for
// usage errors and folders that cannot be read (nothing is made then).
int RunPairsCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                    const BatchConsole& console, std::ostream& out, std::ostream& err);
int RunColourCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const BatchConsole& console, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
