#include "app/cli/path_traced_render.h"

#include <algorithm>

#include "app/cli/interrupt_flag.h"
#include "app/cli/terminal_progress.h"
#include "formats/image/png_image.h"
#include "trace/path_tracer.h"

namespace cubrik {
int writePathTracedImage(const CommandLine& command, const FileFormat& format, const VoxelModel& model,
                         const EditState& edit, std::string& reason) {
    const TraceScene scene = snapshotScene(model, edit, command.cut);
    TraceCamera camera;
    std::copy(std::begin(model.rotation), std::end(model.rotation), camera.rotation);
    camera.camera.orthographic = command.orthographic;
    camera.zoomed = command.zoomed;
    camera.width = command.width - kViewLeft;
    camera.height = command.height;
    TraceSettings settings = command.trace;
    settings.backgroundColor = command.backgroundColor;

    TraceImage picture;
    bool finished = false;
    {
        InterruptFlag interrupt;
        TerminalProgress bar("Rendering");
        TraceCallbacks callbacks;
        callbacks.progress = [&bar](double fraction) { bar.update(fraction); };
        finished = renderPathTraced(scene, camera, settings, interrupt.raised(), callbacks, picture);
    }
    if (!finished) {
        reason = "interrupted; " + command.outputPath + " was not written";
        return 0;
    }
    return format.writeImage(command.outputPath, picture.width, picture.height, otherPixelLayout(picture.width, picture.height, picture.rgba), reason);
}

}  // namespace cubrik
