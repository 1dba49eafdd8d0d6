#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `thumbnail IN -o OUT [--size N]`: the thumbnail the thumbnail sheet shows of IN (any picture
// or archive file), IN's display picture shrunk to fit N x N (default 128, 1 to 1024) with
// each pixel the mean of those it covers, written by OUT's extension. Returns 0, 1 when IN
// cannot be read or OUT written, 2 for usage errors.
int RunThumbnailCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
