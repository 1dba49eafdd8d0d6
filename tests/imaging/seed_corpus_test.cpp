// Replays the fuzzers' seed corpora through the readers in every build: each valid seed
// decodes, each cut-off one is refused with ImageError, and none does anything worse.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "imaging/bmp_io.h"
#include "imaging/gif_io.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"
#include "tests/imaging/magick.h"

namespace kobrix {
namespace {

using Reader = std::function<void(std::span<const std::uint8_t>, const std::string&)>;

// Seeds named "broken-..." must be refused unless damaged (which may still decode) or listed
// in `mayDecode`.
void Replay(const std::string& folder, const Reader& read,
            const std::vector<std::string>& mayDecode = {}) {
    const std::filesystem::path dir = std::filesystem::path(KOBRIX_FUZZ_CORPUS_DIR) / folder;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    int decoded = 0;
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        const std::vector<std::uint8_t> bytes = test::ReadBytes(file.string());
        const bool broken = name.starts_with("broken-");
        const bool mustFail =
            broken && !name.ends_with("-damaged") &&
            std::find(mayDecode.begin(), mayDecode.end(), name) == mayDecode.end();
        try {
            read(bytes, name);
            EXPECT_FALSE(mustFail) << folder << "/" << name << " was accepted";
            ++decoded;
        } catch (const ImageError& e) {
            EXPECT_TRUE(broken) << folder << "/" << name << ": " << e.what();
            EXPECT_EQ(e.File(), name);
        }
    }
    EXPECT_GE(decoded, 5) << folder;
}

TEST(SeedCorpus, JpegSeedsDecodeOrAreRefused) {
    Replay("jpeg", [](auto bytes, const auto& name) { DecodeJpeg(bytes, name); });
}

TEST(SeedCorpus, GifSeedsDecodeOrAreRefused) {
    // The still picture needs only the first frame, which the first half holds.
    Replay("gif", [](auto bytes, const auto& name) { DecodeGif(bytes, name); },
           {"broken-animated-half"});
    Replay("gif", [](auto bytes, const auto& name) { DecodeGifAnimation(bytes, name); });
}

TEST(SeedCorpus, BmpSeedsDecodeOrAreRefused) {
    Replay("bmp", [](auto bytes, const auto& name) { DecodeBmp(bytes, name); });
}

}  // namespace
}  // namespace kobrix
