#include "samples/scenes.h"

#include <algorithm>
#include <cmath>

namespace kobrix::samples {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double Unit(std::uint32_t h) {
    return (h >> 8) * (1.0 / 16777216.0);
}

double Smooth(double t) {
    return t * t * (3 - 2 * t);
}

// Value noise in 0..1, smooth between the integer lattice points.
double Noise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double a = Unit(Hash(ix, iy, seed)), b = Unit(Hash(ix + 1, iy, seed));
    const double c = Unit(Hash(ix, iy + 1, seed)), d = Unit(Hash(ix + 1, iy + 1, seed));
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

// Octaves of noise around 0; octaves finer than a pixel (`footprint` in the same units)
// fade out, so that distant ground turns smooth instead of speckled.
double Fractal(double x, double y, std::uint32_t seed, double footprint) {
    double sum = 0, amplitude = 0.5, frequency = 1;
    for (int octave = 0; octave < 7; ++octave) {
        const double weight = std::clamp(2.0 - 4.0 * frequency * footprint, 0.0, 1.0);
        if (weight <= 0) break;
        sum += amplitude * weight * (Noise(x * frequency, y * frequency, seed + octave) - 0.5);
        amplitude *= 0.5;
        frequency *= 2;
    }
    return sum;
}

std::uint8_t Grey(double level) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(level, 0.0, 1.0) * 255));
}

// Rocks scattered on a 0.7 m grid, lit from the front left, each with its shadow. Returns
// the factor the ground is multiplied with, or the rock's own level when (x, z) is on one.
struct RockHit {
    bool onRock = false;
    double level = 1.0;
};

RockHit Rocks(const TerrainView& view, double x, double z, double footprint) {
    constexpr double kCell = 0.7;
    const int cx = static_cast<int>(std::floor(x / kCell));
    const int cz = static_cast<int>(std::floor(z / kCell));
    RockHit hit;
    for (int j = cz - 1; j <= cz + 1; ++j) {
        for (int i = cx - 1; i <= cx + 1; ++i) {
            if (Unit(Hash(i, j, view.seed + 7)) >= view.rocks) continue;
            const double size = Unit(Hash(i, j, view.seed + 10));
            const double r = view.rockSize * (0.15 + 0.85 * size * size);
            if (r < 1.5 * footprint) continue;  // too small to see from here
            const double rx = (i + 0.2 + 0.6 * Unit(Hash(i, j, view.seed + 8))) * kCell;
            const double rz = (j + 0.2 + 0.6 * Unit(Hash(i, j, view.seed + 9))) * kCell;
            const double dx = (x - rx) / r, dz = (z - rz) / r;
            const double q = dx * dx + dz * dz;
            if (q < 1) {
                const double up = std::sqrt(1 - q);
                const double light = std::max(0.0, -0.55 * dx - 0.25 * dz + 0.8 * up);
                const double grain = Fractal(x * 30, z * 30, view.seed + 11, footprint * 30);
                return {true, 0.22 + 0.5 * light + 0.25 * grain};
            }
            const double sx = dx - 0.75, sz = dz - 0.45;
            if (sx * sx + sz * sz < 1.2) hit.level = std::min(hit.level, 0.62);
        }
    }
    return hit;
}

// Grains jittered about their cells (so the cells' neighbours are looked at too), each a
// little darker at its lower edge. `x` and `y` are in cells.
double Grain(double x, double y, std::uint32_t seed) {
    const int gx = static_cast<int>(x), gy = static_cast<int>(y);
    for (int j = gy - 1; j <= gy + 1; ++j) {
        for (int i = gx - 1; i <= gx + 1; ++i) {
            if (Unit(Hash(i, j, seed + 6)) < 0.35) continue;
            const double ox = x - i - 0.5 - 0.8 * (Unit(Hash(i, j, seed + 1)) - 0.5);
            const double oy = y - j - 0.5 - 0.8 * (Unit(Hash(i, j, seed + 2)) - 0.5);
            const double radius = 0.12 + 0.4 * Unit(Hash(i, j, seed + 3));
            if (ox * ox + oy * oy < radius * radius) {
                return 0.3 * (Unit(Hash(i, j, seed + 4)) - 0.45) - 0.1 * oy / radius;
            }
        }
    }
    return 0;
}

}  // namespace

