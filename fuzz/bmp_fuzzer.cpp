// Any input either decodes or is refused with ImageError; anything else is a finding.

#include <cstddef>
#include <cstdint>

#include "imaging/bmp_io.h"
#include "imaging/image_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        kobrix::DecodeBmp({data, size}, "fuzz.bmp");
    } catch (const kobrix::ImageError&) {
    }
    return 0;
}
