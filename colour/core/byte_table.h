#pragma once

#include <array>
#include <cstdint>

#include "imaging/bitmap24.h"

namespace kobrix {

// A function of one byte, as a table: out = table[in]. Effects that treat every channel byte
// alike (contrast, brightness) are built as tables once per setting and then applied.
using ByteTable = std::array<std::uint8_t, 256>;

// The table that applies `first`, then `second`.
ByteTable ComposeTables(const ByteTable& first, const ByteTable& second);

// A new picture of the size of `source` whose pixel bytes are table[source byte]. The row
// filler bytes of the result are 0.
Bitmap24 ApplyByteTable(const Bitmap24& source, const ByteTable& table);

}  // namespace kobrix
