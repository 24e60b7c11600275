#include "app/cli/print_check_command.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "app/cli/file_conversion.h"

namespace cubrik {
namespace {

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string millimetreText(double millimetres) {
    char text[32];
    // std::to_chars ignores the locale; its shortest form of a rounded value has no trailing noise.
    const auto result = std::to_chars(text, text + sizeof text, std::round(millimetres * 100) / 100);
    return std::string(text, result.ptr);
}

std::string printCheckReport(const PrintCheck& check, double cellMillimetres) {
    int floatingCells = 0;
    for (const CellGroup& part : check.floating) floatingCells += part.cells;
    std::string size = "size";
    for (const int axis : {0, 2, 1}) {
        const int cells = check.filled.cells > 0 ? check.filled.box.size(axis) : 0;
        size += (axis == 0 ? " " : " x ") + millimetreText(cells * cellMillimetres);
    }
    return "parts " + std::to_string(check.parts) + "\n" +
           "floating " + counted(static_cast<int>(check.floating.size()), "part", "parts") + ", " +
           counted(floatingCells, "cell", "cells") + "\n" +
           "thin " + counted(check.thin.cells, "cell", "cells") + "\n" +
           "overhang " + counted(check.overhang.cells, "cell", "cells") + "\n" + size + " mm\n";
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
