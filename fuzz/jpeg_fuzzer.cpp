// Any input either decodes or is refused with ImageError; anything else is a finding.

#include <cstddef>
#include <cstdint>

#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        kobrix::DecodeJpeg({data, size}, "fuzz.jpg");
    } catch (const kobrix::ImageError&) {
    }
    return 0;
}
