#pragma once

// Plain libjpeg-turbo, as a program would call it without anything of ours, for the benchmarks
// to compare against: test pictures, an encoder and a decoder into a BGR buffer.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// After <cstdio>: jpeglib.h needs FILE declared before it.
#include <jpeglib.h>

namespace kobrix::bench {

constexpr int kSide = 1024;

// Terrain-like shading with grain, so the entropy coder has real work.
inline std::vector<std::uint8_t> Samples(int components) {
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(kSide) * kSide * components);
    unsigned noise = 1;
    std::uint8_t* p = samples.data();
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) & 15);
            const int base = y < kSide / 3 ? 180 + x / 64 : 40 + ((x * 3 + y * 5) / 16) % 120;
            for (int c = 0; c < components; ++c)
                *p++ = static_cast<std::uint8_t>(base + grain + 10 * c);
        }
    }
    return samples;
}

// Encodes `samples` (kSide x kSide, RGB or grey rows without padding).
inline std::vector<std::uint8_t> EncodeSamples(const std::vector<std::uint8_t>& samples,
                                               int components, int quality, bool fullChroma) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = c.image_height = kSide;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (fullChroma) c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                       static_cast<std::size_t>(c.next_scanline) * kSide * components;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

inline std::vector<std::uint8_t> Encode(int components, int quality, bool fullChroma) {
    return EncodeSamples(Samples(components), components, quality, fullChroma);
}

// One decode into BGR rows padded to 4 bytes, as many scanlines a call as libjpeg gives.
inline std::unique_ptr<std::uint8_t[]> DecodePlain(const std::vector<std::uint8_t>& file) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    const std::size_t stride = (d.output_width * 3 + 3) & ~3u;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[stride * d.output_height]);
    std::vector<JSAMPROW> rows(d.output_height);
    for (JDIMENSION y = 0; y < d.output_height; ++y) rows[y] = pixels.get() + stride * y;
    while (d.output_scanline < d.output_height) {
        jpeg_read_scanlines(&d, rows.data() + d.output_scanline,
                            d.output_height - d.output_scanline);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return pixels;
}

}  // namespace kobrix::bench
