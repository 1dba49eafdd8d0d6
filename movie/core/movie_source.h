#pragma once

// What passes between MovieDecoder and the FFmpeg module (libkobrix_ffmpeg.so), which the
// decoder loads the first time a movie is opened so that a program that never opens one does
// not load FFmpeg's libraries at start. Both sides are built from this header by the same
// compiler; nothing here throws across the boundary: failures come back as text, and the
// module calls no code of the program's except through FrameSink.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kobrix {

// Where the module puts a decoded frame; the decoder's side owns the picture.
class FrameSink {
  public:
    // Room for a frame of `width` x `height` pixels as 24-bit blue-green-red rows, each
    // `stride` bytes after the one above. Null when the program cannot hold a picture of that
    // size (or could not make room: the decoder's side then knows why).
    virtual std::uint8_t* Reserve(int width, int height, std::size_t& stride) = 0;

    enum class Jpeg { Decoded, Unreadable, Stop };
    // A Motion JPEG frame, a whole JPEG picture, decoded straight into the picture. Unreadable
    // when it cannot be read that way or is not `width` x `height`; Stop when the decoding must
    // end (the decoder's side knows why).
    virtual Jpeg TakeJpeg(const std::uint8_t* data, std::size_t size, int width, int height) = 0;

  protected:
    ~FrameSink() = default;
};

// One movie opened by the module: its first video stream, frames counted from 0.
class MovieSource {
  public:
    virtual ~MovieSource() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int Length() const = 0;
    virtual double FramesPerSecond() const = 0;

    // False, with the reason in `error`, when the movie cannot be positioned.
    virtual bool Seek(int frame, std::string& error) = 0;
    // The number of the frame given to `sink`, -1 at the end of the movie, or kReadFailed with
    // the reason in `error` (empty when the sink stopped the decoding).
    virtual int ReadFrame(FrameSink& sink, std::string& error) = 0;
    static constexpr int kReadFailed = -2;
};

// The module's one exported function: the movie at `path` opened, or null with the whole
// message for the user in `error`. `version` is kMovieModuleVersion as the caller was built;
// a module built otherwise refuses it.
inline constexpr int kMovieModuleVersion = 1;
inline constexpr const char* kOpenMovieSymbol = "kobrix_open_movie";
using OpenMovieFunction = MovieSource* (*)(int version, const char* path, std::string* error);

}  // namespace kobrix
