#pragma once
// Runs a shell command and gives back what it printed.

#include <cstdio>
#include <string>

namespace cubrik::testing {

inline std::string runCommand(const std::string& command) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, got);
    pclose(pipe);
    return output;
}

}  // namespace cubrik::testing
