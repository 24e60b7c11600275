// The cubrik program. The headless modes run here, in a process that never
// loads the window system, Qt or OpenGL (only --render and --replay make a
// headless EGL context); the window is a program of its own, which this one
// becomes, with the same arguments and process id, when a window is wanted.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "app/cli/command_line.h"

namespace {

// Beside this program in the build tree; in the libexec folder once installed.
std::filesystem::path windowProgram(const char* argv0) {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv0, error);
    const std::filesystem::path folder = self.parent_path();
    const std::filesystem::path beside = folder / "cubrik-window";
    return std::filesystem::exists(beside, error) ? beside : folder / CUBRIK_WINDOW_FROM_BINDIR;
}

}  // namespace

int main(int argc, char** argv) {
    cubrik::CommandLine command;
    const int status = cubrik::runCommandLine(argc, argv, command);
    if (status >= 0) return status;
    const std::string program = windowProgram(argv[0]).string();
    execv(program.c_str(), argv);  // argv[0] stays, so the window keeps the name it was started by
    std::cerr << "cubrik: cannot start the window (" << program << ": " << std::strerror(errno) << ")\n";
    return 1;
}
