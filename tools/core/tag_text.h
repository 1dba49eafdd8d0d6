#pragma once

#include <string>
#include <string_view>

#include "browse/file_operations.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// Where and how large the tag is drawn on a picture of a given width.
struct TagPreset {
    int x0 = 10;
    int y0 = 10;
    int size = 28;  // points
    bool operator==(const TagPreset&) const = default;
};
TagPreset TagPresetForWidth(int width);

// The top of a tag placed at the bottom left: the picture's height less twice the size.
int BottomLeftTop(int pictureHeight, int fontSize);

// The parts of the automatic tag, in the order they are written.
struct AutoTagParts {
    bool roverNumber = false;  // "Mer1/2"
    bool roverName = true;     // "Spirit/Opportunity"
    bool sol = true;           // "Sol Number"
    bool martianHour = false;
    bool martianMinute = false;
    bool martianSeconds = false;
    bool earthMinsSecs = false;
    bool earthDate = false;
};

// What the tag is made of, as the main window and the Earth time page show it.
struct AutoTagValues {
    std::string roverNumber;
    std::string roverName;
    std::string sol;
    std::string martianHours;  // of the Martian time since landing
    std::string martianMinutes;
    std::string martianSeconds;
    std::string earthRemainderMinutes;  // of the Earth time page
    std::string earthRemainderSeconds;
    std::string utcTime;
};

std::string BuildAutoTag(const AutoTagParts& parts, const AutoTagValues& values);

// "1024 by 768 pixels in 24 bit colour".
std::string PictureAttributesText(int width, int height, PixelFormat format);

// The save dialog's format list, in order; the third (1-based) is preselected.
inline constexpr const char* kTagSaveFilters[] = {
    "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)",
    "GIF Image (*.gif)",
    "JPEG Image File (*.jpg)",
    "JPEG Image File (*.jpeg)",
    "Bitmaps (*.bmp)",
    "Icons (*.ico)",
    "Enhanced Metafiles (*.emf)",
    "Metafiles (*.wmf)"};
inline constexpr int kTagSaveJpegFilter = 3;

// The proposed name: baseName + "-Tag0" + n for the first n = 1, 2, ... that no file of the
// directory takes with any picture extension, letter case ignored.
std::string TagSaveName(std::string_view baseName,
                        const std::function<bool(const std::string&)>& taken);

enum class TagSaveFormat { Gif, Jpeg, Bmp };
struct TagSaveTarget {
    std::string path;
    TagSaveFormat format = TagSaveFormat::Jpeg;
};
// The chosen path without a typed extension, its file name upper-cased, with the extension of
// the chosen format: GIF, either JPEG entry, or a bitmap for every other entry.
TagSaveTarget TagSaveTargetFor(const std::string& chosenPath, int filterIndex);
void WriteTagSaveTarget(const Bitmap24& picture, const TagSaveTarget& target);

}  // namespace kobrix
