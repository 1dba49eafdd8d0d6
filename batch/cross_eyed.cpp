#include "batch/cross_eyed.h"

#include <algorithm>
#include <cstring>

namespace kobrix {
namespace {

// Copies `part` into `out` from column byte `offset`, centred in height; rows it leaves free
// are black.
void Place(const Bitmap24& part, std::size_t offset, Bitmap24& out) {
    const std::size_t bytes = static_cast<std::size_t>(part.Width()) * 3;
    const int top = (out.Height() - part.Height()) / 2;
    for (int y = 0; y < out.Height(); ++y) {
        std::uint8_t* row = out.Row(y) + offset;
        const int source = y - top;
        if (source >= 0 && source < part.Height()) {
            std::memcpy(row, part.Row(source), bytes);
        } else {
            std::memset(row, 0, bytes);
        }
    }
}

}  // namespace

void JoinCrossEyed(const Bitmap24& right, const Bitmap24& left, Bitmap24& out) {
    const int width = right.Width() + left.Width();
    const int height = std::max(right.Height(), left.Height());
    Bitmap24::CheckSize(width, height);
    out.Resize(width, height, false);
    Place(right, 0, out);
    const std::size_t rightBytes = static_cast<std::size_t>(right.Width()) * 3;
    Place(left, rightBytes, out);
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) std::memset(out.Row(y) + used, 0, out.Stride() - used);
}

}  // namespace kobrix
