#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    cubrik::CommandLine command;
    std::string error;
    if (!cubrik::parseCommandLine(args, command, error)) {
        std::cerr << "cubrik: " << error << '\n';
        return 1;
    }
    return cubrik::runHeadless(command, std::cout, std::cerr);
}
