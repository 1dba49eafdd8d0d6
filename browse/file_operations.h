#pragma once

#include <functional>
#include <string>

#include "imaging/bitmap24.h"

namespace kobrix {

// The file operations of the main window: "Delete", "Save as" and the copy into the AVI
// source directory. Paths are the platform's; nothing here asks the user anything.

// Whether anything exists at `path` (a file, a directory, a dangling link).
bool PathExists(const std::string& path);

// The name without its directory and its last extension ("a/b.c.jpg" gives "b.c").
std::string BaseNameOf(const std::string& path);

// "Save as" proposes `taggedDirectory` + `baseName` + "-TAG0" + n, n counting up from 1 as
// long as that name with ".jpg" exists, either as proposed or as a save would write it
// (upper-cased, as JPEG or bitmap), so that a save never replaces an earlier one on a
// case-sensitive disk.
std::string ProposedSaveName(const std::string& taggedDirectory, const std::string& baseName,
                             const std::function<bool(const std::string&)>& exists = PathExists);

// Position of the JPEG type in the save dialog's type list, 1-based; any other type saves a
// bitmap.
inline constexpr int kJpegSaveType = 3;

struct SaveTarget {
    std::string path;  // the file to write
    bool jpeg = false;
};

// The file a confirmed "Save as" writes: the chosen file name upper-cased, its extension
// replaced by ".jpg" for the JPEG type and by ".bmp" for any other. The directory is kept as
// chosen. Only a last part of letters and digits counts as an extension, so the dots inside a
// proposed name ("x.5-TAG01") stay.
SaveTarget SaveTargetFor(const std::string& chosenPath, int typeIndex);

// The same rule for dialogs with another type list: ".jpg" when `jpeg`, else ".bmp".
SaveTarget SaveTargetAs(const std::string& chosenPath, bool jpeg);
// The rule itself: the chosen path without a typed extension, its file name upper-cased, and
// `extension` (".gif", say) after it.
std::string UpperCasedWithExtension(const std::string& chosenPath, const std::string& extension);

// JPEG at quality 100 or a 24-bit BMP. Throws ImageError when the file cannot be written or
// there is no picture (nothing was displayed yet).
void WriteSaveTarget(const Bitmap24& picture, const SaveTarget& target);

// Copies `source` to `target` when nothing exists at `target`; an existing file is never
// replaced. False when the copy failed, in which case no partial target is left behind.
bool CopyWithoutOverwrite(const std::string& source, const std::string& target);

// Deletes the file at `path` (not a directory). Empty on success, else why it failed.
std::string DeleteFileAt(const std::string& path);

}  // namespace kobrix
