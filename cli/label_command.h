#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `label FILE [--find TEXT]`: the complete label of an archive file as its bytes (an attached
// PDS3 label up to and including its END line as ReadWholeLabel finds it, a detached .LBL or a
// PDS4 .xml as it is), or
// with --find only its lines that contain TEXT (any letter case). Returns 0, 1 when the file
// has no readable label (the reason on `err`, nothing on `out`), 2 for usage errors.
int RunLabelCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
