// The anaglyph render chain, one sunset pass and the colour composite on 1024 x 1024
// pictures, each against a plain memcpy of the bytes it starts from, in the same run: the
// chain against copying both sources, the pass against copying the picture, the composite and
// a mixture slider step against copying the three bands.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/ratio_reporter.h"
#include "colour/core/anaglyph.h"
#include "colour/core/composite.h"
#include "colour/core/sunset.h"

namespace kobrix {
namespace {

constexpr int kSide = 1024;

Bitmap24 Noise(unsigned seed) {
    Bitmap24 picture(kSide, kSide);
    std::mt19937 random(seed);
    for (int y = 0; y < kSide; ++y) {
        for (std::size_t i = 0; i < picture.Stride(); ++i) {
            picture.Row(y)[i] = static_cast<std::uint8_t>(random());
        }
    }
    return picture;
}

struct Pair {
    Bitmap24 cyan = Separate(Noise(1), Separation::Cyan);
    Bitmap24 red = Separate(Noise(2), Separation::Red);
};

const Pair& Sources() {
    static const Pair pair;
    return pair;
}

// The reset values, then settings whose contrast and brightness both change every byte.
const AnaglyphSettings kSettings[] = {{50, 16, 30}, {62, 24, 40}};

void RenderChain(benchmark::State& state) {
    const Pair& pair = Sources();
    const AnaglyphSettings& settings = kSettings[state.range(0)];
    for (auto _ : state) {
        Bitmap24 result = RenderAnaglyph(pair.cyan, pair.red, settings);
        benchmark::DoNotOptimize(result.Data());
    }
}

// Re-rendering into the picture of the previous render, as a moving slider does.
void RenderChainInPlace(benchmark::State& state) {
    const Pair& pair = Sources();
    const AnaglyphSettings& settings = kSettings[state.range(0)];
    Bitmap24 result;
    for (auto _ : state) {
        RenderAnaglyph(pair.cyan, pair.red, settings, result);
        benchmark::DoNotOptimize(result.Data());
        benchmark::ClobberMemory();
    }
}

// The same chain through the single steps, with their intermediate pictures.
void SingleSteps(benchmark::State& state) {
    const Pair& pair = Sources();
    const AnaglyphSettings& settings = kSettings[state.range(0)];
    for (auto _ : state) {
        const Bitmap24 contrasted =
            Contrast(Merge(pair.cyan, pair.red, settings.merge), settings.contrast);
        const Bitmap24 copy(contrasted);
        Bitmap24 result = Brightness(copy, settings.brightness);
        benchmark::DoNotOptimize(result.Data());
    }
}

void MemcpyPair(benchmark::State& state) {
    const Pair& pair = Sources();
    std::vector<std::uint8_t> a(pair.cyan.SizeBytes()), b(pair.red.SizeBytes());
    for (auto _ : state) {
        std::memcpy(a.data(), pair.cyan.Data(), a.size());
        std::memcpy(b.data(), pair.red.Data(), b.size());
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

void SunsetOnePass(benchmark::State& state) {
    Bitmap24 picture = Noise(3);
    for (auto _ : state) {
        SunsetPass(picture);
        benchmark::DoNotOptimize(picture.Data());
        benchmark::ClobberMemory();
    }
}

void MemcpyPicture(benchmark::State& state) {
    const Bitmap24& source = Sources().cyan;
    std::vector<std::uint8_t> copy(source.SizeBytes());
    for (auto _ : state) {
        std::memcpy(copy.data(), source.Data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

struct Bands {
    Bitmap24 blue = Noise(4);
    Bitmap24 green = Noise(5);
    Bitmap24 red = Noise(6);
};

const Bands& ThreeBands() {
    static const Bands bands;
    return bands;
}

void CompositeStraight(benchmark::State& state) {
    const Bands& bands = ThreeBands();
    for (auto _ : state) {
        Bitmap24 composite = StraightCombination(bands.blue, bands.green, bands.red);
        benchmark::DoNotOptimize(composite.Data());
    }
}

// One move of a mixture slider without its working files: the mixture again, then the
// combination of both mixtures with the green band.
void CompositeSliderStep(benchmark::State& state) {
    const Bands& bands = ThreeBands();
    const Bitmap24 redMix = Mixture(bands.red, bands.green, 70);
    Bitmap24 blueMix;
    Bitmap24 composite;
    int position = 0;
    for (auto _ : state) {
        MixInto(bands.blue, bands.green, position, blueMix);
        StraightCombinationInto(blueMix, bands.green, redMix, composite);
        benchmark::DoNotOptimize(composite.Data());
        position = (position + 1) % 101;
    }
}

void MemcpyThreeBands(benchmark::State& state) {
    const Bands& bands = ThreeBands();
    std::vector<std::uint8_t> a(bands.blue.SizeBytes()), b(a.size()), c(a.size());
    for (auto _ : state) {
        std::memcpy(a.data(), bands.blue.Data(), a.size());
        std::memcpy(b.data(), bands.green.Data(), b.size());
        std::memcpy(c.data(), bands.red.Data(), c.size());
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(CompositeStraight)->Unit(benchmark::kMicrosecond);
BENCHMARK(CompositeSliderStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyThreeBands)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderChain)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderChainInPlace)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(SingleSteps)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyPair)->Unit(benchmark::kMicrosecond);
BENCHMARK(SunsetOnePass)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kobrix::Sources();
    kobrix::ThreeBands();
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* ours : {"RenderChain/0", "RenderChain/1", "RenderChainInPlace/0",
                             "RenderChainInPlace/1", "SingleSteps/0", "SingleSteps/1"}) {
        reporter.PrintRatio(ours, "MemcpyPair");
    }
    for (const char* ours : {"CompositeStraight", "CompositeSliderStep"}) {
        reporter.PrintRatio(ours, "MemcpyThreeBands");
    }
    reporter.PrintRatio("SunsetOnePass", "MemcpyPicture");
    benchmark::Shutdown();
    return 0;
}
