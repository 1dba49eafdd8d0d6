// Stereo pairs of 1024 x 1024 greyscale JPEGs through the folder run (read both, separate,
// render, encode at quality 100, write under a temporary name and rename), against the plain
// libjpeg-turbo floor of the same work: two decodes, one encode of a 1024 x 1024 colour picture
// at quality 100, 4:4:4, and the file written. An iteration is a run of kPairs pairs on one
// thread, so that the thread's pictures are reused as in a folder run. The ratio is printed at
// the end; the goal is 1.3 at the most.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "batch/batch_run.h"
#include "bench/plain_jpeg.h"
#include "bench/ratio_reporter.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

constexpr int kPairs = 8;

struct Pair {
    std::string directory;
    std::string right;
    std::string left;
};

const Pair& Files() {
    static const Pair pair = [] {
        Pair p;
        const fs::path dir = fs::temp_directory_path() / "kobrix-batch-bench";
        fs::create_directories(dir);
        p.directory = dir.string();
        p.right = (dir / "2P241328935EFFAUCTP2582R5M1.jpg").string();
        p.left = (dir / "2P241328935EFFAUCTP2582L5M1.jpg").string();
        std::vector<std::uint8_t> grey = bench::Samples(1);
        const std::vector<std::uint8_t> right = bench::EncodeSamples(grey, 1, 90, false);
        for (std::uint8_t& v : grey) v = static_cast<std::uint8_t>(v + 9);
        const std::vector<std::uint8_t> left = bench::EncodeSamples(grey, 1, 90, false);
        std::ofstream(p.right, std::ios::binary)
            .write(reinterpret_cast<const char*>(right.data()), std::streamsize(right.size()));
        std::ofstream(p.left, std::ios::binary)
            .write(reinterpret_cast<const char*>(left.data()), std::streamsize(left.size()));
        return p;
    }();
    return pair;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void OursPair(benchmark::State& state) {
    const Pair& files = Files();
    BatchPlan plan;
    for (int i = 1; i <= kPairs; ++i) {
        plan.items.push_back({{files.right, files.left},
                              files.directory + "/OURS-0" + std::to_string(i) + ".jpg",
                              false});
    }
    BatchSettings settings;
    settings.force = true;
    for (auto _ : state) {
        for (const ItemResult& result : RunBatch(plan, settings, 1, nullptr, nullptr)) {
            if (result.outcome != ItemResult::Outcome::Made) state.SkipWithError("not made");
        }
    }
}

void PlainPair(benchmark::State& state) {
    const Pair& files = Files();
    const std::vector<std::uint8_t> colour = bench::Samples(3);
    for (auto _ : state) {
        for (int i = 1; i <= kPairs; ++i) {
            benchmark::DoNotOptimize(bench::DecodePlain(ReadFile(files.right)).get());
            benchmark::DoNotOptimize(bench::DecodePlain(ReadFile(files.left)).get());
            const std::vector<std::uint8_t> bytes = bench::EncodeSamples(colour, 3, 100, true);
            std::ofstream(files.directory + "/PLAIN-0" + std::to_string(i) + ".jpg",
                          std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
    }
}

BENCHMARK(OursPair)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainPair)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kobrix::Files();
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("OursPair", "PlainPair");
    benchmark::Shutdown();
    return 0;
}
