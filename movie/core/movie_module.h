#pragma once

#include <string>
#include <vector>

#include "movie/core/movie_source.h"

namespace kobrix {

// The FFmpeg module's file name.
inline constexpr const char* kMovieModuleName = "libkobrix_ffmpeg.so";

// Where the module is looked for, in order: beside the running program, then in
// ../lib/kobrix from the program's folder, where the package installs it and where the build
// tree puts it. Empty when the program's own path is unknown.
std::vector<std::string> MovieModulePlaces();

// The module's entry point, the module loaded on the first call (and kept for the life of
// the process). Null when it cannot be loaded, with the text for the user in `error`:
// "Movies cannot be played: " and the module's path with the loader's reason.
OpenMovieFunction LoadMovieModule(std::string& error);

// From now on the module is looked for at `path` alone; an empty path restores the usual
// places. For tests of a program whose module is missing or broken.
void SetMovieModulePath(const std::string& path);

}  // namespace kobrix
