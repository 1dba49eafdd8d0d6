#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"
#include "imaging/file_access.h"

namespace kobrix {

// Limits of an animation, checked before each frame is kept (the first one too): a small
// crafted file can declare thousands of frames on a large screen.
inline constexpr int kMaxGifFrames = 1000;
inline constexpr std::size_t kMaxGifAnimationBytes = std::size_t{256} << 20;

// A logical screen of more pixels than this is cut to the area its frames draw; within it the
// whole screen is kept, background and all.
inline constexpr std::uint64_t kMaxGifScreenPixels = 4096 * 4096;

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

// A frame whose compressed data is too short to give all its declared pixels is refused before
// anything is allocated for it.

// The first frame as a still picture (composed on the logical screen). Throws ImageError.
Bitmap24 DecodeGif(std::span<const std::uint8_t> data, const std::string& name);
Bitmap24 ReadGifFile(const std::string& path);

// Every frame composed with its disposal method and transparency. Throws ImageError.
// Past the limits the whole file is refused rather than cut short.
GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> data, const std::string& name,
                                const GifAnimationLimits& limits = {});
GifAnimation ReadGifAnimationFile(const std::string& path);

// How many frames the file's records announce, without decoding any (to the first bad
// record): a still picture need not be decoded again as an animation.
int CountGifFrames(std::span<const std::uint8_t> data);

// A single frame with a 256-colour palette computed from the picture.
std::vector<std::uint8_t> EncodeGif(const Bitmap24& bitmap);
void WriteGifFile(const Bitmap24& bitmap, const std::string& path,
                  Placement placement = Placement::Replace);

}  // namespace kobrix
