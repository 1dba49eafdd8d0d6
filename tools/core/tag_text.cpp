#include "tools/core/tag_text.h"

#include <algorithm>
#include <cctype>

#include "imaging/bmp_io.h"
#include "imaging/gif_io.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"

namespace kobrix {

TagPreset TagPresetForWidth(int width) {
    if (width < 64) return {2, 2, 7};
    if (width <= 127) return {2, 2, 8};
    if (width <= 255) return {4, 4, 10};
    if (width <= 511) return {5, 5, 12};
    if (width <= 1023) return {7, 7, 16};
    return {10, 10, 28};
}

int BottomLeftTop(int pictureHeight, int fontSize) {
    return pictureHeight - 2 * fontSize;
}

std::string BuildAutoTag(const AutoTagParts& parts, const AutoTagValues& v) {
    std::string tag;
    if (parts.roverNumber) tag += "Mer" + v.roverNumber + " ";
    if (parts.roverName) tag += v.roverName + " ";
    if (parts.sol) tag += "Sol " + v.sol + " ";
    if (parts.martianHour) tag += "Hr" + v.martianHours;
    if (parts.martianMinute) tag += "Min" + v.martianMinutes;
    if (parts.martianSeconds) tag += ":" + v.martianSeconds;
    if (parts.earthMinsSecs) tag += v.earthRemainderMinutes + ":" + v.earthRemainderSeconds;
    if (parts.earthDate) tag += v.utcTime + " UTC";
    return tag;
}

std::string PictureAttributesText(int width, int height, PixelFormat format) {
    return std::to_string(width) + " by " + std::to_string(height) + " pixels in " +
           std::string(PixelFormatName(format)) + " colour";
}

std::string TagSaveName(std::string_view baseName,
                        const std::function<bool(const std::string&)>& taken) {
    for (int n = 1;; ++n) {
        const std::string name = std::string(baseName) + "-Tag0" + std::to_string(n);
        bool free = true;
        for (const char* extension : {".jpg", ".gif", ".bmp"}) {
            // As proposed, and as a save of the proposal writes it.
            free = free && !taken(name + extension) &&
                   !taken(UpperCasedWithExtension(name, extension));
        }
        if (free) return name;
    }
}

TagSaveTarget TagSaveTargetFor(const std::string& chosenPath, int filterIndex) {
    switch (filterIndex) {
        case 2:
            return {UpperCasedWithExtension(chosenPath, ".gif"), TagSaveFormat::Gif};
        case 3:
        case 4:
            return {UpperCasedWithExtension(chosenPath, ".jpg"), TagSaveFormat::Jpeg};
        default:
            return {UpperCasedWithExtension(chosenPath, ".bmp"), TagSaveFormat::Bmp};
    }
}

void WriteTagSaveTarget(const Bitmap24& picture, const TagSaveTarget& target) {
    if (picture.Empty()) throw ImageError(target.path, "there is no picture to save");
    switch (target.format) {
        case TagSaveFormat::Gif:
            WriteGifFile(picture, target.path);
            return;
        case TagSaveFormat::Jpeg:
            WriteJpegFile(picture, target.path);
            return;
        case TagSaveFormat::Bmp:
            WriteBmpFile(picture, target.path);
            return;
    }
}

}  // namespace kobrix
