#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/bitmap24.h"
#include "movie/core/avi_writer.h"

namespace kobrix::testing {

// Frame i of a test movie: a level far from its neighbours' over a horizontal ramp, so that
// even a lossy codec keeps every frame told apart from the next.
inline Bitmap24 MovieFrame(int i, int width, int height) {
    Bitmap24 frame(width, height);
    const int level = 20 + (i * 67) % 180;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = frame.Row(y);
        for (int x = 0; x < width; ++x) {
            const int ramp = x * 40 / width;
            row[3 * x] = static_cast<std::uint8_t>(level + ramp);
            row[3 * x + 1] = static_cast<std::uint8_t>(255 - level - ramp);
            row[3 * x + 2] = static_cast<std::uint8_t>((level + y) & 0xff);
        }
    }
    return frame;
}

inline void WriteTestMovie(const std::filesystem::path& path, int count, int width, int height,
                           int fps = 10) {
    WriteMovieFromBitmaps(
        path.string(), count, [&](int i) { return MovieFrame(i, width, height); }, fps);
}

// The same movie re-encoded by the ffmpeg program; false when it is not installed.
inline bool Reencode(const std::filesystem::path& source, const std::filesystem::path& target,
                     const std::string& codecArguments) {
    const std::string command = "ffmpeg -nostdin -v error -y -i '" + source.string() + "' " +
                                codecArguments + " '" + target.string() + "'";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(target);
}

// Mean absolute difference per channel value.
inline double MeanDifference(const Bitmap24& a, const Bitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return 1e9;
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width() * 3; ++x) sum += std::abs(a.Row(y)[x] - b.Row(y)[x]);
    }
    return sum / (static_cast<double>(a.Width()) * a.Height() * 3);
}

}  // namespace kobrix::testing
