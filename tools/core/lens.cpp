#include "tools/core/lens.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "decode/rounding.h"

namespace kobrix {

void CopyPicture(const Bitmap24& source, Bitmap24& copy) {
    if (copy.Width() == source.Width() && copy.Height() == source.Height() && !copy.Empty()) {
        std::memcpy(copy.Data(), source.Data(), source.SizeBytes());  // the memory it has
    } else {
        copy = source;
    }
}

LensGeometry LensFor(int radius, int magnification) {
    LensGeometry lens;
    const int m = std::max(magnification, 1);
    lens.s = static_cast<int>(RoundHalfEven(static_cast<double>(radius) / m));
    if (lens.s < 2) {
        lens.s = 2;
        lens.raisedRadius = 2 * m;
    }
    lens.R = lens.s * m;
    return lens;
}

namespace {

void FillRect(Bitmap24& view, int left, int top, int right, int bottom, std::uint8_t b,
              std::uint8_t g, std::uint8_t r) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, view.Width());
    bottom = std::min(bottom, view.Height());
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* p = view.Row(y) + 3 * static_cast<std::size_t>(std::max(left, 0));
        for (int x = left; x < right; ++x, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

// The columns [first, last] of row `dy` whose pixel centres lie within `radius` of the
// centre (x, y); empty (first > last) when none.
std::pair<int, int> DiscSpan(int x, int y, int dy, long long radius) {
    const long long ry = 2LL * (dy - y) + 1;
    const long long room = 4 * radius * radius - ry * ry;
    if (room < 0) return {1, 0};
    long long k = static_cast<long long>(std::sqrt(static_cast<double>(room)));
    while (k * k > room) --k;
    while ((k + 1) * (k + 1) <= room) ++k;
    // |2t + 1| <= k for t = dx - x: ceil((-k - 1) / 2) <= t <= floor((k - 1) / 2).
    const auto floorHalf = [](long long a) { return a >= 0 ? a / 2 : -((-a + 1) / 2); };
    const long long low = -floorHalf(k + 1);
    const long long high = floorHalf(k - 1);
    return {x + static_cast<int>(low), x + static_cast<int>(high)};
}

// The circle: the source square of side 2s is spread over a work square of side 2R + 8 placed
// at (x - R - 4, y - R - 4), of which the disc of radius R around (x, y) is kept; black
// pixels of it are transparent. The ring lies between radius R and R + 2.
void DrawCircleLens(const Bitmap24& source, Bitmap24& view, int x, int y, const LensGeometry& lens,
                    const LensStyle& style) {
    const int s = lens.s, R = lens.R;
    const int side = 2 * R + 8, origin = -R - 4;
    // The source column (row) of work square position j, counted from x - R - 4 (y - R - 4).
    const auto sourceAt = [&](int centre, int j) {
        return centre - s + static_cast<int>(2LL * s * j / side);
    };
    for (int dy = std::max(y - R, 0); dy < std::min(y + R, view.Height()); ++dy) {
        const int sy = sourceAt(y, dy - (y + origin));
        if (sy < 0 || sy >= source.Height()) continue;  // black there: transparent
        const std::uint8_t* src = source.Row(sy);
        std::uint8_t* out = view.Row(dy);
        const auto [first, last] = DiscSpan(x, y, dy, R);
        for (int dx = std::max(first, 0); dx <= std::min(last, view.Width() - 1); ++dx) {
            const int sx = sourceAt(x, dx - (x + origin));
            if (sx < 0 || sx >= source.Width()) continue;
            const std::uint8_t* px = src + 3 * static_cast<std::size_t>(sx);
            if ((px[0] | px[1] | px[2]) == 0) continue;
            std::memcpy(out + 3 * static_cast<std::size_t>(dx), px, 3);
        }
    }
    if (!style.border || (style.borderBlue | style.borderGreen | style.borderRed) == 0) return;
    // A ring two pixels wide: within R + 2 of the centre but not within R.
    for (int dy = std::max(y - R - 2, 0); dy < std::min(y + R + 2, view.Height()); ++dy) {
        const auto [outerFirst, outerLast] = DiscSpan(x, y, dy, R + 2);
        const auto [innerFirst, innerLast] = DiscSpan(x, y, dy, R);
        std::uint8_t* out = view.Row(dy);
        for (int dx = std::max(outerFirst, 0); dx <= std::min(outerLast, view.Width() - 1); ++dx) {
            if (innerFirst <= innerLast && dx >= innerFirst && dx <= innerLast) {
                dx = innerLast;
                continue;
            }
            std::uint8_t* o = out + 3 * static_cast<std::size_t>(dx);
            o[0] = style.borderBlue;
            o[1] = style.borderGreen;
            o[2] = style.borderRed;
        }
    }
}

}  // namespace

void DrawLens(const Bitmap24& source, Bitmap24& view, int x, int y, const LensGeometry& lens,
              int magnification, const LensStyle& style) {
    const int s = lens.s, R = lens.R, m = std::max(magnification, 1);
    if (style.circle) {
        DrawCircleLens(source, view, x, y, lens, style);
        return;
    }
    if (style.border) {
        // The frame runs through columns x - R - 1 and x + R (rows alike), the pen centred on
        // it; a pen of width 0 draws one pixel, as a width of 1.
        const int w = std::max(style.borderWidth, 1);
        const int out = w / 2, in = (w - 1) / 2;
        FillRect(view, x - R - 1 - out, y - R - 1 - out, x + R + out + 1, y + R + out + 1,
                 style.borderBlue, style.borderGreen, style.borderRed);
        FillRect(view, x - R + in, y - R + in, x + R - in, y + R - in, 255, 255, 255);
    }
    const int top = std::max(y - R, 0), bottom = std::min(y + R, view.Height());
    const int left = std::max(x - R, 0), right = std::min(x + R, view.Width());
    if (left >= right) return;
    // One lens row of magnified pixels; m lens rows in a row come from the same source row.
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(right - left));
    int builtFor = INT_MIN;
    for (int dy = top; dy < bottom; ++dy) {
        const int sy = y - s + (dy - (y - R)) / m;  // the source row this lens row magnifies
        if (sy != builtFor) {
            builtFor = sy;
            const bool inside = sy >= 0 && sy < source.Height();
            const std::uint8_t* src = inside ? source.Row(sy) : nullptr;
            std::uint8_t* o = row.data();
            for (int dx = left; dx < right;) {
                const int sx = x - s + (dx - (x - R)) / m;
                // The lens pixels up to the next source column share this pixel.
                const int runEnd = std::min(right, x - R + (sx - (x - s) + 1) * m);
                std::uint8_t px[3] = {0, 0, 0};
                if (src != nullptr && sx >= 0 && sx < source.Width())
                    std::memcpy(px, src + 3 * sx, 3);
                for (; dx < runEnd; ++dx, o += 3) std::memcpy(o, px, 3);
            }
        }
        std::memcpy(view.Row(dy) + 3 * static_cast<std::size_t>(left), row.data(), row.size());
    }
}

