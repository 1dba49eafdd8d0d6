#include "colour/core/anaglyph.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "colour/core/render_row.h"
#include "decode/rounding.h"
#include "imaging/ascii_case.h"

namespace kobrix {
namespace {

void CheckSetting(int value, const char* name) {
    if (value < 0 || value > 100) {
        throw std::out_of_range(std::string(name) + " setting " + std::to_string(value) +
                                " is outside 0..100");
    }
}

std::uint8_t ClampByte(std::int64_t value) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

// The bytes of one pixel (blue, green, red) that a separation keeps.
std::array<std::uint8_t, 3> PixelMask(Separation kind) {
    switch (kind) {
        case Separation::Cyan:
            return {0xFF, 0xFF, 0x00};
        case Separation::Blue:
            return {0xFF, 0x00, 0x00};
        case Separation::Red:
            break;
    }
    return {0x00, 0x00, 0xFF};
}

}  // namespace

Bitmap24 Separate(const Bitmap24& source, Separation kind) {
    Bitmap24 result;
    SeparateInto(source, kind, result);
    return result;
}

void SeparateInto(const Bitmap24& source, Separation kind, Bitmap24& result) {
    result.Resize(source.Width(), source.Height(), false);
    const std::size_t used = static_cast<std::size_t>(source.Width()) * 3;
    const std::size_t stride = result.Stride();
    // A mask row (filler bytes 0) makes the copy one AND a byte, which vectorises.
    const std::array<std::uint8_t, 3> pixel = PixelMask(kind);
    std::vector<std::uint8_t> mask(stride, 0);
    for (std::size_t i = 0; i < used; ++i) mask[i] = pixel[i % 3];
    const std::uint8_t* const* in = source.Rows();
    std::uint8_t* const* out = result.Rows();
    const std::uint8_t* m = mask.data();
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* s = in[y];
        std::uint8_t* d = out[y];
        for (std::size_t i = 0; i < used; ++i) d[i] = s[i] & m[i];
        std::memset(d + used, 0, stride - used);
    }
}

int MergeWeight(int merge) {
    CheckSetting(merge, "merge");
    const float fraction = static_cast<float>(merge) / 100.0f;
    return static_cast<int>(RoundHalfEven(256.0 * static_cast<double>(fraction)));
}

Bitmap24 Merge(const Bitmap24& separated1, const Bitmap24& separated2, int merge) {
    const unsigned w = static_cast<unsigned>(MergeWeight(merge));
    const int width = std::min(separated1.Width(), separated2.Width());
    const int height = std::min(separated1.Height(), separated2.Height());
    Bitmap24 result;
    result.Resize(width, height, false);
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        // Contrast 16 and offset 0 leave the merged bytes as they are.
        RenderAnaglyphRow(separated1.Row(y), separated2.Row(y), result.Row(y), used, w, 16, 0);
        std::memset(result.Row(y) + used, 0, result.Stride() - used);
    }
    return result;
}

ByteTable ContrastTable(int contrast) {
    CheckSetting(contrast, "contrast");
    ByteTable table;
    for (int in = 0; in < 256; ++in) {
        table[static_cast<std::size_t>(in)] =
            ClampByte(RoundHalfEven(static_cast<double>(in * contrast) / 16.0));
    }
    return table;
}

Bitmap24 Contrast(const Bitmap24& source, int contrast) {
    return ApplyByteTable(source, ContrastTable(contrast));
}

int BrightnessOffset(int brightness) {
    CheckSetting(brightness, "brightness");
    const float fraction = static_cast<float>(brightness) / 60.0f;
    return static_cast<int>(RoundHalfEven(256.0 * static_cast<double>(fraction))) - 128;
}

ByteTable BrightnessTable(int brightness) {
    const int offset = BrightnessOffset(brightness);
    ByteTable table;
    for (int in = 0; in < 256; ++in) table[static_cast<std::size_t>(in)] = ClampByte(in + offset);
    return table;
}

Bitmap24 Brightness(const Bitmap24& source, int brightness) {
    return ApplyByteTable(source, BrightnessTable(brightness));
}

Bitmap24 RenderAnaglyph(const Bitmap24& separated1, const Bitmap24& separated2,
                        const AnaglyphSettings& settings) {
    Bitmap24 result;
    RenderAnaglyph(separated1, separated2, settings, result);
    return result;
}

void RenderAnaglyph(const Bitmap24& separated1, const Bitmap24& separated2,
                    const AnaglyphSettings& settings, Bitmap24& result) {
    const unsigned w = static_cast<unsigned>(MergeWeight(settings.merge));
    CheckSetting(settings.contrast, "contrast");
    const int offset = BrightnessOffset(settings.brightness);
    const int width = std::min(separated1.Width(), separated2.Width());
    const int height = std::min(separated1.Height(), separated2.Height());
    result.Resize(width, height, false);  // keeps the pixels of a picture of the same size
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    const std::uint8_t* const* in1 = separated1.Rows();
    const std::uint8_t* const* in2 = separated2.Rows();
    std::uint8_t* const* out = result.Rows();
    for (int y = 0; y < height; ++y) {
        RenderAnaglyphRow(in1[y], in2[y], out[y], used, w, settings.contrast, offset);
        std::memset(out[y] + used, 0, result.Stride() - used);
    }
}

std::string AnaglyphSettingsTag(const AnaglyphSettings& settings) {
    return "-B" + std::to_string(settings.brightness) + "C" + std::to_string(settings.contrast) +
           "M" + std::to_string(settings.merge);
}

unsigned long long FirstFreeSaveNumber(std::string_view stem,
                                       const std::vector<std::string>& existingNames) {
    return FirstFreeSaveNumber(stem, SaveNameSet(existingNames));
}

SaveNameSet::SaveNameSet(const std::vector<std::string>& names) {
    folded_.reserve(names.size());
    for (const std::string& name : names) Add(name);
}

void SaveNameSet::Add(std::string_view name) {
    folded_.insert(AsciiLower(name));
}

bool SaveNameSet::Contains(std::string_view name) const {
    return folded_.contains(AsciiLower(name));
}

unsigned long long FirstFreeSaveNumber(std::string_view stem, const SaveNameSet& taken) {
    const std::string numbered = std::string(stem) + "-0";
    for (unsigned long long n = 1;; ++n) {
        const std::string name = numbered + std::to_string(n);
        if (!taken.Contains(name + ".jpg") && !taken.Contains(name + ".bmp")) return n;
    }
}

std::string NumberedAnaglyphName(std::string_view baseName, std::string_view tag,
                                 const std::vector<std::string>& existingNames) {
    const std::string stem = std::string(baseName) + std::string(tag);
    return stem + "-0" + std::to_string(FirstFreeSaveNumber(stem, existingNames)) + ".jpg";
}

std::vector<std::string> DirectoryEntryNames(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(directory, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

SaveTarget AnaglyphSaveTarget(const std::string& chosenPath, int filterIndex) {
    return SaveTargetAs(chosenPath, filterIndex == kAnaglyphJpegFilter);
}

}  // namespace kobrix
