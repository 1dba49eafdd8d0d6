#include "archive/display_rule.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>
#include <vector>

#include "imaging/image_error.h"

namespace kobrix {
namespace {

std::size_t BandSamples(const SampleView& s) {
    return static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height);
}

int StretchedBands(const SampleView& s) {
    return s.bands >= 3 ? 3 : 1;
}

template <typename T>
const T* Band(const SampleView& s, int band) {
    return static_cast<const T*>(s.data) + BandSamples(s) * static_cast<std::size_t>(band);
}

// Ranks of the stretch over N samples. hi's rank ceil((1 - p)(N - 1)) equals
// N - 1 - floor(p (N - 1)), which keeps the two symmetric whatever the rounding of 1 - p.
std::pair<std::size_t, std::size_t> Ranks(std::size_t n, double p) {
    const double last = static_cast<double>(n - 1);
    // A hair of tolerance so that 0.5 % of 201 samples is rank 1, not 0.99999...
    auto lo = static_cast<std::size_t>(std::floor(p * last + 1e-9));
    lo = std::min(lo, n - 1);
    return {lo, n - 1 - std::min(lo, n - 1)};
}

template <typename T>
StretchBounds HistogramBounds(const SampleView& s, double p) {
    constexpr std::size_t kValues = std::size_t{1} << (8 * sizeof(T));
    constexpr long kOffset =
        std::is_signed_v<T> ? -static_cast<long>(std::numeric_limits<T>::min()) : 0;
    std::vector<std::uint32_t> histogram(kValues, 0);
    const std::size_t count = BandSamples(s);
    for (int band = 0; band < StretchedBands(s); ++band) {
        const T* v = Band<T>(s, band);
        for (std::size_t i = 0; i < count; ++i)
            ++histogram[static_cast<std::size_t>(v[i] + kOffset)];
    }
    StretchBounds bounds;
    bounds.count = count * static_cast<std::size_t>(StretchedBands(s));
    if (bounds.count == 0) return bounds;
    const auto [loRank, hiRank] = Ranks(bounds.count, p);
    std::size_t seen = 0;
    bool haveLo = false;
    for (std::size_t value = 0; value < kValues; ++value) {
        seen += histogram[value];
        if (!haveLo && seen > loRank) {
            bounds.lo = static_cast<double>(static_cast<long>(value) - kOffset);
            haveLo = true;
        }
        if (seen > hiRank) {
            bounds.hi = static_cast<double>(static_cast<long>(value) - kOffset);
            break;
        }
    }
    return bounds;
}

template <typename T>
StretchBounds SelectionBounds(const SampleView& s, double p) {
    std::vector<T> finite;
    const std::size_t count = BandSamples(s);
    finite.reserve(count * static_cast<std::size_t>(StretchedBands(s)));
    for (int band = 0; band < StretchedBands(s); ++band) {
        const T* v = Band<T>(s, band);
        for (std::size_t i = 0; i < count; ++i) {
            if constexpr (std::is_floating_point_v<T>) {
                if (!std::isfinite(v[i])) continue;
            }
            finite.push_back(v[i]);
        }
    }
    StretchBounds bounds;
    bounds.count = finite.size();
    if (finite.empty()) return bounds;
    const auto [loRank, hiRank] = Ranks(finite.size(), p);
    auto loIt = finite.begin() + static_cast<std::ptrdiff_t>(loRank);
    std::nth_element(finite.begin(), loIt, finite.end());
    bounds.lo = static_cast<double>(*loIt);
    // Everything above lo's rank is now behind it, so hi is selected from there only.
    auto hiIt = finite.begin() + static_cast<std::ptrdiff_t>(hiRank);
    std::nth_element(loIt, hiIt, finite.end());
    bounds.hi = static_cast<double>(*hiIt);
    return bounds;
}

template <typename T>
StretchBounds BoundsOf(const SampleView& s, double p) {
    if constexpr (sizeof(T) <= 2 && std::is_integral_v<T>) {
        return HistogramBounds<T>(s, p);
    } else {
        return SelectionBounds<T>(s, p);
    }
}

template <typename T>
void Paint(const SampleView& s, const StretchBounds& bounds, bool asIs, Bitmap24& picture) {
    const int bands = StretchedBands(s);
    const T* planes[3] = {Band<T>(s, 0), Band<T>(s, bands == 3 ? 1 : 0),
                          Band<T>(s, bands == 3 ? 2 : 0)};
    // Integers of up to 16 bits go through a table of every value.
    std::vector<std::uint8_t> table;
    constexpr bool kTabled = std::is_integral_v<T> && sizeof(T) <= 2;
    constexpr long kOffset =
        std::is_signed_v<T> ? -static_cast<long>(std::numeric_limits<T>::min()) : 0;
    if constexpr (kTabled) {
        table.resize(std::size_t{1} << (8 * sizeof(T)));
        // Below lo everything is black and above hi white: only the values between are
        // worked out one by one.
        std::size_t first = 0, last = table.size();
        if (!asIs && bounds.hi > bounds.lo) {
            const auto index = [&](double v) {
                return static_cast<std::size_t>(std::clamp<double>(
                    v + static_cast<double>(kOffset), 0, static_cast<double>(table.size())));
            };
            first = index(std::floor(bounds.lo));
            last = std::max(first, index(std::ceil(bounds.hi) + 1));
            std::fill(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(first),
                      std::uint8_t{0});
            std::fill(table.begin() + static_cast<std::ptrdiff_t>(last), table.end(),
                      std::uint8_t{255});
        }
        for (std::size_t i = first; i < last; ++i) {
            const double v = static_cast<double>(static_cast<long>(i) - kOffset);
            table[i] = asIs ? static_cast<std::uint8_t>(i) : StretchSample(v, bounds);
        }
    }
    const auto grey = [&](T v) -> std::uint8_t {
        if constexpr (kTabled) {
            return table[static_cast<std::size_t>(v + kOffset)];
        } else {
            return StretchSample(static_cast<double>(v), bounds);
        }
    };
    const std::size_t width = static_cast<std::size_t>(s.width);
    for (int y = 0; y < s.height; ++y) {
        std::uint8_t* out = picture.Row(y);
        const std::size_t row = static_cast<std::size_t>(y) * width;
        const T* r = planes[0] + row;
        if (bands == 1) {
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t g = grey(r[x]);
                out[3 * x] = g;
                out[3 * x + 1] = g;
                out[3 * x + 2] = g;
            }
        } else {
            const T* g = planes[1] + row;
            const T* b = planes[2] + row;
            for (std::size_t x = 0; x < width; ++x) {
                out[3 * x] = grey(b[x]);
                out[3 * x + 1] = grey(g[x]);
                out[3 * x + 2] = grey(r[x]);
            }
        }
    }
}

