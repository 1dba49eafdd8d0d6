// GIF decoding and encoding (median cut palette included) of a 1024 x 1024 picture.
#include <benchmark/benchmark.h>

#include "imaging/gif_io.h"
#include "imaging/median_cut.h"

namespace kobrix {
namespace {

constexpr int kSide = 1024;

// Many colours (gradients with grain), the hard case for the palette.
const Bitmap24& Picture() {
    static const Bitmap24 picture = [] {
        Bitmap24 b(kSide, kSide);
        unsigned noise = 7;
        for (int y = 0; y < kSide; ++y) {
            std::uint8_t* p = b.Row(y);
            for (int x = 0; x < kSide; ++x, p += 3) {
                noise = noise * 1103515245u + 12345u;
                const int grain = static_cast<int>((noise >> 16) & 7);
                p[0] = static_cast<std::uint8_t>(x / 4 + grain);
                p[1] = static_cast<std::uint8_t>(y / 4 + grain);
                p[2] = static_cast<std::uint8_t>((x + y) / 8 + grain);
            }
        }
        return b;
    }();
    return picture;
}

void Encode(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = EncodeGif(Picture());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void Quantize(benchmark::State& state) {
    for (auto _ : state) {
        IndexedPicture indexed = QuantizeMedianCut(Picture());
        benchmark::DoNotOptimize(indexed.indexes.data());
    }
}

void Decode(benchmark::State& state) {
    const std::vector<std::uint8_t> file = EncodeGif(Picture());
    for (auto _ : state) {
        Bitmap24 b = DecodeGif(file, "bench.gif");
        benchmark::DoNotOptimize(b.Data());
    }
}

BENCHMARK(Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(Quantize)->Unit(benchmark::kMillisecond);
BENCHMARK(Decode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

BENCHMARK_MAIN();
