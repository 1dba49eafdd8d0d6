#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix {

// Colour composites from three single-band pictures of one scene (for the panoramic camera
// usually the left-eye filters 4, 5 and 6 as red, green and blue).

// The straight combination, over the common top-left area (the smallest width and height):
// red = the blue byte of the red band, green = the green byte of the green band, blue = the
// red byte of the blue band (band pictures are grey, so all their bytes agree).
Bitmap24 StraightCombination(const Bitmap24& blueBand, const Bitmap24& greenBand,
                             const Bitmap24& redBand);
// The same into `composite`, resized, so that a slider can reuse the picture it had.
void StraightCombinationInto(const Bitmap24& blueBand, const Bitmap24& greenBand,
                             const Bitmap24& redBand, Bitmap24& composite);

// A band's filter label: the eye letter and filter digit of a product name, the 24th and 25th
// characters of the file name ("L4"); shorter names give what there is.
std::string FilterLabel(std::string_view fileName);

// The filter labels of the three slots and the tag saved names carry ("-L4L5L6": red, green,
// blue). With the automatic L4L5L6 option on, only the blue label is taken until it reads
// "L6"; the others and the tag keep what they had.
struct FilterTags {
    std::string blue, green, red, tag;
};
void UpdateFilterTags(FilterTags& tags, std::string_view blueName, std::string_view greenName,
                      std::string_view redName, bool autoL4L5L6);

// What the save proposes: base name (the green band's), tag, `middle` ("-0", "-Inverted0" or
// "-Solarized0") and the first number n for which base + tag + "-0" + n has no ".jpg" (nor
// ".bmp") among `existingNames`, letter case ignored.
std::string CompositeSaveName(std::string_view baseName, std::string_view tag,
                              std::string_view middle,
                              const std::vector<std::string>& existingNames);

// The middle part of a proposed save name: "-Inverted0", else "-Solarized0", else "-0".
std::string_view CompositeMiddle(bool inverted, bool solarized);

// The tag after the MER2RGB method: the green label stands three times ("-L4L5L5L5L6").
std::string Mer2RgbTag(const FilterTags& tags);

// A slider position 0..100 as a weight out of 256: the nearest integer to 256 * p / 100
// (128 at 50, 179 at 70, 256 at 100).
int MixtureWeight(int position);

// A band mixed with the green band over their common area; every byte is
// (band * w + green * (256 - w)) >> 8 with w = MixtureWeight(position). `out` is resized.
void MixInto(const Bitmap24& band, const Bitmap24& green, int position, Bitmap24& out);
Bitmap24 Mixture(const Bitmap24& band, const Bitmap24& green, int position);

// The negative: every byte 255 minus itself.
Bitmap24 Inverted(const Bitmap24& picture);
// Every byte shifted cyclically by w = MixtureWeight(position), modulo 256; positions 0 and
// 100 leave the picture as it is.
Bitmap24 Solarized(const Bitmap24& picture, int position);

// The name of a band's partner file: the product name up to the eye letter, the filter digit,
// "M1" and the current file's extension.
std::string PresetBandName(std::string_view prefix, char filterDigit, std::string_view extension);

// The three band slots of a composite.
enum class Band { Blue = 0, Green = 1, Red = 2 };

// Which slots a file goes into: its own filter when it is a left-eye 4, 5 or 6, and the band
// the user ticked, if any.
struct BandPicks {
    bool red = false, green = false, blue = false;
};
enum class TickedBand { None, Red, Green, Blue };
BandPicks PickBands(std::string_view eyeLetter, std::string_view filterDigit, TickedBand ticked);

}  // namespace kobrix