template <typename F>
decltype(auto) Dispatch(SampleType type, F&& f) {
    switch (type) {
        case SampleType::UInt8:
            return f(std::uint8_t{});
        case SampleType::Int8:
            return f(std::int8_t{});
        case SampleType::UInt16:
            return f(std::uint16_t{});
        case SampleType::Int16:
            return f(std::int16_t{});
        case SampleType::UInt32:
            return f(std::uint32_t{});
        case SampleType::Int32:
            return f(std::int32_t{});
        case SampleType::Float32:
            return f(float{});
        case SampleType::Float64:
            break;
    }
    return f(double{});
}

}  // namespace

std::size_t SampleBytes(SampleType type) {
    return Dispatch(type, [](auto v) { return sizeof(v); });
}

std::string_view SampleKindName(SampleType type) {
    switch (type) {
        case SampleType::UInt8:
        case SampleType::UInt16:
        case SampleType::UInt32:
            return "unsigned integer";
        case SampleType::Int8:
        case SampleType::Int16:
        case SampleType::Int32:
            return "signed integer";
        case SampleType::Float32:
        case SampleType::Float64:
            break;
    }
    return "real";
}

StretchBounds DisplayBounds(const SampleView& samples, double p) {
    return Dispatch(samples.type, [&](auto v) { return BoundsOf<decltype(v)>(samples, p); });
}

