#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/label_text.h"

namespace kobrix {

// The complete label of an archive file, as its bytes.
struct WholeLabel {
    std::string path;  // the file the label was read from (a .LBL for a raw .IMG)
    ArchiveFormat format = ArchiveFormat::Pds3;
    std::string text;
};

// The label of `path`: for a PDS3 or ISIS3 label attached to its samples, the bytes up to and
// including the END line (its line break with it); a VICAR label its LBLSIZE bytes; a
// detached .LBL and a PDS4 .xml the whole file as it is. Throws ImageError naming the file
// for a file without a label, a label that never ends and one longer than the label limit.
WholeLabel ReadWholeLabel(const std::string& path);

// The label as the label window shows it: PDS3 and ISIS3 statements one a line, indented two
// spaces for each OBJECT or GROUP they lie in (a value running over several lines keeps its
// lines, indented one step more); other labels as they are. Line breaks become "\n".
std::string IndentedLabel(const WholeLabel& label);

// The lines of `text` that contain `find`, without regard to letter case, each with its
// line break; every line when `find` is empty.
std::string MatchingLines(std::string_view text, std::string_view find);

}  // namespace kobrix
