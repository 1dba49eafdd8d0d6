#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/bitmap24.h"
#include "imaging/file_access.h"

namespace kobrix {

// True when the extension is ".jpg" or ".jpeg", compared without regard to case.
bool HasJpegExtension(std::string_view path);

enum class PictureKind { Jpeg, Gif, Bmp };

// How ReadAnyPicture reads a file of this name whose first bytes are `head`.
PictureKind PictureKindOf(std::string_view path, std::span<const std::uint8_t> head);

// What WritePictureByExtension writes for this name; nothing for an extension it refuses.
std::optional<PictureKind> WritableKindOf(std::string_view path);

// Reads a whole file, refusing anything larger than `limit` bytes. Throws ImageError.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path,
                                        std::size_t limit = kMaxImageBytes);
// The same into `bytes`, whose memory is reused.
void ReadWholeFileInto(const std::string& path, std::vector<std::uint8_t>& bytes,
                       std::size_t limit = kMaxImageBytes);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    Placement placement = Placement::Replace);

// A reader of pictures in a format that a library above this one knows (the planetary
// archive's files): it claims a file by its name and reads it to 24 bits. ReadAnyPicture and
// ReadAnyPictureInto ask the registered readers before their own codecs, so that this layer
// need not depend on the one that reads those formats. Register at start-up, before reading.
struct PictureReader {
    bool (*claims)(std::string_view path);
    Bitmap24 (*read)(const std::string& path);
};
void RegisterPictureReader(PictureReader reader);
// The registered reader that claims `path`, if any.
const PictureReader* ClaimingPictureReader(std::string_view path);

// A file a registered reader claims through it, else JPEG by extension and everything else as
// a Windows BMP.
Bitmap24 ReadJpegOrBmp(const std::string& path);

// JPEG by extension, GIF by its signature or ".gif", everything else as BMP (the callers that
// accept every picture type the program knows).
Bitmap24 ReadAnyPicture(const std::string& path);

// The same into `picture`, reusing its memory and `bytes` for the file where it can (a JPEG).
void ReadAnyPictureInto(const std::string& path, Bitmap24& picture,
                        std::vector<std::uint8_t>& bytes);

// Writes by extension: ".jpg"/".jpeg" JPEG at quality 100, ".bmp" 24-bit BMP, ".gif" GIF.
// Throws ImageError for any other extension.
void WritePictureByExtension(const Bitmap24& bitmap, const std::string& path,
                             Placement placement = Placement::Replace);

}  // namespace kobrix
