#include "app/cli/turntable_command.h"

#include "app/cli/file_conversion.h"
#include "app/cli/interrupt_flag.h"
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
    settings.pathTraced = command.pathTraced;
    settings.samples = command.trace.samples;
    settings.seed = command.trace.seed;
    settings.sunAzimuth = command.trace.sunAzimuth;
    settings.sunElevation = command.trace.sunElevation;
    settings.floor = command.trace.floor;
    ModelStore store;
    if (!loadModelInto(command.modelPath, store, reason)) return 0;

    TurntableOutcome outcome;
    {
        const InterruptFlag interrupt;
        TerminalProgress bar("Turntable");
        const auto progress = [&bar](int done, int total) { bar.update(static_cast<double>(done) / total); };
        outcome = exportTurntable(*store.model, settings, command.outputPath, progress, interrupt.raised(), reason);
    }
    if (outcome == TurntableOutcome::Cancelled) reason = "interrupted; " + command.outputPath + " was not written";
    return outcome == TurntableOutcome::Written;
}

}  // namespace cubrik
