// Our JPEG reader against plain libjpeg-turbo decoding the same 1024 x 1024 file into a BGR
// buffer, in the same run, for three kinds of file: what the program writes (quality 100,
// 4:4:4), a usual camera-style colour file (quality 90, 4:2:0) and a greyscale one like the
// raw images. The ratios are printed at the end; ours should stay within 1.1.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/plain_jpeg.h"
#include "bench/ratio_reporter.h"
#include "imaging/jpeg_io.h"

namespace kobrix {
namespace {

using bench::Encode;

const std::vector<std::uint8_t>& File(int kind) {
    static const std::vector<std::uint8_t> files[] = {Encode(3, 100, true), Encode(3, 90, false),
                                                      Encode(1, 90, false)};
    return files[kind];
}

// The plain way: libjpeg's own error handler, one BGR buffer with 4-byte rows.
void DecodePlain(benchmark::State& state) {
    const std::vector<std::uint8_t>& file = File(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(bench::DecodePlain(file).get());
}

void DecodeOurs(benchmark::State& state) {
    const std::vector<std::uint8_t>& file = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Bitmap24 picture = DecodeJpeg(file, "bench.jpg");
        benchmark::DoNotOptimize(picture.Data());
    }
}

void EncodeOurs(benchmark::State& state) {
    const Bitmap24 picture = DecodeJpeg(File(1), "bench.jpg");
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = EncodeJpeg(picture);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// 0: quality 100 4:4:4, 1: quality 90 4:2:0, 2: greyscale.
BENCHMARK(DecodePlain)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeOurs)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeOurs)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* kind : {"/0", "/1", "/2"}) {
        reporter.PrintRatio(std::string("DecodeOurs") + kind, std::string("DecodePlain") + kind);
    }
    benchmark::Shutdown();
    return 0;
}
