#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "imaging/bitmap24.h"

namespace kobrix {

// The magnifier's lens: a square of 2s pixels of the picture drawn 2R wide, R = s x m.
struct LensGeometry {
    int s = 2;
    int R = 4;
    // The radius box is raised to this when the radius was too small (else unchanged).
    std::optional<int> raisedRadius;
};
// s = radius / m rounded half to even, at least 2 (then the radius becomes 2 x m).
LensGeometry LensFor(int radius, int magnification);

struct LensStyle {
    bool circle = false;
    bool border = true;
    int borderWidth = 5;  // squares only; 0 draws one pixel, as 1
    std::uint8_t borderBlue = 0, borderGreen = 0, borderRed = 255;
};

// `copy` becomes a copy of `source`, in the memory it has when the sizes agree (a redraw at
// every pointer move then allocates nothing).
void CopyPicture(const Bitmap24& source, Bitmap24& copy);

// Draws the lens centred on (x, y) of `source` into `view`, which must be a copy of the same
// size. Picture outside the source reads as black; everything is clipped to `view`. The square
// draws the 2s source square m times over 2R pixels inside its border; the circle spreads it
// over 2R + 8 pixels and keeps the disc of radius R, where black pixels of the magnified
// picture let the picture beneath show.
void DrawLens(const Bitmap24& source, Bitmap24& view, int x, int y, const LensGeometry& lens,
              int magnification, const LensStyle& style);

// The bitmap pixel under a pointer at (x, y) of the area. Stretched, the picture is drawn in
// `drawn` (keeping its aspect ratio, centred), and the pointer is mapped through it, rounded
// to the nearest pixel; otherwise the picture is at its own size at the top left, clipped to
// the area, and the pointer is the pixel.
struct DrawnRect {
    int x = 0, y = 0, width = 0, height = 0;
};
std::optional<std::pair<int, int>> PointerToBitmap(int x, int y, bool stretch, DrawnRect drawn,
                                                   int bitmapWidth, int bitmapHeight);

// "clBlack" ... for the twenty standard colours, else "$" and 0x00BBGGRR in eight hex digits.
std::string ColourName(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// "(X,Y) = (12, 7)     (R,G,B) = (255, 0, 0) = clRed"
std::string LocationText(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// "512 by 512 pixels in 24 bit color"
std::string MagnifierAttributesText(int width, int height, PixelFormat format);

// Sets `key` in `section` of the INI text `text`, keeping every other section and key.
std::string WithIniValue(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value);

// The clipboard tool's proposed name: rover name, camera letter, "Sol", sol, "-", hours, "-",
// minutes, "-0", n, ".bmp", for the first n from 1 that `taken` does not refuse.
std::string ClipboardSaveName(const std::string& roverName, const std::string& cameraLetter,
                              const std::string& sol, const std::string& hours,
                              const std::string& minutes,
                              const std::function<bool(const std::string&)>& taken);

}  // namespace kobrix