std::uint8_t StretchSample(double v, const StretchBounds& bounds) {
    if (!std::isfinite(v) || !(bounds.hi > bounds.lo)) return 0;
    const double grey = std::floor((v - bounds.lo) * 255.0 / (bounds.hi - bounds.lo) + 0.5);
    if (!(grey > 0)) return 0;
    return grey >= 255 ? 255 : static_cast<std::uint8_t>(grey);
}

void RenderDisplayPicture(const SampleView& samples, double p, Bitmap24& picture) {
    if (samples.bands < 1 || samples.data == nullptr) {
        throw ImageError("", "the picture has no samples");
    }
    picture.Resize(samples.width, samples.height, false);
    picture.SetSourceFormat(samples.bands >= 3 ? PixelFormat::Bits24 : PixelFormat::Bits8);
    const bool asIs = samples.type == SampleType::UInt8;
    const StretchBounds bounds = asIs ? StretchBounds{} : DisplayBounds(samples, p);
    Dispatch(samples.type, [&](auto v) { Paint<decltype(v)>(samples, bounds, asIs, picture); });
    // Row filler bytes are zero, as every reader leaves them.
    const std::size_t used = static_cast<std::size_t>(samples.width) * 3;
    for (int y = 0; y < samples.height; ++y) {
        std::fill(picture.Row(y) + used, picture.Row(y) + picture.Stride(), std::uint8_t{0});
    }
}

Bitmap24 RenderDisplayPicture(const SampleView& samples, double p) {
    Bitmap24 picture;
    RenderDisplayPicture(samples, p, picture);
    return picture;
}

double SampleValue(const SampleView& samples, int band, int x, int y) {
    const std::size_t at = BandSamples(samples) * static_cast<std::size_t>(band) +
                           static_cast<std::size_t>(y) * static_cast<std::size_t>(samples.width) +
                           static_cast<std::size_t>(x);
    const auto read = [&](auto zero) {
        using T = decltype(zero);
        return static_cast<double>(static_cast<const T*>(samples.data)[at]);
    };
    switch (samples.type) {
        case SampleType::UInt8:
            return read(std::uint8_t{});
        case SampleType::Int8:
            return read(std::int8_t{});
        case SampleType::UInt16:
            return read(std::uint16_t{});
        case SampleType::Int16:
            return read(std::int16_t{});
        case SampleType::UInt32:
            return read(std::uint32_t{});
        case SampleType::Int32:
            return read(std::int32_t{});
        case SampleType::Float32:
            return read(float{});
        case SampleType::Float64:
            return read(double{});
    }
    return 0;
}

std::string SampleValueText(const SampleView& samples, int x, int y) {
    if (samples.data == nullptr || x < 0 || y < 0 || x >= samples.width || y >= samples.height ||
        samples.bands < 1) {
        return {};
    }
    const bool real = samples.type == SampleType::Float32 || samples.type == SampleType::Float64;
    const auto number = [&](double v) -> std::string {
        if (std::isnan(v)) return "NaN";
        if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
        if (!real) return std::to_string(static_cast<long long>(v));
        char text[32];
        std::snprintf(text, sizeof text, "%.7g", v);
        return text;
    };
    if (samples.bands < 3) return "sample " + number(SampleValue(samples, 0, x, y));
    return "samples (" + number(SampleValue(samples, 0, x, y)) + ", " +
           number(SampleValue(samples, 1, x, y)) + ", " + number(SampleValue(samples, 2, x, y)) +
           ")";
}

}  // namespace kobrix