std::optional<std::pair<int, int>> PointerToBitmap(int x, int y, bool stretch, DrawnRect drawn,
                                                   int bitmapWidth, int bitmapHeight) {
    int bx = x, by = y;
    if (stretch) {
        if (drawn.width <= 0 || drawn.height <= 0) return std::nullopt;
        bx = static_cast<int>(
            RoundHalfEven(static_cast<double>(x - drawn.x) * bitmapWidth / drawn.width));
        by = static_cast<int>(
            RoundHalfEven(static_cast<double>(y - drawn.y) * bitmapHeight / drawn.height));
        // Rounding takes the last drawn column (row) of an enlarged picture one past the
        // bitmap's; it shows the last pixel.
        if (x >= drawn.x && x < drawn.x + drawn.width) bx = std::min(bx, bitmapWidth - 1);
        if (y >= drawn.y && y < drawn.y + drawn.height) by = std::min(by, bitmapHeight - 1);
    }
    if (bx < 0 || by < 0 || bx >= bitmapWidth || by >= bitmapHeight) return std::nullopt;
    return std::pair{bx, by};
}

std::string ColourName(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const std::uint32_t value = std::uint32_t{blue} << 16 | std::uint32_t{green} << 8 | red;
    static constexpr std::pair<std::uint32_t, const char*> kNames[] = {
        {0x000000, "clBlack"}, {0x000080, "clMaroon"},     {0x008000, "clGreen"},
        {0x008080, "clOlive"}, {0x800000, "clNavy"},       {0x800080, "clPurple"},
        {0x808000, "clTeal"},  {0x808080, "clGray"},       {0xC0C0C0, "clSilver"},
        {0x0000FF, "clRed"},   {0x00FF00, "clLime"},       {0x00FFFF, "clYellow"},
        {0xFF0000, "clBlue"},  {0xFF00FF, "clFuchsia"},    {0xFFFF00, "clAqua"},
        {0xFFFFFF, "clWhite"}, {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"},
        {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},
    };
    for (const auto& [v, name] : kNames) {
        if (v == value) return name;
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", value);
    return text;
}

std::string LocationText(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return "(X,Y) = (" + std::to_string(x) + ", " + std::to_string(y) + ")     (R,G,B) = (" +
           std::to_string(red) + ", " + std::to_string(green) + ", " + std::to_string(blue) +
           ") = " + ColourName(red, green, blue);
}

std::string MagnifierAttributesText(int width, int height, PixelFormat format) {
    return std::to_string(width) + " by " + std::to_string(height) + " pixels in " +
           std::string(PixelFormatName(format)) + " color";
}

std::string WithIniValue(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    const std::string header = "[" + section + "]";
    const auto isSection = [](const std::string& l) { return !l.empty() && l.front() == '['; };
    auto it = std::find(lines.begin(), lines.end(), header);
    if (it == lines.end()) {
        lines.push_back(header);
        lines.push_back(key + "=" + value);
    } else {
        auto end = std::find_if(it + 1, lines.end(), isSection);
        auto entry = std::find_if(it + 1, end,
                                  [&](const std::string& l) { return l.rfind(key + "=", 0) == 0; });
        if (entry != end) {
            *entry = key + "=" + value;
        } else {
            lines.insert(end, key + "=" + value);
        }
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::string ClipboardSaveName(const std::string& roverName, const std::string& cameraLetter,
                              const std::string& sol, const std::string& hours,
                              const std::string& minutes,
                              const std::function<bool(const std::string&)>& taken) {
    const std::string stem =
        roverName + cameraLetter + "Sol" + sol + "-" + hours + "-" + minutes + "-0";
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n) + ".bmp";
        if (!taken(name)) return name;
    }
}

}  // namespace kobrix
