#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/bitmap24.h"

namespace kobrix {

// The warning of a folder whose list holds no picture.
inline constexpr const char* kNoImagesWarning =
    "No valid image filetypes (BMP, JPG) found in this directory !";

// "2 kb": bytes / 1024 rounded half to even.
std::string FileSizeText(std::uintmax_t bytes);

// "1024 x 1024 pixels  24 bit".
std::string PictureSizeText(int width, int height, PixelFormat format);

// Only these two spellings animate; ".Gif" is shown as a still picture.
bool IsAnimatedGifName(std::string_view name);

// A file the image library knows by its extension (any case): BMP, JPEG, GIF, and the files
// a registered reader claims (the archive's .IMG, .LBL and PDS4 labels).
bool IsPictureName(std::string_view name);

// The gallery base for a rover number text: "1" Opportunity, "2" Spirit, nullopt otherwise
// (the base then stays as it was).
std::optional<std::string> GalleryBaseFor(std::string_view roverNumber);

struct GalleryAddress {
    bool ok = false;
    std::string address;  // when ok
    std::string error;    // the number conversion error when the sol is not a whole number
};
// base + "_" + camera letter + sol (below 100 with one "0" in front) + ".html", lower case.
GalleryAddress GalleryPageAddress(std::string_view base, std::string_view cameraLetter,
                                  std::string_view solText);

// "Screen Resolution 1024 x 768".
std::string ScreenResolutionText(int width, int height);

// Whole-number text as the delay box and the gallery read it: optional sign, digits, nothing
// else; nullopt otherwise.
std::optional<int> ParseWholeNumber(std::string_view text);
// "'abc' is not a valid integer value" — the conversion error the program shows.
std::string NotAnIntegerText(std::string_view text);

}  // namespace kobrix
