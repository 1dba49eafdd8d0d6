#include "colour/core/composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "colour/core/anaglyph.h"

namespace kobrix {

void StraightCombinationInto(const Bitmap24& blueBand, const Bitmap24& greenBand,
                             const Bitmap24& redBand, Bitmap24& composite) {
    const int width = std::min({blueBand.Width(), greenBand.Width(), redBand.Width()});
    const int height = std::min({blueBand.Height(), greenBand.Height(), redBand.Height()});
    composite.Resize(width, height, false);
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* __restrict b = blueBand.Row(y);
        const std::uint8_t* __restrict g = greenBand.Row(y);
        const std::uint8_t* __restrict r = redBand.Row(y);
        std::uint8_t* __restrict out = composite.Row(y);
        // Green whole, then the red and blue bytes over it.
        std::memcpy(out, g, bytes);
        for (std::size_t i = 0; i < bytes; i += 3) {
            out[i] = b[i + 2];
            out[i + 2] = r[i];
        }
        std::fill(out + bytes, out + composite.Stride(), std::uint8_t{0});  // row padding
    }
}

Bitmap24 StraightCombination(const Bitmap24& blueBand, const Bitmap24& greenBand,
                             const Bitmap24& redBand) {
    Bitmap24 composite;
    StraightCombinationInto(blueBand, greenBand, redBand, composite);
    return composite;
}

std::string FilterLabel(std::string_view fileName) {
    if (fileName.size() <= 23) return {};
    return std::string(fileName.substr(23, 2));
}

void UpdateFilterTags(FilterTags& tags, std::string_view blueName, std::string_view greenName,
                      std::string_view redName, bool autoL4L5L6) {
    tags.blue = FilterLabel(blueName);
    if (autoL4L5L6 && tags.blue != "L6") return;
    tags.green = FilterLabel(greenName);
    tags.red = FilterLabel(redName);
    tags.tag = "-" + tags.red + tags.green + tags.blue;
}

std::string CompositeSaveName(std::string_view baseName, std::string_view tag,
                              std::string_view middle,
                              const std::vector<std::string>& existingNames) {
    const std::string stem = std::string(baseName) + std::string(tag);
    return stem + std::string(middle) + std::to_string(FirstFreeSaveNumber(stem, existingNames));
}

std::string_view CompositeMiddle(bool inverted, bool solarized) {
    if (inverted) return "-Inverted0";
    if (solarized) return "-Solarized0";
    return "-0";
}

std::string Mer2RgbTag(const FilterTags& tags) {
    return "-" + tags.red + tags.green + tags.green + tags.green + tags.blue;
}

int MixtureWeight(int position) {
    // The fraction is held in single precision as the slider arithmetic always was; no
    // position 0..100 lands on a half.
    const float fraction = static_cast<float>(position) / 100.0F;
    return static_cast<int>(std::lround(256.0F * fraction));
}

namespace {

// Applies `op(a, b)` byte by byte over the common area of two pictures.
template <typename Op>
void CombineBytes(const Bitmap24& a, const Bitmap24& b, Bitmap24& out, Op op) {
    const int width = std::min(a.Width(), b.Width());
    const int height = std::min(a.Height(), b.Height());
    out.Resize(width, height, false);
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* __restrict pa = a.Row(y);
        const std::uint8_t* __restrict pb = b.Row(y);
        std::uint8_t* __restrict po = out.Row(y);
        for (std::size_t i = 0; i < bytes; ++i) po[i] = op(pa[i], pb[i]);
        std::fill(po + bytes, po + out.Stride(), std::uint8_t{0});
    }
}

template <typename Op>
Bitmap24 MapBytes(const Bitmap24& picture, Op op) {
    Bitmap24 out;
    out.Resize(picture.Width(), picture.Height(), false);
    const std::size_t bytes = static_cast<std::size_t>(picture.Width()) * 3;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* in = picture.Row(y);
        std::uint8_t* po = out.Row(y);
        for (std::size_t i = 0; i < bytes; ++i) po[i] = op(in[i]);
        std::fill(po + bytes, po + out.Stride(), std::uint8_t{0});
    }
    return out;
}

}  // namespace

void MixInto(const Bitmap24& band, const Bitmap24& green, int position, Bitmap24& out) {
    // band * w + green * (256 - w) is at most 255 * 256, so 16 bits carry it.
    const auto w = static_cast<std::uint16_t>(MixtureWeight(std::clamp(position, 0, 100)));
    const auto rest = static_cast<std::uint16_t>(256 - w);
    CombineBytes(band, green, out, [w, rest](std::uint8_t b, std::uint8_t g) {
        return static_cast<std::uint8_t>(
            static_cast<std::uint16_t>(static_cast<std::uint16_t>(b * w) +
                                       static_cast<std::uint16_t>(g * rest)) >>
            8);
    });
}

Bitmap24 Mixture(const Bitmap24& band, const Bitmap24& green, int position) {
    Bitmap24 out;
    MixInto(band, green, position, out);
    return out;
}

Bitmap24 Inverted(const Bitmap24& picture) {
    return MapBytes(picture, [](std::uint8_t v) { return static_cast<std::uint8_t>(255 - v); });
}

Bitmap24 Solarized(const Bitmap24& picture, int position) {
    const int w = MixtureWeight(std::clamp(position, 0, 100));
    return MapBytes(picture, [w](std::uint8_t v) { return static_cast<std::uint8_t>(v + w); });
}

std::string PresetBandName(std::string_view prefix, char filterDigit, std::string_view extension) {
    std::string name(prefix);
    name += filterDigit;
    name += "M1";
    name += extension;
    return name;
}

BandPicks PickBands(std::string_view eyeLetter, std::string_view filterDigit, TickedBand ticked) {
    BandPicks picks;
    if (eyeLetter == "L") {
        picks.red = filterDigit == "4";
        picks.green = filterDigit == "5";
        picks.blue = filterDigit == "6";
    }
    picks.red = picks.red || ticked == TickedBand::Red;
    picks.green = picks.green || ticked == TickedBand::Green;
    picks.blue = picks.blue || ticked == TickedBand::Blue;
    return picks;
}

}  // namespace kobrix
