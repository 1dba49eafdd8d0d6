#include "colour/composite.h"

#include <algorithm>

#include "colour/anaglyph.h"

namespace kobrix {

Bitmap24 StraightCombination(const Bitmap24& blueBand, const Bitmap24& greenBand,
                             const Bitmap24& redBand) {
    const int width = std::min({blueBand.Width(), greenBand.Width(), redBand.Width()});
    const int height = std::min({blueBand.Height(), greenBand.Height(), redBand.Height()});
    Bitmap24 composite(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* b = blueBand.Row(y);
        const std::uint8_t* g = greenBand.Row(y);
        const std::uint8_t* r = redBand.Row(y);
        std::uint8_t* out = composite.Row(y);
        for (int x = 0; x < width; ++x, b += 3, g += 3, r += 3, out += 3) {
            out[0] = b[2];
            out[1] = g[1];
            out[2] = r[0];
        }
    }
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

}  // namespace kobrix
