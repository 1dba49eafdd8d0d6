#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "archive/archive_file.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
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

// `bytes` written over `path` at `offset`, its time a second later.
void Overwrite(const std::string& path, std::size_t offset, const std::string& bytes) {
    const auto time = fs::last_write_time(path);
    std::vector<std::uint8_t> file = test::ReadBytes(path);
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    test::WriteBytes(path, file);
    fs::last_write_time(path, time + std::chrono::seconds(1));
}

TEST(ThumbnailCache, AChangedLabelOrDataFileIsMadeAgain) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    const ThumbnailCache cache(dir / "cache");
    const std::string raw = root + "/data/sol0101/edr/" + test::kSol101Edr;
    bool made = false;
    const Bitmap24 first = cache.Get(raw + ".IMG", 8, &made);
    // The detached label now says the samples are the other way round; the .IMG is unchanged.
    Overwrite(raw + ".LBL", test::ReadAll(raw + ".LBL").find("MSB_UNSIGNED"), "LSB");
    EXPECT_FALSE(cache.Get(raw + ".IMG", 8, &made).SamePixels(first));
    EXPECT_TRUE(made);
    cache.Get(raw + ".IMG", 8, &made);
    EXPECT_FALSE(made);

    // Through a PDS4 label, the data file it names counts.
    test::ArchiveLayout layout;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(100 * i);
    const std::string xml = test::Pds4(dir, "product", layout);
    const Bitmap24 before = cache.Get(xml, 8, &made);
    Overwrite(dir / "product.dat", 0, "\x04");
    EXPECT_FALSE(cache.Get(xml, 8, &made).SamePixels(before));
    EXPECT_TRUE(made);
}

std::uint64_t CacheBytes(const std::string& folder) {
    std::uint64_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".thumb") bytes += entry.file_size();
    }
    return bytes;
}

TEST(ThumbnailCache, PrunesTheLeastRecentlyUsedAndOnlyItsOwnFiles) {
    test::ScratchDir dir;
    const std::string folder = dir / "cache";
    const ThumbnailCache cache(folder);
    const Bitmap24 picture(8, 8);
    std::vector<ThumbnailKey> keys;
    const auto now = fs::file_time_type::clock::now();
    for (int i = 0; i < 10; ++i) {
        keys.push_back({"/pictures/" + std::to_string(i), 100, 5, 8, {}});
        cache.Store(keys.back(), picture);
        fs::last_write_time(folder + "/" + ThumbnailFileName(keys.back()),
                            now - std::chrono::minutes(60 - i));
    }
    const std::uint64_t entry = fs::file_size(folder + "/" + ThumbnailFileName(keys[0]));
    // The oldest is looked at again, so it is used most recently of all.
    EXPECT_TRUE(cache.Load(keys[0]));

    // Other things in the folder, older than every thumbnail.
    test::Put(dir, "cache/notes.txt", std::vector<std::uint8_t>(5000, 'x'));
    test::Put(dir, "cache/holiday.thumb", {'x'});
    test::Put(dir, "elsewhere.thumb", {'x'});
    fs::create_symlink(dir / "elsewhere.thumb", folder + "/0123456789abcdef.thumb");
    fs::create_directory(folder + "/fedcba9876543210.thumb");
    test::Put(dir, "cache/.kobrix-0123456789ab", {'x'});  // left by a killed run
    test::Put(dir, "cache/.kobrix-abcdefghijkl", {'x'});  // being written right now
    for (const char* old : {"notes.txt", "holiday.thumb", ".kobrix-0123456789ab"})
        fs::last_write_time(folder + "/" + old, now - std::chrono::hours(2));

    // Over a cap of five: down to four and a half, oldest first.
    const ThumbnailCache::Pruned pruned = cache.Prune(5 * entry);
    EXPECT_EQ(pruned.files, 7u);
    EXPECT_EQ(pruned.bytes, 6 * entry + 1);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(fs::exists(folder + "/" + ThumbnailFileName(keys[i])), i == 0 || i >= 7) << i;
    for (const char* kept : {"notes.txt", "holiday.thumb", "0123456789abcdef.thumb",
                             "fedcba9876543210.thumb", ".kobrix-abcdefghijkl"}) {
        EXPECT_TRUE(fs::exists(fs::symlink_status(folder + "/" + kept))) << kept;
    }
    EXPECT_FALSE(fs::exists(folder + "/.kobrix-0123456789ab"));
    EXPECT_TRUE(fs::exists(dir / "elsewhere.thumb"));
    EXPECT_EQ(cache.Prune(5 * entry).files, 0u);
    EXPECT_EQ(ThumbnailCache(dir / "elsewhere.thumb").Prune(0).files, 0u);  // no folder
}

TEST(ThumbnailCache, TwoRunsFillingAndPruningOneCappedCacheAtOnce) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    std::vector<std::string> paths;
    std::vector<Bitmap24> expected;
    for (const auto& entry : fs::recursive_directory_iterator(root + "/data")) {
        if (entry.path().extension() != ".IMG") continue;
        paths.push_back(entry.path());
        expected.push_back(ShrinkToFit(ReadAnyPicture(paths.back()), 3));
    }
    const std::string folder = dir / "cache";
    ThumbnailCache(folder).Get(paths[0], 3);
    const std::uint64_t cap = 3 * CacheBytes(folder);
    std::atomic<int> wrong{0};
    std::vector<std::thread> runs;
    for (int run = 0; run < 4; ++run) {
        runs.emplace_back([&, run] {
            const ThumbnailCache cache(folder, cap);
            for (std::size_t i = 0; i < 20 * paths.size(); ++i) {
                const std::size_t file = (run % 2 ? i : 7 * i) % paths.size();
                try {
                    wrong += !cache.Get(paths[file], 3).SamePixels(expected[file]);
                } catch (const ImageError&) {
                    ++wrong;
                }
                if (run >= 2) cache.Prune(cap / 2);
            }
        });
    }
    for (std::thread& run : runs) run.join();
    EXPECT_EQ(wrong, 0);
    // The last stores since the last pruning are at most a tenth of the cap.
    EXPECT_LE(CacheBytes(folder), cap + cap / 10);
    for (const std::string& name : Tree(folder)) EXPECT_EQ(fs::path(name).extension(), ".thumb");
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
