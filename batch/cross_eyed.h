#pragma once

#include "imaging/bitmap24.h"

namespace kobrix {

// The stereo viewer's arrangement as one picture, for cross-eyed viewing: the right-eye
// picture on the left, the left-eye picture beside it on the right. The picture is as high as
// the higher of the two; the lower one is centred on a black band (the odd row below). `out`
// is resized; its memory is reused when it has the size already.
void JoinCrossEyed(const Bitmap24& right, const Bitmap24& left, Bitmap24& out);

}  // namespace kobrix
