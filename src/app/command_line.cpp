#include "app/command_line.h"

#include <ostream>

#include "app/file_conversion.h"

namespace cubrik {

std::string usageText() {
    return "Usage:\n"
           "  cubrik [FILE.cbk]                 open the modeller, with FILE if given\n"
           "  cubrik --export IN.cbk OUT.cbk    read a model and write it again\n"
           "  cubrik --help                     show this text\n"
           "  cubrik --version                  show the version\n";
}

int parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    out = CommandLine{};
    if (args.empty()) return 1;
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        out.mode = CommandLine::Mode::Help;
        return 1;
    }
    if (first == "--version") {
        out.mode = CommandLine::Mode::Version;
        return 1;
    }
    if (first == "--export") {
        if (args.size() != 3) {
            error = "--export takes an input model and an output file";
            return 0;
        }
        out.mode = CommandLine::Mode::Export;
        out.modelPath = args[1];
        out.outputPath = args[2];
        return 1;
    }
    if (first.rfind("--", 0) == 0) {
        error = "unknown option " + first + " (see --help)";
        return 0;
    }
    out.modelPath = first;  // only the first name is used
    return 1;
}

int runHeadless(const CommandLine& command, std::ostream& out, std::ostream& err) {
    std::string reason;
    switch (command.mode) {
    case CommandLine::Mode::Help: out << usageText(); return 0;
    case CommandLine::Mode::Version: out << kVersionLine << '\n'; return 0;
    case CommandLine::Mode::Export:
        if (convertModelFile(command.modelPath, command.outputPath, reason)) return 0;
        break;
    case CommandLine::Mode::OpenWindow: reason = "no window can be opened here"; break;
    }
    err << "cubrik: " << reason << '\n';
    return 1;
}

}  // namespace cubrik
