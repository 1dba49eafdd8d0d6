#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/imaging/magick.h"

namespace kobrix::test {

// Writes `bytes` as `name` in `dir` and returns the path.
inline std::string Put(const ScratchDir& dir, const std::string& name,
                       const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir / name;
    WriteBytes(path, bytes);
    return path;
}

// The names in `dir`, sorted, to check that a writer left nothing behind.
inline std::vector<std::string> Names(const ScratchDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kobrix::test
