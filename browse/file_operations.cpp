#include "browse/file_operations.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "imaging/bmp_io.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Where the file name starts in `path`.
std::size_t NameStart(const std::string& path) {
    const std::size_t separator = path.rfind(kSeparator);
    return separator == std::string::npos ? 0 : separator + 1;
}

// Where the extension of the name starting at `nameStart` begins, or the end of `path`.
// A leading dot is part of the name; an extension is letters and digits only.
std::size_t ExtensionStart(const std::string& path, std::size_t nameStart) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) return path.size();
    for (std::size_t i = dot + 1; i < path.size(); ++i) {
        if (!IsAsciiAlnum(path[i])) return path.size();
    }
    return dot;
}

}  // namespace

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    const std::size_t end = (dot == std::string::npos || dot <= start) ? path.size() : dot;
    return path.substr(start, end - start);
}

SaveTarget SaveTargetFor(const std::string& chosenPath, int typeIndex) {
    return SaveTargetAs(chosenPath, typeIndex == kJpegSaveType);
}

std::string UpperCasedWithExtension(const std::string& chosenPath, const std::string& extension) {
    const std::size_t nameStart = NameStart(chosenPath);
    const std::size_t end = ExtensionStart(chosenPath, nameStart);
    // Upper-casing the directory too would name another directory on a case-sensitive disk.
    std::string path = chosenPath.substr(0, nameStart);
    for (std::size_t i = nameStart; i < end; ++i) path += AsciiUpper(chosenPath[i]);
    return path + extension;
}

SaveTarget SaveTargetAs(const std::string& chosenPath, bool jpeg) {
    return {UpperCasedWithExtension(chosenPath, jpeg ? ".jpg" : ".bmp"), jpeg};
}

std::string ProposedSaveName(const std::string& taggedDirectory, const std::string& baseName,
                             const std::function<bool(const std::string&)>& exists) {
    for (int serial = 1;; ++serial) {
        std::string proposal = taggedDirectory + baseName + "-TAG0" + std::to_string(serial);
        // Neither the name as proposed nor either file a save of it would write.
        if (!exists(proposal + ".jpg") && !exists(SaveTargetFor(proposal, kJpegSaveType).path) &&
            !exists(SaveTargetFor(proposal, kJpegSaveType + 1).path)) {
            return proposal;
        }
    }
}

void WriteSaveTarget(const Bitmap24& picture, const SaveTarget& target) {
    if (picture.Empty()) throw ImageError(target.path, "there is no picture to save");
    if (target.jpeg)
        WriteJpegFile(picture, target.path);
    else
        WriteBmpFile(picture, target.path);
}

bool CopyWithoutOverwrite(const std::string& source, const std::string& target) {
    try {
        InputFile in(source);
        // Unnamed until complete, and then only where nothing (a link included) has the name:
        // a killed or failed copy leaves nothing, and a file that appears meanwhile is kept.
        OutputFile out(target, Placement::NewName);
        std::vector<std::uint8_t> buffer(1 << 16);
        for (std::uint64_t at = 0; at < in.Size();) {
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), in.Size() - at));
            in.ReadAt(at, buffer.data(), step);
            out.Write(buffer.data(), step);
            at += step;
        }
        out.Commit();
        return true;
    } catch (const ImageError&) {
        return false;
    }
}

std::string DeleteFileAt(const std::string& path) {
    if (path.empty()) return "There is no file to delete.";
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) return path + ": no such file.";
    if (fs::is_directory(status)) return path + ": a directory, not a file.";
    if (!fs::remove(path, ec) || ec) {
        return path + ": " + (ec ? ec.message() : std::string("could not be deleted")) + ".";
    }
    return {};
}

}  // namespace kobrix
