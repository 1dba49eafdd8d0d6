// Any input either plays to its end or is refused with MovieReadError; anything else is a
// finding. FFmpeg reads files, so each input goes through a file of this process's own.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "movie/core/movie_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/kobrix-fuzz-movie-" + std::to_string(getpid()) + ".avi";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    try {
        kobrix::MovieDecoder movie(path);
        kobrix::Bitmap24 frame;
        for (int i = 0; i < 64 && movie.ReadFrame(frame) >= 0; ++i) {
        }
        movie.Seek(movie.Length() / 2);
        movie.ReadFrame(frame);
    } catch (const kobrix::MovieReadError&) {
    }
    return 0;
}
