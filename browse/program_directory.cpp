#include "browse/program_directory.h"

#include <filesystem>

namespace kobrix {

std::string ProgramDirectoryFor(const std::string& currentDirectory, bool currentWritable,
                                const std::string& homeDirectory, const char* kobrixHome) {
    namespace fs = std::filesystem;
    const auto same = [](const std::string& a, const std::string& b) {
        return fs::path(a).lexically_normal() / "" == fs::path(b).lexically_normal() / "";
    };
    if (currentWritable && !same(currentDirectory, homeDirectory)) return currentDirectory;
    if (kobrixHome != nullptr && *kobrixHome != '\0') return kobrixHome;
    return (fs::path(homeDirectory) / "Kobrix2007").string();
}

}  // namespace kobrix