double TerrainLevel(const TerrainView& view, double x, double y, int eye) {
    const double w = view.width, h = view.height;
    const double focal = (w / 2) / std::tan(view.fieldOfView * kPi / 360);
    const double groundY = h * view.horizon;
    const double ridge =
        groundY - h * view.hills * (0.5 + 1.4 * Fractal(x / w * 5, 0.5, view.seed + 100, 0.002));
    if (y < ridge) {
        const double t = (ridge - y) / h;
        return 0.74 - 0.38 * t + 0.02 * (Noise(x / 45, y / 45, view.seed + 200) - 0.5);
    }
    const double haze = 0.56;
    if (y < groundY + 0.5) {
        return haze + 0.12 * Fractal(x / 22, y / 6, view.seed + 300, 1 / 22.0) -
               0.06 * (groundY - y) / (h * view.hills + 1);
    }
    const double below = y - groundY;
    const double z = view.cameraHeight * focal / below;  // metres to the ground seen here
    const double footprint = z / below;                  // metres per pixel, up the picture
    const double ground = (x - w / 2) * z / focal + eye * view.baseline / 2;

    // Patches of darker and lighter soil a few metres across, pebbles, then sand.
    double level = 0.5 + 0.6 * Fractal(ground * 0.2, z * 0.2, view.seed + 3, footprint * 0.2) +
                   0.4 * Fractal(ground * 1.5, z * 1.5, view.seed, footprint * 1.5) +
                   0.18 * Fractal(ground * 14, z * 14, view.seed + 1, footprint * 14);
    if (view.ripples > 0) {
        const double fade = std::clamp(2.0 - 8.0 * footprint * 2.2, 0.0, 1.0);
        const double wave = z * 2.2 + 3.0 * Fractal(ground * 0.3, z * 0.3, view.seed + 2, 0);
        const double crest = 0.5 + 0.5 * std::sin(wave * 2 * kPi);
        level += view.ripples * 0.08 * fade * (crest * crest - 0.4);
    }
    const RockHit rock = Rocks(view, ground, z, footprint);
    level = rock.onRock ? rock.level : level * rock.level;
    const double far = 1 - std::exp(-z / 300);  // distance haze
    return level + (haze - level) * far;
}

Bitmap24 RenderTerrain(const TerrainView& view, int eye, double gain, double offset) {
    Bitmap24 b(view.width, view.height);
    for (int y = 0; y < view.height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < view.width; ++x, p += 3) {
            p[0] = p[1] = p[2] = Grey(gain * TerrainLevel(view, x + 0.5, y + 0.5, eye) + offset);
        }
    }
    return b;
}

Bitmap24 RenderRockSurface(int side, std::uint32_t seed) {
    Bitmap24 b(side, side);
    const double scale = 6.0 / side;
    const double grain = 13.0;  // pixels per grain cell
    for (int y = 0; y < side; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < side; ++x, p += 3) {
            double level = 0.5 + 0.5 * Fractal(x * scale, y * scale, seed, scale) +
                           0.12 * Fractal(x / 3.0, y / 3.0, seed + 5, 1 / 3.0);
            level += Grain(x / grain, y / grain, seed);
            const double dx = (x + 0.5) / side * 2 - 1, dy = (y + 0.5) / side * 2 - 1;
            const double r2 = dx * dx + dy * dy;
            level = r2 > 0.96 ? 0.04 : level * (1 - 0.35 * r2);
            p[0] = p[1] = p[2] = Grey(level);
        }
    }
    return b;
}

Bitmap24 RenderDustDevil(int width, int height, double column, std::uint32_t seed) {
    TerrainView plains{.width = width,
                       .height = height,
                       .horizon = 0.42,
                       .fieldOfView = 45,
                       .cameraHeight = 1.5,
                       .baseline = 0,
                       .hills = 0.015,
                       .rocks = 0.06,
                       .ripples = 1.0,
                       .seed = seed};
    Bitmap24 b(width, height);
    const double baseY = 0.6 * height, topY = 0.04 * height;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        const double up = std::clamp((baseY - y) / (baseY - topY), 0.0, 1.0);
        const double centre = column * width + 0.015 * width * std::sin(y / 6.0 + column * 17);
        const double spread = width * (0.018 + 0.06 * up * up);
        const double strength = y > baseY ? std::exp(-(y - baseY) / 2.5) : 1 - 0.7 * up;
        for (int x = 0; x < width; ++x, p += 3) {
            const double d = (x + 0.5 - centre) / spread;
            const double dust = 0.24 * strength * std::exp(-d * d);
            p[0] = p[1] = p[2] = Grey(TerrainLevel(plains, x + 0.5, y + 0.5, 0) + dust);
        }
    }
    return b;
}

}  // namespace kobrix::samples
