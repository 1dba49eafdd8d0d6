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
// including the END line, found as the archive reader finds it (an END inside a string or a
// comment does not count): with its line break when one ends the line (after blanks or
// comments), up to the end of the file when the file ends on that line, and up to and
// including END itself when padding (spaces or NULs to the record size) or the samples follow
// on its line; a VICAR label its LBLSIZE bytes; a detached .LBL and a PDS4 .xml the whole
// file as it is. Throws ImageError naming the file for a file without a label, a label the
// archive reader refuses (one that never ends, or one longer than the label limit, say).
WholeLabel ReadWholeLabel(const std::string& path);

// The label as the label window shows it: PDS3 and ISIS3 statements one a line, indented two
// spaces for each OBJECT or GROUP they lie in (a string or comment running over several lines
// keeps its lines, indented one step more; quotes inside comments open no string); other
// labels as they are. Line breaks become "\n".
std::string IndentedLabel(const WholeLabel& label);

// The lines of `text` that contain `find`, without regard to letter case, each with its
// line break; every line when `find` is empty.
std::string MatchingLines(std::string_view text, std::string_view find);

}  // namespace kobrix
