#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"
#include "imaging/file_access.h"

namespace kobrix {

// Windows BMP: core, info, V4 and V5 headers; 1/4/8/16/24/32 bits; RGB, RLE4, RLE8 and
// bit fields; bottom-up and top-down. The result is 24-bit with the source format kept.
// `name` only labels errors. Throws ImageError.
Bitmap24 DecodeBmp(std::span<const std::uint8_t> data, const std::string& name);
Bitmap24 ReadBmpFile(const std::string& path);

// 24-bit BITMAPINFOHEADER, bottom-up, biSizeImage filled in.
std::vector<std::uint8_t> EncodeBmp(const Bitmap24& bitmap);
void WriteBmpFile(const Bitmap24& bitmap, const std::string& path,
                  Placement placement = Placement::Replace);

}  // namespace kobrix
