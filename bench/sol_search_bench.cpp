// The sol search through a directory of 2,000 small pictures that does not hold the sol, against
// 2,000 plain display passes and 2,000 bare picture reads of the same files, in one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/null_host.h"
#include "bench/ratio_reporter.h"
#include "browse/browser.h"
#include "browse/sol_search.h"
#include "imaging/jpeg_io.h"
#include "platform/system_time_zone.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 2000;

// Spirit front hazard camera pictures, 64 x 64, ten minutes apart from landing on (sols 1 to 14).
const std::vector<std::string>& PicturePaths() {
    static const std::vector<std::string> paths = [] {
        const fs::path dir = fs::temp_directory_path() / "kobrix-sol-search-bench";
        fs::create_directories(dir);
        Bitmap24 picture(64, 64);
        for (int y = 0; y < 64; ++y) {
            std::uint8_t* row = picture.Row(y);
            for (int x = 0; x < 64 * 3; ++x)
                row[x] = static_cast<std::uint8_t>((x * 5 + y * 3) & 255);
        }
        std::vector<std::string> list;
        for (int i = 0; i < kPictures; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "2F%09dEFFAUCTP2582L5M1.jpg", 126463965 + i * 600);
            const fs::path path = dir / name;
            if (!fs::exists(path)) WriteJpegFile(picture, path.string());
            list.push_back(path.string());
        }
        return list;
    }();
    return paths;
}

std::string PictureDirectory() {
    return fs::path(PicturePaths().front()).parent_path().string();
}

struct Browsing {
    NullHost host;
    SystemTimeZone zone;
    Browser browser{host, zone, DateNames::English()};
    Browsing() {
        browser.Files().Read(PictureDirectory());
        browser.Options().loopSlideshow = false;
    }
    void ShowFirst() {
        browser.Files().Select(0);
        browser.Image();
    }
};

// Spirit, front hazard camera, a sol after every picture: each step a display pass, until the end
// of the directory stops the search.
void SolSearchThroughDirectory(benchmark::State& state) {
    Browsing b;
    const SolSearchControls controls{false, true, "F", "5000"};
    std::int64_t steps = 0;
    for (auto _ : state) {
        b.ShowFirst();
        SolSearch search;
        b.host.searchStops = 0;
        SolStepResult r = search.Search(b.browser, controls);
        ++steps;
        while (!r.stopTimer && b.host.searchStops == 0) {
            r = search.Step(b.browser, controls);
            ++steps;
        }
    }
    state.SetItemsProcessed(steps);
}
BENCHMARK(SolSearchThroughDirectory)->Unit(benchmark::kMillisecond);

void DisplayPasses(benchmark::State& state) {
    Browsing b;
    for (auto _ : state) {
        b.ShowFirst();
        for (int i = 0; i < kPictures; ++i) {
            b.browser.Files().MoveNext();
            b.browser.Image();
        }
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}
BENCHMARK(DisplayPasses)->Unit(benchmark::kMillisecond);

void PictureReads(benchmark::State& state) {
    const std::vector<std::string>& paths = PicturePaths();
    Bitmap24 picture;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            benchmark::DoNotOptimize(LoadPictureFile(path, picture));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}
BENCHMARK(PictureReads)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kobrix::PicturePaths();  // the pictures are written before any timing
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("SolSearchThroughDirectory", "DisplayPasses");
    reporter.PrintRatio("SolSearchThroughDirectory", "PictureReads");
    const double search = reporter.CpuSeconds("SolSearchThroughDirectory");
    const double reads = reporter.CpuSeconds("PictureReads");
    if (search > 0 && reads > 0) {
        std::cout << "Share of the search's time outside the picture reads: "
                  << 100.0 * (1.0 - reads / search) << " % (cpu)\n";
    }
    benchmark::Shutdown();
    return 0;
}
