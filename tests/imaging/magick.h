#pragma once

// ImageMagick as an independent producer and reader of picture files, and a scratch
// directory for the files it works on.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"

namespace kobrix::test {

// A directory of its own under the system's temporary directory, removed at the end.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kobrix-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline bool HaveImageMagick() {
    static const bool have = std::system("convert -version >/dev/null 2>&1") == 0;
    return have;
}

// Runs a shell command line; true when it exits with 0.
inline bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a command, or nothing when it fails.
inline std::optional<std::string> Output(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return text;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// How ImageMagick sees a picture file: the picture as 8-bit RGB (PPM), as a Bitmap24.
inline std::optional<Bitmap24> MagickPixels(const std::string& file,
                                            const std::string& options = "") {
    const auto ppm = Output("convert '" + file + "' " + options + " -depth 8 ppm:-");
    if (!ppm) return std::nullopt;
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(ppm->c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3 ||
        maxValue != 255) {
        return std::nullopt;
    }
    const std::size_t start = static_cast<std::size_t>(consumed) + 1;  // one blank after the header
    if (ppm->size() < start + std::size_t{3} * width * height) return std::nullopt;
    Bitmap24 picture(width, height);
    const auto* p = reinterpret_cast<const std::uint8_t*>(ppm->data()) + start;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = picture.Row(y);
        for (int x = 0; x < width; ++x, p += 3, out += 3) {
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
    return picture;
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
inline int MaxDifference(const Bitmap24& a, const Bitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < 3 * a.Width(); ++x) {
            worst = std::max(worst, std::abs(a.Row(y)[x] - b.Row(y)[x]));
        }
    }
    return worst;
}

// Mean absolute difference over all channels; -1 when the sizes differ.
inline double MeanDifference(const Bitmap24& a, const Bitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < 3 * a.Width(); ++x) sum += std::abs(a.Row(y)[x] - b.Row(y)[x]);
    }
    return sum / (3.0 * a.Width() * a.Height());
}

}  // namespace kobrix::test

#define KOBRIX_REQUIRE_IMAGEMAGICK()                                  \
    do {                                                              \
        if (!::kobrix::test::HaveImageMagick()) {                     \
            GTEST_SKIP() << "ImageMagick's convert is not installed"; \
        }                                                             \
    } while (false)
