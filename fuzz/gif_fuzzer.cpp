// Any input either decodes or is refused with ImageError, both as a still picture and as an
// animation; anything else is a finding.

#include <cstddef>
#include <cstdint>

#include "imaging/gif_io.h"
#include "imaging/image_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A screen of up to 16384 x 16384 is valid and is filled with the background colour,
    // which takes most of a second under the sanitizers: the mutator would spend its time
    // there. The refusal of larger screens is covered by the unit tests.
    if (size >= 10) {
        const std::size_t width = data[6] | (data[7] << 8), height = data[8] | (data[9] << 8);
        if (width * height > (std::size_t{1} << 20)) return 0;
    }
    try {
        kobrix::DecodeGif({data, size}, "fuzz.gif");
    } catch (const kobrix::ImageError&) {
    }
    try {
        // Lower than the program's limit only so that each run stays quick.
        kobrix::DecodeGifAnimation({data, size}, "fuzz.gif", {kobrix::kMaxGifFrames, 64u << 20});
    } catch (const kobrix::ImageError&) {
    }
    return 0;
}
