#pragma once

#include <cstdint>

#include "imaging/bitmap24.h"

namespace kobrix::samples {

// A camera on a mast over rocky ground, looking at the horizon. Everything is computed from
// integer hashes, so the pictures are the same on every build.
struct TerrainView {
    int width = 512;
    int height = 512;
    double horizon = 0.32;      // ground horizon, as a fraction of the height from the top
    double fieldOfView = 16.0;  // degrees across
    double cameraHeight = 1.5;  // metres
    double baseline = 0.12;     // metres between the eyes
    double hills = 0.05;        // height of the far ridge, as a fraction of the height
    double rocks = 0.35;        // chance of a rock in each 0.7 m cell
    double rockSize = 0.3;      // radius of the largest rocks, metres
    double ripples = 0.0;       // strength of wind ripples on the ground
    std::uint32_t seed = 1;
};

// Grey levels 0..1 seen by one eye: -1 left, +1 right, 0 a single camera. The far ridge and
// the sky are at infinity and do not shift between the eyes; the ground does, more the
// nearer it is.
double TerrainLevel(const TerrainView& view, double x, double y, int eye);

// A whole picture, grey = gain * level + offset, clamped.
Bitmap24 RenderTerrain(const TerrainView& view, int eye, double gain = 1.0, double offset = 0.0);

// A close-up of a rock surface with grains, in a circular field, as a microscope sees it.
Bitmap24 RenderRockSurface(int side, std::uint32_t seed);

// Wide flat plains with a dust devil whose column stands at `column` (0..1 across).
Bitmap24 RenderDustDevil(int width, int height, double column, std::uint32_t seed);

}  // namespace kobrix::samples
