#pragma once
// `cubrik --render ... --path-traced`: the view path-traced on the CPU, with
// a progress bar on a terminal, and Ctrl+C stopping it without a file.

#include <string>

#include "app/cli/command_line.h"
#include "formats/file_format.h"
#include "model/edit_state.h"
#include "model/voxel_model.h"

namespace cubrik {

// Renders the whole view (client width - 64 by client height, background
// included) of `model`, turned and shown as `edit` and `command` say, and
// writes it to command.outputPath in `format`. Returns 1, or 0 with `reason`
// and no file written (also when interrupted).
int writePathTracedImage(const CommandLine& command, const FileFormat& format, const VoxelModel& model,
                         const EditState& edit, std::string& reason);

}  // namespace cubrik
