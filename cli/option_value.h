#pragma once

#include <optional>
#include <string>

namespace kobrix::cli {

// "--name=value" in `arg` becomes "--name", and the value is returned; anything else is left
// as it is.
inline std::optional<std::string> SplitOptionValue(std::string& arg) {
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return std::nullopt;
    std::string value = arg.substr(equals + 1);
    arg.resize(equals);
    return value;
}

}  // namespace kobrix::cli
