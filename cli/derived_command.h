#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `derived FILE [--linearized]`: the other products of the exposure of the EDR `FILE` (same
// name but for the product-type letters, in the volume's rdr/ folder or beside it), one path a
// line in name order, as the main window offers them under the picture. With --linearized only
// the linearized product the stereo viewer shows in its place. Returns 0; 1 when FILE does not
// exist, is not named as an EDR, or (with --linearized) has no linearized product; 2 for
// usage errors.
int RunDerivedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
