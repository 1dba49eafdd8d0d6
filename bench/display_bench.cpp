// The display pass on a 1024 x 1024 JPEG (select, load, decode, working copy, size text)
// against the plain read of the same file, in one run; and the same pass on a 1024 x 1024
// 16-bit EDR of the planetary archive.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "bench/bench_edr.h"
#include "bench/null_host.h"
#include "bench/ratio_reporter.h"
#include "browse/browser.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"
#include "platform/system_time_zone.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

const fs::path& PictureDirectory() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "kobrix-display-bench";
        fs::create_directories(d);
        Bitmap24 picture(1024, 1024);
        for (int y = 0; y < 1024; ++y) {
            std::uint8_t* row = picture.Row(y);
            for (int x = 0; x < 1024; ++x) {
                row[3 * x] = static_cast<std::uint8_t>((x * 7 + y * 3) & 255);
                row[3 * x + 1] = static_cast<std::uint8_t>((x ^ y) & 255);
                row[3 * x + 2] = static_cast<std::uint8_t>(y & 255);
            }
        }
        WriteJpegFile(picture, (d / "2P241328935EFFAUCTP2582L5M1.jpg").string());
        return d;
    }();
    return dir;
}

void DisplayPass(benchmark::State& state) {
    NullHost host;
    SystemTimeZone zone;
    Browser browser(host, zone, DateNames::English());
    browser.Files().Read(PictureDirectory().string());
    for (auto _ : state) {
        browser.Files().Select(0);
        browser.SelectionSequence();
        benchmark::DoNotOptimize(browser.Picture().Data());
    }
}
BENCHMARK(DisplayPass)->Unit(benchmark::kMillisecond);

const fs::path& EdrDirectory() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "kobrix-display-bench-edr";
        fs::create_directories(d);
        WriteBenchEdr((d / "2P241328935EFFAUCTP2582L5M1.IMG").string());
        return d;
    }();
    return dir;
}

void ArchiveDisplayPass(benchmark::State& state) {
    RegisterArchiveReader();
    NullHost host;
    SystemTimeZone zone;
    Browser browser(host, zone, DateNames::English());
    browser.Files().Read(EdrDirectory().string());
    for (auto _ : state) {
        browser.Files().Select(0);
        browser.SelectionSequence();
        benchmark::DoNotOptimize(browser.Picture().Data());
    }
}
BENCHMARK(ArchiveDisplayPass)->Unit(benchmark::kMillisecond);

void PlainRead(benchmark::State& state) {
    const std::string path = (PictureDirectory() / "2P241328935EFFAUCTP2582L5M1.jpg").string();
    for (auto _ : state) {
        Bitmap24 picture = ReadJpegFile(path);
        benchmark::DoNotOptimize(picture.Data());
    }
}
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    return kobrix::RunBenchmarksWithRatios(
        argc, argv, {{"DisplayPass", "PlainRead"}, {"ArchiveDisplayPass", "DisplayPass"}});
}
