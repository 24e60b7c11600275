#include "app/cli/turntable_command.h"

#include "app/cli/file_conversion.h"
#include "app/cli/terminal_progress.h"
#include "app/commands/turntable_export.h"

namespace cubrik {

int renderTurntable(const CommandLine& command, std::string& reason) {
    TurntableSettings settings;
    settings.frames = command.frames;
    settings.width = command.width;
    settings.height = command.height;
    settings.backgroundColor = command.backgroundColor;
    settings.flat = command.flat;
    settings.zoomed = command.zoomed;
    settings.orthographic = command.orthographic;
    settings.occlusion = command.occlusion;
    settings.cellEdges = command.cellEdges;
    settings.cut = command.cut;
    ModelStore store;
    if (!loadModelInto(command.modelPath, store, reason)) return 0;

    TerminalProgress bar("Turntable");
    const InterruptRequest interrupt;
    const auto progress = [&bar](int done, int total) { bar.show(done, total); };
    switch (exportTurntable(*store.model, settings, command.outputPath, progress, interrupt.requested(), reason)) {
    case TurntableOutcome::Written: return 1;
    case TurntableOutcome::Cancelled: reason = "stopped; " + command.outputPath + " was not written"; return 0;
    case TurntableOutcome::Failed: break;
    }
    return 0;
}

}  // namespace cubrik
