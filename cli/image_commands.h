#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `info FILE...`: one line per readable file on `out` with width, height and the pixel
// format of the file (and the number of frames of a GIF); the error of each unreadable file
// on `err`. Files are read as the tools that accept every picture type read them. An archive
// file (.IMG, .LBL, .xml ...) gets its format, size, bands, sample type and bits, then the
// label's facts, one "KEY = value" line each.
// Returns 0, 1 when any file could not be read, 2 when no file is given.
int RunInfoCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

// `convert IN OUT`: reads IN as `info` does (the first frame of a GIF) and writes it by OUT's
// extension: ".jpg"/".jpeg" JPEG at quality 100, ".bmp" 24-bit BMP, ".gif" one frame.
// Returns 0, 1 when IN cannot be read or OUT cannot be written (the error on `err`), 2 when
// OUT's extension names no type we write (checked before IN is read).
int RunConvertCommand(const std::string& in, const std::string& out, std::ostream& outStream,
                      std::ostream& err);

// `convert IN OUT [--stretch P]`: as above; an archive file becomes its display picture with
// P percent (0 to 49.9, default 0.5; 0 is the whole range) clipped at each end. Returns 2
// for usage errors.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& outStream,
                      std::ostream& err);

}  // namespace kobrix::cli
