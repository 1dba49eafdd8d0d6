#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// Limits of an animation, checked before each frame is kept: a small crafted file can
// declare thousands of frames on a large screen. The first frame is always allowed: like a
// still picture it has only the Bitmap24 limits.
inline constexpr int kMaxGifFrames = 1000;
inline constexpr std::size_t kMaxGifAnimationBytes = std::size_t{512} << 20;

struct GifAnimationLimits {
    int maxFrames = kMaxGifFrames;
    std::size_t maxBytes = kMaxGifAnimationBytes;  // all composed frames together
};

// One frame of an animation, already composed on the logical screen.
struct GifFrame {
    Bitmap24 picture;
    int delayMs = 0;  // as the file gives it (hundredths of a second times ten)
};

struct GifAnimation {
    int width = 0;  // logical screen
    int height = 0;
    std::vector<GifFrame> frames;
};

// Composition: the screen starts in the file's background colour (black without a global
// colour table). Transparent pixels let the picture below show; there is no alpha, so
// "restore to background" (disposal 2) paints the background colour, as the format defines
// it; disposal 3 restores what the frame covered; 0 and 1 leave the frame in place. Frames
// reaching outside the screen are clipped; indexes past a frame's colour table are black,
// and a frame without any colour table is read as grey levels. Source format: 8 bit.

// The first frame as a still picture (composed on the logical screen). Throws ImageError.
Bitmap24 DecodeGif(std::span<const std::uint8_t> data, const std::string& name);
Bitmap24 ReadGifFile(const std::string& path);

// Every frame composed with its disposal method and transparency. Throws ImageError.
// Past the limits the whole file is refused rather than cut short.
GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> data, const std::string& name,
                                const GifAnimationLimits& limits = {});
GifAnimation ReadGifAnimationFile(const std::string& path);

// A single frame with a 256-colour palette computed from the picture.
std::vector<std::uint8_t> EncodeGif(const Bitmap24& bitmap);
void WriteGifFile(const Bitmap24& bitmap, const std::string& path);

}  // namespace kobrix
