#include "browse/browse_texts.h"

#include <charconv>

#include "decode/rounding.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

std::string_view Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return name.substr(dot);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (x != b[i]) return false;
    }
    return true;
}

}  // namespace

std::string FileSizeText(std::uintmax_t bytes) {
    return std::to_string(RoundHalfEven(static_cast<double>(bytes) / 1024.0)) + " kb";
}

std::string PictureSizeText(int width, int height, PixelFormat format) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels  " +
           std::string(PixelFormatName(format));
}

bool IsAnimatedGifName(std::string_view name) {
    const std::string_view ext = Extension(name);
    return ext == ".gif" || ext == ".GIF";
}

bool IsPictureName(std::string_view name) {
    const std::string_view ext = Extension(name);
    for (std::string_view known : {".bmp", ".jpg", ".jpeg", ".gif"}) {
        if (EqualsIgnoringCase(ext, known)) return true;
    }
    // The formats of the readers the program registered (the planetary archive's files).
    return ClaimingPictureReader(name) != nullptr;
}

std::optional<std::string> GalleryBaseFor(std::string_view roverNumber) {
    if (roverNumber == "1") return "https://mars.nasa.gov/mer/gallery/all/opportunity";
    if (roverNumber == "2") return "https://mars.nasa.gov/mer/gallery/all/spirit";
    return std::nullopt;
}

GalleryAddress GalleryPageAddress(std::string_view base, std::string_view cameraLetter,
                                  std::string_view solText) {
    const std::optional<int> sol = ParseWholeNumber(solText);
    if (!sol) return GalleryAddress{false, {}, NotAnIntegerText(solText)};
    std::string solPart(solText);
    if (*sol < 100) solPart.insert(0, "0");
    std::string address(base);
    address += '_';
    address += cameraLetter;
    address += solPart;
    address += ".html";
    for (char& c : address) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return GalleryAddress{true, address, {}};
}

std::string ScreenResolutionText(int width, int height) {
    return "Screen Resolution " + std::to_string(width) + " x " + std::to_string(height);
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    // Surrounding blanks are accepted, as the system's conversion accepts them.
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return std::nullopt;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string NotAnIntegerText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

}  // namespace kobrix
