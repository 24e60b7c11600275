#pragma once
// `cubrik --check`: the print check of a model file, one fact a line.

#include <iosfwd>
#include <string>

#include "app/cli/command_line.h"
#include "edit/print_check.h"

namespace cubrik {

// The report: "parts 2", "floating 1 part, 18 cells", "thin 0 cells",
// "overhang 6 cells" and "size 22 x 23 x 20 mm", each line ending in '\n'.
std::string printCheckReport(const PrintCheck& check, double cellMillimetres);

// Reads command.modelPath and writes the report to `out`. Returns the exit
// status: 0 when nothing was found, 3 when something was, 1 with one line on
// `err` when the model cannot be read.
int runPrintCheck(const CommandLine& command, std::ostream& out, std::ostream& err);

}  // namespace cubrik
