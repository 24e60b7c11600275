#pragma once
// `cubrik --render`: what "Export an image" writes, without a window.

#include <string>

#include "app/cli/command_line.h"

namespace cubrik {

// Reads the model, renders the view of a client area of command.width x
// command.height in the chosen preset view, both materials shown, and writes
// the cropped TARGA to command.outputPath. Returns 1, or 0 with `reason` and
// no file written.
int renderModelImage(const CommandLine& command, std::string& reason);

}  // namespace cubrik
