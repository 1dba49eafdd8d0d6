#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `anaglyph RIGHT LEFT -o OUT [--merge M] [--contrast T] [--brightness B] [--blue]`: the
// red/cyan anaglyph of a stereo pair, the right-eye picture giving blue and green (blue only
// with --blue), the left-eye picture red. Settings 0..100, by default 50, 16 and 30.
// `fade IN -o OUT [--passes N]`: N sunset passes (default 256) over IN.
// Inputs are read as `convert` reads them (JPEG, BMP, the first frame of a GIF); OUT is written
// by its extension (".jpg"/".jpeg" JPEG at quality 100, ".bmp", ".gif"). An option may also
// be written as --merge=M.
// Both return 0; 1 when an input cannot be read or OUT cannot be written; 2 for usage errors
// (checked before anything is read). Nothing is written unless the command succeeds.
int RunAnaglyphCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunFadeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `composite BLUE GREEN RED -o OUT`: the straight colour combination of three band pictures
// over their common top-left area. Returns as the commands above.
int RunCompositeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `magnify IN -o OUT --x X --y Y [--magnification M] [--radius R] [--circle]
// [--border-width W] [--no-border]`: the magnifier's lens drawn into the picture at (X, Y),
// as the magnifier draws it (M 2..50, default 2; R 10..800, default 150; W 0..30, default 5,
// red). Returns as the commands above.
int RunMagnifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
