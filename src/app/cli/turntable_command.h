#pragma once
// `cubrik --turntable`: the model turning a full circle, as a GIF, MP4 or
// WebP animation, without a window.

#include <string>

#include "app/cli/command_line.h"

namespace cubrik {

// Reads the model and writes its turntable to command.outputPath, with a
// progress bar on a terminal; Ctrl+C stops it. Returns 1, or 0 with `reason`
// and no file written.
int renderTurntable(const CommandLine& command, std::string& reason);

}  // namespace cubrik
