#include "colour/core/render_row.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define KOBRIX_HAVE_AVX2_PATH 1
#endif

namespace kobrix {
namespace {

// Contrast's rounding in integers: for x >= 0, x / 16 rounded half to even is
// (x + 7 + (x / 16 odd ? 1 : 0)) / 16. Every value fits 16 bits: x <= 255 * 100.
void ScalarRow(const std::uint8_t* s1, const std::uint8_t* s2, std::uint8_t* out, std::size_t count,
               unsigned weight, int contrast, int offset) {
    const auto w1 = static_cast<std::uint16_t>(weight);
    const auto w2 = static_cast<std::uint16_t>(256 - weight);
    const auto k = static_cast<std::uint16_t>(contrast);
    for (std::size_t i = 0; i < count; ++i) {
        const auto merged =
            static_cast<std::uint16_t>(static_cast<std::uint16_t>(s1[i] * w1 + s2[i] * w2) >> 8);
        const auto x = static_cast<std::uint16_t>(merged * k);
        const int contrasted = (x + 7 + ((x >> 4) & 1)) >> 4;
        const int bright = (contrasted < 255 ? contrasted : 255) + offset;
        out[i] = static_cast<std::uint8_t>(bright < 0 ? 0 : (bright > 255 ? 255 : bright));
    }
}

// The vector forms work on 16-bit lanes and end with two saturating byte operations: packing
// to bytes caps the contrast at 255, then the offset is added or subtracted with saturation.
std::uint8_t RaiseBy(int offset) {
    return static_cast<std::uint8_t>(offset > 255 ? 255 : (offset > 0 ? offset : 0));
}
std::uint8_t LowerBy(int offset) {
    return static_cast<std::uint8_t>(offset < 0 ? -offset : 0);
}

#if defined(__SSE2__)
struct Sse2Constants {
    __m128i w1, w2, k, seven, one, up, down;
};

inline __m128i ContrastLanes(__m128i a, __m128i b, const Sse2Constants& c) {
    const __m128i merged =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, c.w1), _mm_mullo_epi16(b, c.w2)), 8);
    const __m128i x = _mm_mullo_epi16(merged, c.k);
    const __m128i odd = _mm_and_si128(_mm_srli_epi16(x, 4), c.one);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, c.seven), odd), 4);
}

std::size_t Sse2Row(const std::uint8_t* s1, const std::uint8_t* s2, std::uint8_t* out,
                    std::size_t count, unsigned weight, int contrast, int offset) {
    const Sse2Constants c{_mm_set1_epi16(static_cast<short>(weight)),
                          _mm_set1_epi16(static_cast<short>(256 - weight)),
                          _mm_set1_epi16(static_cast<short>(contrast)),
                          _mm_set1_epi16(7),
                          _mm_set1_epi16(1),
                          _mm_set1_epi8(static_cast<char>(RaiseBy(offset))),
                          _mm_set1_epi8(static_cast<char>(LowerBy(offset)))};
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s1 + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s2 + i));
        const __m128i low =
            ContrastLanes(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), c);
        const __m128i high =
            ContrastLanes(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), c);
        const __m128i bytes = _mm_packus_epi16(low, high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_subs_epu8(_mm_adds_epu8(bytes, c.up), c.down));
    }
    return i;
}
#endif

#if defined(KOBRIX_HAVE_AVX2_PATH)
// The same on 32 bytes. Unpacking and packing both work within 128-bit halves, so the bytes
// come out in their order.
struct Avx2Constants {
    __m256i w1, w2, k, seven, one, up, down;
};

__attribute__((target("avx2"))) inline __m256i ContrastLanes(__m256i a, __m256i b,
                                                             const Avx2Constants& c) {
    const __m256i merged = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(a, c.w1), _mm256_mullo_epi16(b, c.w2)), 8);
    const __m256i x = _mm256_mullo_epi16(merged, c.k);
    const __m256i odd = _mm256_and_si256(_mm256_srli_epi16(x, 4), c.one);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(x, c.seven), odd), 4);
}

__attribute__((target("avx2"))) std::size_t Avx2Row(const std::uint8_t* s1, const std::uint8_t* s2,
                                                    std::uint8_t* out, std::size_t count,
                                                    unsigned weight, int contrast, int offset) {
    const Avx2Constants c{_mm256_set1_epi16(static_cast<short>(weight)),
                          _mm256_set1_epi16(static_cast<short>(256 - weight)),
                          _mm256_set1_epi16(static_cast<short>(contrast)),
                          _mm256_set1_epi16(7),
                          _mm256_set1_epi16(1),
                          _mm256_set1_epi8(static_cast<char>(RaiseBy(offset))),
                          _mm256_set1_epi8(static_cast<char>(LowerBy(offset)))};
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s1 + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s2 + i));
        const __m256i low =
            ContrastLanes(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), c);
        const __m256i high =
            ContrastLanes(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), c);
        const __m256i bytes = _mm256_packus_epi16(low, high);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_subs_epu8(_mm256_adds_epu8(bytes, c.up), c.down));
    }
    return i;
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

}  // namespace

void RenderAnaglyphRow(const std::uint8_t* s1, const std::uint8_t* s2, std::uint8_t* out,
                       std::size_t count, unsigned weight, int contrast, int offset) {
    std::size_t done = 0;
#if defined(KOBRIX_HAVE_AVX2_PATH)
    if (HaveAvx2()) done = Avx2Row(s1, s2, out, count, weight, contrast, offset);
#endif
#if defined(__SSE2__)
    done += Sse2Row(s1 + done, s2 + done, out + done, count - done, weight, contrast, offset);
#endif
    ScalarRow(s1 + done, s2 + done, out + done, count - done, weight, contrast, offset);
}

}  // namespace kobrix
