#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"
#include "imaging/file_access.h"

namespace kobrix {

// Files with more scans are refused: each scan is a pass over the whole picture, so a small
// crafted file could otherwise keep the decoder busy for minutes. Real files have about ten.
inline constexpr int kMaxJpegScans = 256;

// Decodes a JPEG (baseline, progressive, greyscale, CMYK/YCCK, any sampling) straight into
// the padded BGR rows; EXIF orientation is ignored. The source format is 8 bit for greyscale
// and 24 bit for everything else (CMYK included: it is read as 24-bit colour). `name` only
// labels errors. Throws ImageError, also for truncated files and sizes past the limits.
Bitmap24 DecodeJpeg(std::span<const std::uint8_t> data, const std::string& name);
// The same into `picture`, whose memory is reused when it has the size already (a run over
// many pictures of one size, or the frames of a movie, then maps no new memory). On failure
// `picture` holds whatever the decoder reached.
void DecodeJpegInto(std::span<const std::uint8_t> data, const std::string& name, Bitmap24& picture);
Bitmap24 ReadJpegFile(const std::string& path);

// Always quality 100 with the accurate DCT.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& bitmap);
void WriteJpegFile(const Bitmap24& bitmap, const std::string& path,
                   Placement placement = Placement::Replace);

}  // namespace kobrix
