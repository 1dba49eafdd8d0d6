#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kobrix::cli {

// `derived FILE [--linearized]`: the other products of the exposure of `FILE`, any product
// (same name but for the product-type letters, beside it and in the sol's other edr/ or rdr/
// folder), one absolute path a line in name order, as the main window offers them under the
// picture. With --linearized, for an EDR only, the linearized product the stereo viewer shows
// in its place. Returns 0; 1 when FILE does not exist, is not named as a product, or (with
// --linearized) is not an EDR or has no linearized product; 2 for usage errors.
int RunDerivedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kobrix::cli
