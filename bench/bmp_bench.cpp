// BMP reading and writing of a 1024 x 1024 24-bit picture against moving the same bytes
// with plain fread and fwrite, in the same run; the ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "imaging/bmp_io.h"

namespace kobrix {
namespace {

constexpr int kSide = 1024;

struct Files {
    Files() {
        directory = std::filesystem::temp_directory_path() /
                    ("kobrix-bmp-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
        picture.Resize(kSide, kSide);
        for (int y = 0; y < kSide; ++y) {
            std::uint8_t* p = picture.Row(y);
            for (int x = 0; x < kSide; ++x, p += 3) {
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(y);
                p[2] = static_cast<std::uint8_t>(x ^ y);
            }
        }
        bytes = EncodeBmp(picture);
        source = (directory / "source.bmp").string();
        WriteBmpFile(picture, source);
    }
    ~Files() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    std::filesystem::path directory;
    Bitmap24 picture;
    std::vector<std::uint8_t> bytes;
    std::string source;
};

Files& Shared() {
    static Files files;
    return files;
}

void ReadOurs(benchmark::State& state) {
    const std::string& path = Shared().source;
    for (auto _ : state) {
        Bitmap24 b = ReadBmpFile(path);
        benchmark::DoNotOptimize(b.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

void ReadPlain(benchmark::State& state) {
    const std::string& path = Shared().source;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

void WriteOurs(benchmark::State& state) {
    const std::string path = (Shared().directory / "ours.bmp").string();
    for (auto _ : state) WriteBmpFile(Shared().picture, path);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

void WritePlain(benchmark::State& state) {
    const std::string path = (Shared().directory / "plain.bmp").string();
    const std::vector<std::uint8_t>& bytes = Shared().bytes;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::size_t put = std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(put);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// In memory, for comparison: the decoder and encoder without the file system.
void DecodeInMemory(benchmark::State& state) {
    for (auto _ : state) {
        Bitmap24 b = DecodeBmp(Shared().bytes, "memory");
        benchmark::DoNotOptimize(b.Data());
    }
}

void EncodeInMemory(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = EncodeBmp(Shared().picture);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// Files go through the page cache and the file system: wall-clock time is what counts.
BENCHMARK(ReadOurs)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(ReadPlain)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(WriteOurs)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(WritePlain)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(DecodeInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(EncodeInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("ReadOurs/real_time", "ReadPlain/real_time");
    reporter.PrintRatio("WriteOurs/real_time", "WritePlain/real_time");
    benchmark::Shutdown();
    return 0;
}
