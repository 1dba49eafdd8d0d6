#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "archive/archive_file.h"
#include "imaging/image_error.h"
#include "tests/support/fake_time_zone.h"
#include "tests/volume/volume_builder.h"
#include "volume/thumbnail_cache.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ThumbnailCache, MadeOnceReusedAndNothingWrittenBesideTheProducts) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::vector<std::string> before = Tree(root);
    const ThumbnailCache cache(dir / "program/ThumbnailCache");
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;

    bool made = false;
    const Bitmap24 first = cache.Get(edr, 4, &made);
    EXPECT_TRUE(made);
    EXPECT_EQ(first.Width(), 4);
    EXPECT_EQ(first.Height(), 3);
    const Bitmap24 again = cache.Get(edr, 4, &made);
    EXPECT_FALSE(made);
    EXPECT_TRUE(again.SamePixels(first));
    // Another size is another thumbnail.
    EXPECT_EQ(cache.Get(edr, 2, &made).Width(), 2);
    EXPECT_TRUE(made);
    EXPECT_EQ(Tree(dir / "program/ThumbnailCache").size(), 2u);
    // The detached pair through its .IMG.
    cache.Get(root + "/data/sol0101/edr/" + test::kSol101Edr + ".IMG", 4, &made);
    EXPECT_TRUE(made);
    EXPECT_EQ(Tree(root), before);
}

TEST(ThumbnailCache, AChangedFileIsMadeAgain) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const ThumbnailCache cache(dir / "cache");
    const std::string edr = root + "/data/sol0100/rdr/" + test::kSol100Rad;
    bool made = false;
    const Bitmap24 first = cache.Get(edr, 8, &made);

    // New samples of the same size, written a second later: the old thumbnail is not shown.
    test::ArchiveLayout layout;
    layout.width = 8;
    layout.height = 6;
    for (int i = 0; i < 48; ++i) layout.samples.push_back(i < 24 ? 0 : 1000);
    layout.extraLabel = test::kFactLines;
    const auto time = fs::last_write_time(edr);
    test::WriteBytes(edr, test::AttachedPds3(layout, false));
    fs::last_write_time(edr, time + std::chrono::seconds(1));
    const Bitmap24 changed = cache.Get(edr, 8, &made);
    EXPECT_TRUE(made);
    EXPECT_FALSE(changed.SamePixels(first));
    EXPECT_EQ(changed.Row(0)[0], 0);
    EXPECT_EQ(changed.Row(5)[0], 255);
    cache.Get(edr, 8, &made);
    EXPECT_FALSE(made);

    // Only the time changed: made again as well.
    fs::last_write_time(edr, time + std::chrono::seconds(5));
    cache.Get(edr, 8, &made);
    EXPECT_TRUE(made);
}

TEST(ThumbnailCache, ACacheFileOfAnotherKeyOrCutShortIsNotShown) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const ThumbnailCache cache(dir / "cache");
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    const std::string other = root + "/data/sol0100/rdr/" + test::kSol100Rad;
    bool made = false;
    cache.Get(other, 4, &made);
    const std::optional<ThumbnailKey> key = ThumbnailKeyOf(edr, 4);
    const std::optional<ThumbnailKey> otherKey = ThumbnailKeyOf(other, 4);
    ASSERT_TRUE(key && otherKey);
    // The other file's thumbnail under this file's name, as a hash collision would leave it.
    fs::copy_file(dir / "cache/" + ThumbnailFileName(*otherKey),
                  dir / "cache/" + ThumbnailFileName(*key));
    EXPECT_FALSE(cache.Load(*key));
    // Cut short.
    const std::string cached = dir / "cache/" + ThumbnailFileName(*otherKey);
    std::vector<std::uint8_t> bytes = test::ReadBytes(cached);
    bytes.pop_back();
    test::WriteBytes(cached, bytes);
    EXPECT_FALSE(cache.Load(*otherKey));
    cache.Get(other, 4, &made);
    EXPECT_TRUE(made);
}

TEST(ThumbnailCache, UnreadableFilesAndUnwritableCaches) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const ThumbnailCache cache(dir / "cache");
    const std::string broken = test::Put(dir, "broken.IMG", {'P', 'D', 'S'});
    EXPECT_THROW(cache.Get(broken, 4), ImageError);
    EXPECT_FALSE(fs::exists(dir / "cache"));
    // A file where the cache folder should be: the thumbnail is still made.
    test::Put(dir, "taken", {'x'});
    const ThumbnailCache blocked(dir / "taken");
    bool made = false;
    EXPECT_EQ(blocked.Get(root + "/data/sol0100/edr/" + test::kSol100Edr, 4, &made).Width(), 4);
    EXPECT_TRUE(made);
}

