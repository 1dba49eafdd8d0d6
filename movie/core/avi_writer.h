#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// Movies of still frames: one uncompressed video stream ('vids', handler "DIB "), every frame
// a key frame, scale 1 and rate = frames per second. The frames are BMP files of one size and
// pixel format; the movie takes its format block (info header and colour table) from the
// first frame, so 8-bit palette frames stay 8-bit as long as they share one colour table.
// Frames whose colour tables (or colour masks) differ are written as 24-bit frames instead,
// so that each plays in its own colours. Frames are held to the picture readers' limits. Past 1 GiB
// the file continues in OpenDML form (an 'indx' super index with 'ix00' standard indexes, 'AVIX'
// lists and the 'dmlh' frame count), keeping the legacy 'idx1' for the first part, so any player
// reads it whole.

// Why a movie could not be written. `frame` is the index of the frame at fault, or -1.
class MovieError : public std::runtime_error {
  public:
    enum class Kind {
        NoFrames,         // the list is empty
        BadRate,          // not a positive number of frames per second
        FrameUnreadable,  // missing, not a BMP, or shorter than the first frame's pixel data
        FrameMismatch,    // another size or pixel format than the first frame
        WriteFailed,      // the movie file could not be created or written
    };
    MovieError(Kind kind, int frame, const std::string& message);
    Kind GetKind() const { return kind_; }
    int Frame() const { return frame_; }

  private:
    Kind kind_;
    int frame_;
};

// Called after each frame is written: (frames written, frame count). Return false to stop.
using MovieProgress = std::function<bool(int written, int total)>;

// Writes `frames` (BMP file paths, in order) as the movie `path` at `framesPerSecond`. The
// movie is written under a temporary name in the target directory and renamed when complete,
// so a failure never leaves a half movie under `path` nor destroys an older one. Every frame
// is checked against the first before anything of it is written. Throws MovieError.
void WriteMovie(const std::string& path, const std::vector<std::string>& frames,
                int framesPerSecond, const MovieProgress& progress = {});

// Frames that are already pictures (decoded JPEGs, say): `frame(i)` gives frame i of `count`,
// written as a 24-bit bottom-up bitmap. Every frame must have the first one's size.
void WriteMovieFromBitmaps(const std::string& path, int count,
                           const std::function<Bitmap24(int index)>& frame, int framesPerSecond,
                           const MovieProgress& progress = {});

}  // namespace kobrix
