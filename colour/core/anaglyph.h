#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "browse/file_operations.h"
#include "colour/core/byte_table.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// Red/cyan anaglyphs from a stereo pair. The right-eye picture ("source 1") gives blue and
// green, the left-eye picture ("source 2") red:
//
//   separated1 = Separate(right, Separation::Cyan)      (or Separation::Blue)
//   separated2 = Separate(left, Separation::Red)
//   final      = RenderAnaglyph(separated1, separated2, settings)
//
// Every picture made here is new, and its row filler bytes are 0. The three settings are the
// positions 0..100 of the window's sliders; a setting outside 0..100 throws std::out_of_range.

enum class Separation {
    Cyan,  // blue and green kept, red 0 (source 1)
    Blue,  // blue kept, green and red 0 (source 1)
    Red,   // red kept, blue and green 0 (source 2)
};

// A copy of `source`, of its size, with the channels that `kind` drops set to 0.
Bitmap24 Separate(const Bitmap24& source, Separation kind);
// The same into `out`, whose memory is reused when it has the size already; `out` may be
// `source` itself.
void SeparateInto(const Bitmap24& source, Separation kind, Bitmap24& out);

// Merge weight of separated 1 out of 256 for merge setting `merge`: 256 * merge / 100 to the
// nearest integer, merge / 100 held in single precision first (125 at 49, 128 at 50).
int MergeWeight(int merge);

// Cross-fade over the common top-left area: the result is as wide as the narrower and as high
// as the lower picture, each byte (s1 * w + s2 * (256 - w)) >> 8 with w = MergeWeight(merge).
Bitmap24 Merge(const Bitmap24& separated1, const Bitmap24& separated2, int merge);

// Contrast `contrast`: byte * contrast / 16, rounded half to even, at most 255 (16 leaves the
// picture as it is, 32 doubles it, 0 makes it black).
ByteTable ContrastTable(int contrast);
Bitmap24 Contrast(const Bitmap24& source, int contrast);

// Brightness `brightness` adds BrightnessOffset(brightness) to every byte, clamped to 0..255.
// The offset is 256 * brightness / 60 to the nearest integer (brightness / 60 in single
// precision) less 128: -128 at 0, 0 at 30, +299 at 100.
int BrightnessOffset(int brightness);
ByteTable BrightnessTable(int brightness);
Bitmap24 Brightness(const Bitmap24& source, int brightness);

struct AnaglyphSettings {
    int merge = 50;
    int contrast = 16;
    int brightness = 30;

    friend bool operator==(const AnaglyphSettings&, const AnaglyphSettings&) = default;
};

// The values Reset returns the sliders to.
inline constexpr AnaglyphSettings kAnaglyphResetSettings{};

// The render chain: merge, contrast, a working copy, brightness. The same pixels as
// Brightness(Contrast(Merge(separated1, separated2, m), t), b), made in one pass over the
// rows without the intermediate pictures.
Bitmap24 RenderAnaglyph(const Bitmap24& separated1, const Bitmap24& separated2,
                        const AnaglyphSettings& settings);

// The same into `result`, whose memory is reused when it already has the size of the
// anaglyph (a slider moving re-renders without allocating). `result` must not be one of the
// sources.
void RenderAnaglyph(const Bitmap24& separated1, const Bitmap24& separated2,
                    const AnaglyphSettings& settings, Bitmap24& result);

// Saving. The name records the settings: "-B" brightness "C" contrast "M" merge, decimal
// without leading zeros ("-B30C16M50" at the reset values).
std::string AnaglyphSettingsTag(const AnaglyphSettings& settings);

// The proposed file name: baseName + tag + "-0" + n + ".jpg" for the first n = 1, 2, ... for
// which no entry of `existingNames` (the names in the save directory) has that name, or that
// name with ".bmp", letter case ignored. The endings run -01 .. -09, -010, -011, ...
// The ".bmp" name is checked as well so that a bitmap saved under the proposal is not
// replaced by the next save.
// The number n of that scheme for `stem` (base name and tag): the first from 1 for which neither
// stem + "-0" + n + ".jpg" nor ".bmp" is among `existingNames`, letter case ignored.
unsigned long long FirstFreeSaveNumber(std::string_view stem,
                                       const std::vector<std::string>& existingNames);

// The names of a save directory, letter case folded, for many look-ups against one listing.
class SaveNameSet {
  public:
    SaveNameSet() = default;
    explicit SaveNameSet(const std::vector<std::string>& names);
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;  // letter case ignored

  private:
    std::unordered_set<std::string> folded_;
};
unsigned long long FirstFreeSaveNumber(std::string_view stem, const SaveNameSet& taken);
std::string NumberedAnaglyphName(std::string_view baseName, std::string_view tag,
                                 const std::vector<std::string>& existingNames);

// The names of the entries of `directory`; empty when it cannot be read.
std::vector<std::string> DirectoryEntryNames(const std::string& directory);

// The save dialog's type list, in order; the second (1-based index 2) is preselected and is
// the only one that writes JPEG.
inline constexpr const char* kAnaglyphSaveFilters[] = {
    "All (*.jpg;*.jpeg;*.bmp;)", "JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)",
    "Bitmaps (*.bmp)"};
inline constexpr int kAnaglyphJpegFilter = 2;

// The file a save writes for the dialog's `chosenPath` and 1-based `filterIndex`: the chosen
// path without a typed extension, its file name (not its directory) upper-cased, with ".jpg"
// for kAnaglyphJpegFilter and ".bmp" for any other type. Write it with WriteSaveTarget.
SaveTarget AnaglyphSaveTarget(const std::string& chosenPath, int filterIndex);

}  // namespace kobrix
