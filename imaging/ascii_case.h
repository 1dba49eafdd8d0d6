#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kobrix {

// Letter case of names and label keywords, which are ASCII whatever the locale says.

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// The extension of the file name that ends `path`, with its dot, in lower case ("a/B.IMG"
// gives ".img"); empty when the name has none.
inline std::string LowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : AsciiLower(name.substr(dot));
}

}  // namespace kobrix
