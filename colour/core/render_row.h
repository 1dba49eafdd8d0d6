#pragma once

#include <cstddef>
#include <cstdint>

namespace kobrix {

// One row of the anaglyph render chain, for RenderAnaglyph: each of `count` bytes becomes
//   merged     = (s1 * weight + s2 * (256 - weight)) >> 8
//   contrasted = merged * contrast / 16, rounded half to even, at most 255
//   out        = contrasted + offset, clamped to 0..255
// weight 0..256, contrast 0..100, offset -128..299. Picks the widest vector instructions the
// processor has.
void RenderAnaglyphRow(const std::uint8_t* s1, const std::uint8_t* s2, std::uint8_t* out,
                       std::size_t count, unsigned weight, int contrast, int offset);

}  // namespace kobrix
