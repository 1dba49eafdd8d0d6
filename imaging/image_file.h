#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// True when the extension is ".jpg" or ".jpeg", compared without regard to case.
bool HasJpegExtension(std::string_view path);

// Reads a whole file, refusing anything larger than `limit` bytes. Throws ImageError.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path,
                                        std::size_t limit = kMaxImageBytes);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// JPEG by extension, everything else as a Windows BMP.
Bitmap24 ReadJpegOrBmp(const std::string& path);

// JPEG by extension, GIF by its signature or ".gif", everything else as BMP (the callers that
// accept every picture type the program knows).
Bitmap24 ReadAnyPicture(const std::string& path);

// Writes by extension: ".jpg"/".jpeg" JPEG at quality 100, ".bmp" 24-bit BMP, ".gif" GIF.
// Throws ImageError for any other extension.
void WritePictureByExtension(const Bitmap24& bitmap, const std::string& path);

}  // namespace kobrix
