#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `frames MOVIE [--from N] [--count N] [-o DIR]`: decodes the frames of any movie the player
// plays, from frame N (default 0) for N frames (default all), as the player shows them; with
// -o each one is written to DIR as frameNNNNNN.bmp (its number, six digits). Prints the frame
// size, the length and the rate, then how many frames were decoded. Returns 0; 1 when the
// movie does not open or a frame cannot be decoded or written; 2 for usage errors.
int RunFramesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
