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

}  // namespace kobrix
