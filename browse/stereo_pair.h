#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/product_name.h"

namespace kobrix {

// Finding the other eye's file of a stereo pair. The partner's name is the displayed name with
// the eye letter changed and ".jpg" added (for an archive file its own extension, see
// PartnerExtension). Archives copied from other systems often store ".JPG", so where the file
// system tells the cases apart the name is matched without regard to case; an exact match
// wins, then a name that ends in the wanted extension as written, then any other.
// `listed` are the names of the directory's files in the file list's order
// (FileList::LessIgnoringCase). Returns the name to load, or nothing.
std::optional<std::string> ChoosePartnerName(std::string_view wanted,
                                             const std::vector<std::string>& listed);

// The extension the partners of the file at `path` carry: the file's own, as written, when a
// registered reader claims it (an archive's ".IMG" pairs with ".IMG", in any case), otherwise
// ".jpg" as the decode builds it.
std::string PartnerExtension(std::string_view path);
// `jpegPath` (a partner path as the decode builds it, ending in ".jpg") with `extension`
// instead of that ".jpg".
std::string WithPartnerExtension(std::string_view jpegPath, std::string_view extension);

// The file to load for the partner path `wanted` (directory + separator + name + ".jpg"): that
// path when such a file exists, otherwise the case-blind choice among `listed`, the names of
// the directory's files; empty when there is none.
std::string ResolvePartnerPath(const std::string& wanted, const std::vector<std::string>& listed);

// The stereo viewer's switches, as the main window keeps them.
struct StereoFlags {
    bool pairShown = false;    // the Stereo action may show the viewer
    bool rightLoaded = false;  // the right-eye file was loaded into the viewer
    bool leftLoaded = false;
};

// The viewer's texts. "Right" and "left" are the eyes: the right eye's picture is shown on
// the left for cross-eyed viewing.
struct StereoViewerTexts {
    std::string rightEyeCaption = "Right eye filename";
    std::string leftEyeCaption = "Left eye filename";
    bool rightPictureVisible = true;
    bool leftPictureVisible = true;
    std::string rightFilter = "Filter Unknown";  // under the left picture
    std::string leftFilter = "Filter Unknown";   // under the right picture
    std::string rightEarthTime = "Earth Time";   // hidden
    std::string leftEarthTime = "Earth Time";
    // Values beside the viewer's "Rover" and "Camera" captions: empty until the first pair.
    std::string rover;
    std::string camera;
    std::string sol;
    std::string martianTime = "Local Martian Standard time.";
};

// The Stereo action's texts from the main window's panel. `rightName` and `leftName` are the
// partners' file names as the captions show them.
void ApplyStereoAction(const DecodedPanel& panel, const StereoFlags& flags,
                       const std::string& rightName, const std::string& leftName,
                       StereoViewerTexts& texts);

// How many entries the viewer's NEXT IMAGE (forward) or PREVIOUS IMAGE moves: one from a
// left-eye image forward and from a right-eye image backward (its partner sorts next to it),
// two otherwise. Only the upper-case letters count.
int StereoStepEntries(std::string_view eyeLetter, bool forward);

// One locked eye of the manual selection.
struct LockedEye {
    std::string filter = "Filter Unknown";
    std::string earthTime = "EarthTime";
    std::string fileName = "Filename unknown";
};

enum class LockSide { None, Left, Right };
// Which locked area the manual selection's "Lock Image" fills for the current eye text.
LockSide LockSideFor(std::string_view eyeText);

// "View in Stereo": the viewer's captions reset, then filled from the two locked eyes and the
// selection's current sol, rover and camera. Both pictures become visible.
void ApplyManualStereo(const LockedEye& left, const LockedEye& right, const std::string& sol,
                       const std::string& rover, const std::string& camera,
                       StereoViewerTexts& texts);

}  // namespace kobrix