TEST(ThumbnailCache, TwoRunsFillingOneCacheAtOnce) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const std::string edr = root + "/data/sol0100/edr/" + test::kSol100Edr;
    std::vector<std::thread> runs;
    for (int run = 0; run < 4; ++run) {
        runs.emplace_back([&] {
            const ThumbnailCache cache(dir / "cache");
            for (int i = 0; i < 20; ++i) cache.Get(edr, 4);
        });
    }
    for (std::thread& run : runs) run.join();
    EXPECT_EQ(Tree(dir / "cache").size(), 1u);
    bool made = true;
    ThumbnailCache(dir / "cache").Get(edr, 4, &made);
    EXPECT_FALSE(made);
}

TEST(ThumbnailCache, ShrinksByTheMeanOfEachArea) {
    Bitmap24 picture(4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* pixel = picture.Row(y) + 3 * x;
            pixel[0] = pixel[1] = pixel[2] = static_cast<std::uint8_t>(x < 2 ? 10 * (x + y) : 201);
        }
    }
    const Bitmap24 small = ShrinkToFit(picture, 2);
    ASSERT_EQ(small.Width(), 2);
    ASSERT_EQ(small.Height(), 1);
    EXPECT_EQ(small.Row(0)[0], 10);  // (0 + 10 + 10 + 20) / 4
    EXPECT_EQ(small.Row(0)[3], 201);
    EXPECT_TRUE(ShrinkToFit(picture, 4).SamePixels(picture));
}

TEST(ThumbnailCache, CaptionsTellCameraEyeFilterAndTime) {
    const testing::FakeTimeZone zone;
    DecodeContext context;
    context.zone = &zone;
    DecodeState state;
    DecodeProductName(test::kSol100Edr, context, state);
    EXPECT_EQ(ThumbnailCaption(test::kSol100Edr, state), "Navcam L0\n2004-04-14 21:53:44");
    DecodeProductName("notes.txt", context, state);
    EXPECT_EQ(ThumbnailCaption("notes.txt", state), "notes.txt");
}

}  // namespace
}  // namespace kobrix

namespace kobrix {
namespace {

int benchmark_sink = 0;

// Figures, not checks: run with --gtest_also_run_disabled_tests --gtest_filter='*Figures*'.
// Thumbnails of 1024 x 1024 16-bit EDRs made on two threads, against the display pass of the
// same files one by one.
TEST(ThumbnailFigures, DISABLED_EdrThumbnailsOnTwoThreadsAgainstTheDisplayPass) {
    test::ScratchDir dir;
    test::ArchiveLayout layout = test::FullFrameEdr();
    layout.extraLabel = test::kFactLines;
    const std::vector<std::uint8_t> bytes = test::AttachedPds3(layout, true);
    constexpr int kFiles = 64;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) {
        paths.push_back(
            test::Put(dir, "2N" + std::to_string(135251689 + i) + "EFF0000P1234L0M1.IMG", bytes));
    }
    RegisterArchiveReader();
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    auto start = Clock::now();
    for (const std::string& path : paths) benchmark_sink = ReadArchivePicture(path).Width();
    const double display = seconds(start);

    const auto run = [&](const std::string& cacheFolder) {
        const ThumbnailCache cache(cacheFolder);
        std::atomic<int> next{0};
        const auto work = [&] {
            for (int i = next++; i < kFiles; i = next++) cache.Get(paths[std::size_t(i)], 128);
        };
        const auto began = Clock::now();
        std::thread other(work);
        work();
        other.join();
        return seconds(began);
    };
    const double made = run(dir / "cache");
    const double cached = run(dir / "cache");
    std::printf("display pass one by one: %.1f files/s (%.2f ms each)\n", kFiles / display,
                1000 * display / kFiles);
    std::printf("thumbnails made on 2 threads: %.1f/s (%.2f ms each)\n", kFiles / made,
                1000 * made / kFiles);
    std::printf("thumbnails from the cache on 2 threads: %.1f/s\n", kFiles / cached);
}

}  // namespace
}  // namespace kobrix
