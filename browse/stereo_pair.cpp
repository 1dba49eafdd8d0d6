#include "browse/stereo_pair.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "browse/file_list.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The extension of a file name as written, dot included; empty without one.
std::string_view ExtensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return name.substr(dot);
}

}  // namespace

std::string PartnerExtension(std::string_view path) {
    const std::string_view extension = ExtensionOf(path);
    if (!extension.empty() && ClaimingPictureReader(path) != nullptr) return std::string(extension);
    return ".jpg";
}

std::string WithPartnerExtension(std::string_view jpegPath, std::string_view extension) {
    std::string path(jpegPath);
    if (ExtensionOf(path) == ".jpg") path.resize(path.size() - 4);
    path += extension;
    return path;
}

std::optional<std::string> ChoosePartnerName(std::string_view wanted,
                                             const std::vector<std::string>& listed) {
    const std::string_view wantedExtension = ExtensionOf(wanted);
    const std::string* sameExtension = nullptr;
    const std::string* other = nullptr;
    // The list is in its own order, so the spellings of the name stand together.
    const auto folded = [](std::string_view a, std::string_view b) {
        return FileList::FoldedLess(a, b);
    };
    const auto [first, last] = std::equal_range(listed.begin(), listed.end(), wanted, folded);
    for (auto it = first; it != last; ++it) {
        const std::string& name = *it;
        if (name == wanted) return name;
        // The first of several other spellings is taken.
        if (!wantedExtension.empty() && EndsWith(name, wantedExtension)) {
            if (!sameExtension) sameExtension = &name;
        } else if (!other) {
            other = &name;
        }
    }
    if (sameExtension) return *sameExtension;
    if (other) return *other;
    return std::nullopt;
}

std::string ResolvePartnerPath(const std::string& wanted, const std::vector<std::string>& listed) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(wanted, ec)) return wanted;
    constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::size_t nameStart = wanted.rfind(kSeparator) + 1;  // 0 without a directory
    const std::optional<std::string> name = ChoosePartnerName(wanted.substr(nameStart), listed);
    if (!name) return {};
    const std::string path = wanted.substr(0, nameStart) + *name;
    return std::filesystem::is_regular_file(path, ec) ? path : std::string();
}

void ApplyStereoAction(const DecodedPanel& panel, const StereoFlags& flags,
                       const std::string& rightName, const std::string& leftName,
                       StereoViewerTexts& texts) {
    texts.rightPictureVisible = flags.rightLoaded;
    texts.leftPictureVisible = flags.leftLoaded;
    texts.rightEyeCaption = flags.rightLoaded ? rightName : "RIGHT EYE FILE MISSING";
    texts.leftEyeCaption = flags.leftLoaded ? leftName : "LEFT EYE FILE MISSING";
    texts.rover = panel.roverNumber;
    texts.sol = panel.sol;
    texts.rightEarthTime = panel.utcTime;
    texts.leftEarthTime = "Local Earth time: " + panel.localTime;
    texts.martianTime = "Local Martian Standard time: SOL " + panel.sol + ": " +
                        panel.martianLocalTime + " Martian Hrs.";
    texts.camera = panel.camera;
}

int StereoStepEntries(std::string_view eyeLetter, bool forward) {
    return eyeLetter == (forward ? "L" : "R") ? 1 : 2;
}

LockSide LockSideFor(std::string_view eyeText) {
    if (eyeText == "Left Eye") return LockSide::Left;
    if (eyeText == "Right Eye") return LockSide::Right;
    return LockSide::None;
}

void ApplyManualStereo(const LockedEye& left, const LockedEye& right, const std::string& sol,
                       const std::string& rover, const std::string& camera,
                       StereoViewerTexts& texts) {
    texts.rightEyeCaption = right.fileName;
    texts.leftEyeCaption = left.fileName;
    texts.sol = sol;
    texts.rover = rover;
    texts.camera = camera;
    texts.rightFilter = right.filter;
    texts.leftFilter = left.filter;
    texts.rightEarthTime = right.earthTime;
    texts.leftEarthTime = left.earthTime;
    texts.rightPictureVisible = true;
    texts.leftPictureVisible = true;
}

}  // namespace kobrix
