#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `movie DIR -o OUT.avi [--fps N]`: every ordinary file of DIR, sorted by name without regard
// to case, is a frame of an uncompressed AVI movie at N frames a second (default 5). Bitmap
// frames are written as the AVI creation tool writes them; when any frame is a JPEG or GIF,
// every frame is decoded to 24 bits first. With `progress` (standard error is a terminal) a
// progress line is redrawn on `err` for long movies.
// Returns 0; 1 when a frame cannot be read, does not match the first, or OUT cannot be
// written; 2 for usage errors. Nothing is left under OUT unless the movie is complete.
int RunMovieCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    bool progress = false);

}  // namespace kobrix::cli
