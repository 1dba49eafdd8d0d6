#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/bitmap24.h"

namespace kobrix {

enum class SampleType { UInt8, Int8, UInt16, Int16, UInt32, Int32, Float32, Float64 };

std::size_t SampleBytes(SampleType type);
// "unsigned integer", "signed integer" or "real".
std::string_view SampleKindName(SampleType type);

// Samples in the machine's byte order, band after band, each band row after row with no
// padding.
struct SampleView {
    SampleType type = SampleType::UInt8;
    int width = 0;
    int height = 0;
    int bands = 1;
    const void* data = nullptr;
};

// The share of samples clipped at each end by default: 0.5 %.
inline constexpr double kDefaultStretch = 0.005;

struct StretchBounds {
    double lo = 0;
    double hi = 0;
    std::size_t count = 0;  // finite samples that took part
};

// lo and hi of the display stretch over the first band, or over the first three together
// when there are three or more: the finite samples sorted, lo at rank floor(p (N - 1)), hi at
// rank ceil((1 - p)(N - 1)). Integers of up to 16 bits are ranked through a histogram, wider
// ones and reals by selection.
StretchBounds DisplayBounds(const SampleView& samples, double p = kDefaultStretch);

// The grey level of v under the stretch: floor((v - lo) 255 / (hi - lo) + 0.5) clamped to
// 0..255; 0 for NaN and infinities, and everywhere when hi <= lo.
std::uint8_t StretchSample(double v, const StretchBounds& bounds);

// The picture a person sees: 8-bit unsigned samples as they are, anything else stretched;
// one band grey, three or more the first three as red, green and blue.
void RenderDisplayPicture(const SampleView& samples, double p, Bitmap24& picture);
Bitmap24 RenderDisplayPicture(const SampleView& samples, double p = kDefaultStretch);

// The sample of `band` at (x, y) as a number; x, y and band must lie inside.
double SampleValue(const SampleView& samples, int band, int x, int y);

// What a pixel holds before the display rule, for a readout: "sample 2047", or for three or
// more bands "samples (12, 40, 7)" over the first three; integers as they are, reals with up
// to seven significant digits, "NaN" and "inf" as such. Empty outside the picture.
std::string SampleValueText(const SampleView& samples, int x, int y);

}  // namespace kobrix
