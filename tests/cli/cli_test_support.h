#pragma once

#include <array>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>

namespace kobrix::testing {

struct CommandResult {
    int status = -1;
    std::string out;
};

// Runs a shell command line and collects its standard output.
inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

// What a command function wrote and returned.
struct CommandOutput {
    int status = -1;
    std::string out;
    std::string err;
};

// Calls `run(out, err)`, a command function on two streams that returns its exit status.
template <typename Run>
CommandOutput Captured(Run&& run) {
    std::ostringstream out, err;
    const int status = run(out, err);
    return {status, out.str(), err.str()};
}

}  // namespace kobrix::testing
