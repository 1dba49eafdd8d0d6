// One redraw of the magnifier's lens on a 1024 x 1024 picture at magnification 4, radius 150
// (a copy of the source and the lens into it, as each pointer move does), square and circle,
// against a plain memcpy of the picture in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/ratio_reporter.h"
#include "tools/core/lens.h"

namespace kobrix {
namespace {

const Bitmap24& Source() {
    static const Bitmap24 picture = [] {
        Bitmap24 b(1024, 1024);
        std::mt19937 random(7);
        for (int y = 0; y < b.Height(); ++y) {
            for (std::size_t i = 0; i < b.Stride(); ++i)
                b.Row(y)[i] = static_cast<std::uint8_t>(random());
        }
        return b;
    }();
    return picture;
}

void LensRedraw(benchmark::State& state) {
    const Bitmap24& source = Source();
    LensStyle style;
    style.circle = state.range(0) == 1;
    const LensGeometry lens = LensFor(150, 4);
    Bitmap24 view;
    int x = 300;
    for (auto _ : state) {
        CopyPicture(source, view);
        DrawLens(source, view, x, 500, lens, 4, style);
        x = x == 300 ? 700 : 300;  // the pointer moves
        benchmark::DoNotOptimize(view.Data());
        benchmark::ClobberMemory();
    }
}

void MemcpyPicture(benchmark::State& state) {
    const Bitmap24& source = Source();
    std::vector<std::uint8_t> copy(source.SizeBytes());
    for (auto _ : state) {
        std::memcpy(copy.data(), source.Data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(LensRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kobrix::Source();
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("LensRedraw/0", "MemcpyPicture");
    reporter.PrintRatio("LensRedraw/1", "MemcpyPicture");
    benchmark::Shutdown();
    return 0;
}
