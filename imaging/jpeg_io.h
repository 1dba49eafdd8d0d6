#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/bitmap24.h"

namespace kobrix {

// Decodes a JPEG (baseline, progressive, greyscale, CMYK/YCCK, any sampling) straight into
// the padded BGR rows. `name` only labels errors. Throws ImageError.
Bitmap24 DecodeJpeg(std::span<const std::uint8_t> data, const std::string& name);
Bitmap24 ReadJpegFile(const std::string& path);

// Always quality 100 with the accurate DCT.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& bitmap);
void WriteJpegFile(const Bitmap24& bitmap, const std::string& path);

}  // namespace kobrix
