#include "app/cli/print_check_command.h"

#include <ostream>

#include "app/cli/file_conversion.h"

namespace cubrik {
namespace {

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string printCheckReport(const PrintCheck& check, double cellMillimetres) {
    return "parts " + std::to_string(check.parts) + "\n" +
           "floating " + counted(static_cast<int>(check.floating.size()), "part", "parts") + ", " +
           counted(static_cast<int>(check.floatingCells.size()), "cell", "cells") + "\n" +
           "thin " + counted(check.thin.cells, "cell", "cells") + "\n" +
           "overhang " + counted(check.overhang.cells, "cell", "cells") + "\n" +
           "size " + printSizeText(check, cellMillimetres) + " mm\n";
}

int runPrintCheck(const CommandLine& command, std::ostream& out, std::ostream& err) {
    ModelStore store;
    std::string reason;
    if (!loadModelInto(command.modelPath, store, reason)) {
        err << "cubrik: " << reason << '\n';
        return 1;
    }
    const PrintCheck check = checkForPrinting(*store.model, command.cellMillimetres, command.minWallMillimetres);
    out << printCheckReport(check, command.cellMillimetres);
    return check.foundProblems() ? 3 : 0;
}

}  // namespace cubrik
