// Thumbnails of a 1024 x 1024 16-bit EDR as the thumbnail sheet makes them (read, stretch,
// shrink, store) and as it finds them in its cache, against the plainest reads of the same
// bytes: GDAL's own read of the band, and the cache file read whole.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gdal.h>

#include "archive/archive_file.h"
#include "bench/bench_edr.h"
#include "bench/ratio_reporter.h"
#include "volume/thumbnail_cache.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

constexpr int kEdge = 128;

const std::string& EdrPath() {
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "kobrix-volume-bench";
        fs::create_directories(dir);
        const std::string file = (dir / "2N135251689EFF0000P1234L0M1.IMG").string();
        WriteBenchEdr(file);
        return file;
    }();
    return path;
}

std::string FreshCacheFolder() {
    const fs::path dir = fs::temp_directory_path() / "kobrix-volume-bench-cache";
    fs::remove_all(dir);
    return dir.string();
}

// What the sheet does for a file it has not seen: read, stretch, shrink and store.
void ThumbnailMade(benchmark::State& state) {
    RegisterArchiveReader();
    const ThumbnailCache cache(FreshCacheFolder());
    const std::string& path = EdrPath();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(cache.Folder());
        state.ResumeTiming();
        bool made = false;
        const Bitmap24 thumbnail = cache.Get(path, kEdge, &made);
        if (!made) state.SkipWithError("the thumbnail came from the cache");
        benchmark::DoNotOptimize(thumbnail.Data());
    }
}
BENCHMARK(ThumbnailMade)->Unit(benchmark::kMillisecond);

// The plainest read of the same samples: GDAL opens the file and reads its band as it is.
void PlainGdalRead(benchmark::State& state) {
    GDALAllRegister();
    const std::string& path = EdrPath();
    std::vector<std::uint16_t> samples(1024 * 1024);
    for (auto _ : state) {
        GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
        if (dataset == nullptr) {
            state.SkipWithError("GDAL cannot open the EDR");
            break;
        }
        const CPLErr error = GDALRasterIO(GDALGetRasterBand(dataset, 1), GF_Read, 0, 0, 1024, 1024,
                                          samples.data(), 1024, 1024, GDT_UInt16, 0, 0);
        GDALClose(dataset);
        if (error != CE_None) state.SkipWithError("GDAL cannot read the band");
        benchmark::DoNotOptimize(samples.data());
    }
}
BENCHMARK(PlainGdalRead)->Unit(benchmark::kMillisecond);

// A file already in the cache: its key checked and the thumbnail read back.
void ThumbnailFromCache(benchmark::State& state) {
    RegisterArchiveReader();
    const ThumbnailCache cache(FreshCacheFolder());
    const std::string& path = EdrPath();
    cache.Get(path, kEdge);
    for (auto _ : state) {
        bool made = true;
        const Bitmap24 thumbnail = cache.Get(path, kEdge, &made);
        if (made) state.SkipWithError("the thumbnail was made again");
        benchmark::DoNotOptimize(thumbnail.Data());
    }
}
BENCHMARK(ThumbnailFromCache)->Unit(benchmark::kMicrosecond);

// The cache file read whole, with nothing checked or unpacked.
void PlainCacheFileRead(benchmark::State& state) {
    RegisterArchiveReader();
    const ThumbnailCache cache(FreshCacheFolder());
    cache.Get(EdrPath(), kEdge);
    const std::string file =
        cache.Folder() + "/" + ThumbnailFileName(*ThumbnailKeyOf(EdrPath(), kEdge));
    std::vector<char> bytes(fs::file_size(file));
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(PlainCacheFileRead)->Unit(benchmark::kMicrosecond);

// The pass Prune makes over a full cache (1 GiB of the sheet's thumbnails is some 18,000
// files) that is under its cap: every file listed and looked at, nothing removed.
void PruneFullCacheUnderItsCap(benchmark::State& state) {
    const ThumbnailCache cache(FreshCacheFolder());
    fs::create_directories(cache.Folder());
    for (int i = 0; i < 18000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/%016x.thumb", i);
        std::ofstream(cache.Folder() + name) << 'x';
    }
    for (auto _ : state) {
        const ThumbnailCache::Pruned pruned = cache.Prune();
        if (pruned.files != 0) state.SkipWithError("a file was removed");
    }
}
BENCHMARK(PruneFullCacheUnderItsCap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    return kobrix::RunBenchmarksWithRatios(
        argc, argv,
        {{"ThumbnailMade", "PlainGdalRead"}, {"ThumbnailFromCache", "PlainCacheFileRead"}});
}
