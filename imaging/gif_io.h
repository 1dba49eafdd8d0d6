#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// One frame of an animation, already composed on the logical screen.
struct GifFrame {
    Bitmap24 picture;
    int delayMs = 0;  // as the file gives it (hundredths of a second times ten)
};

struct GifAnimation {
    int width = 0;   // logical screen
    int height = 0;
    std::vector<GifFrame> frames;
};

// The first frame as a still picture (composed on the logical screen). Throws ImageError.
Bitmap24 DecodeGif(std::span<const std::uint8_t> data, const std::string& name);
Bitmap24 ReadGifFile(const std::string& path);

// Every frame composed with its disposal method and transparency. Throws ImageError.
GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> data, const std::string& name);
GifAnimation ReadGifAnimationFile(const std::string& path);

// A single frame with a 256-colour palette computed from the picture.
std::vector<std::uint8_t> EncodeGif(const Bitmap24& bitmap);
void WriteGifFile(const Bitmap24& bitmap, const std::string& path);

}  // namespace kobrix
