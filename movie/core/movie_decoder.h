#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "imaging/bitmap24.h"

namespace kobrix {

// Why a movie could not be opened or read; the text is for the user as it stands.
class MovieReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The movie module could not be loaded, so no movie can be opened at all.
class MovieModuleError : public MovieReadError {
  public:
    using MovieReadError::MovieReadError;
};

// The first video stream of any file FFmpeg opens (uncompressed and OpenDML AVIs, MJPEG,
// MPEG-4, H.264 ...), frame by frame as 24-bit pictures. Audio and other streams are
// ignored. Frames are counted from 0 in presentation order; the time unit is the frame.
// FFmpeg is reached through the movie module (movie/core/movie_module.h), loaded by the first
// decoder made, so that a program that opens no movie does not load it.
class MovieDecoder {
  public:
    // Throws MovieReadError when the file is missing, not a movie, has no video stream, no
    // decoder for it, or frames larger than any picture the program accepts; throws
    // MovieModuleError when the movie module cannot be loaded ("Movies cannot be played: "
    // and the loader's reason).
    explicit MovieDecoder(const std::string& path);
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    int Width() const;
    int Height() const;
    // Frames in the movie: the container's count where it keeps one, else the duration times
    // the rate. At least 1 for a movie that opened.
    int Length() const;
    double FramesPerSecond() const;

    // The next ReadFrame returns frame `frame` (clamped to the movie): a seek to the key
    // frame at or before it, then decoding up to it.
    void Seek(int frame);
    // Decodes the next frame into `picture` (resized as needed) and returns its number, or
    // -1 at the end of the movie. Throws MovieReadError when the data cannot be decoded.
    int ReadFrame(Bitmap24& picture);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// Opens the movie only to read its frame size; empty text when it opened.
struct MovieProbe {
    int width = 0;
    int height = 0;
    int length = 0;
    std::string error;
    bool noPlayer = false;  // the movie module could not be loaded: no file would open
};
MovieProbe ProbeMovie(const std::string& path);

}  // namespace kobrix
