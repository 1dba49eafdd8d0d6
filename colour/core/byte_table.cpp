#include "colour/core/byte_table.h"

#include <cstring>

namespace kobrix {

ByteTable ComposeTables(const ByteTable& first, const ByteTable& second) {
    ByteTable composed;
    for (std::size_t i = 0; i < composed.size(); ++i) composed[i] = second[first[i]];
    return composed;
}

Bitmap24 ApplyByteTable(const Bitmap24& source, const ByteTable& table) {
    Bitmap24 result;
    result.Resize(source.Width(), source.Height(), false);
    const std::size_t used = static_cast<std::size_t>(source.Width()) * 3;
    const std::size_t filler = result.Stride() - used;
    const std::uint8_t* const* in = source.Rows();
    std::uint8_t* const* out = result.Rows();
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* s = in[y];
        std::uint8_t* d = out[y];
        for (std::size_t i = 0; i < used; ++i) d[i] = table[s[i]];
        std::memset(d + used, 0, filler);
    }
    return result;
}

}  // namespace kobrix
