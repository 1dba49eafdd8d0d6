#pragma once

#include "imaging/bitmap24.h"

namespace kobrix {

// Nightfall on a picture, in place. A pass lowers every byte of every row that is not 0 by
// one, the row filler bytes included (a row is Stride() bytes, also for a one-row picture),
// so after 255 passes the picture is black.
void SunsetPass(Bitmap24& picture);

// The same bytes as `passes` calls of SunsetPass, in one sweep; nothing for passes <= 0.
void SunsetPasses(Bitmap24& picture, int passes);

// How many passes the fade runs before it shows "Night Time".
inline constexpr int kSunsetPasses = 256;

}  // namespace kobrix
