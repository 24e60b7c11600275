#include "app/cli/path_traced_render.h"

#include <algorithm>

#include "app/cli/interrupt_flag.h"
#include "app/cli/terminal_progress.h"
#include "trace/path_tracer.h"

namespace cubrik {
namespace {

// Top-to-bottom RGBA to the bottom-to-top BGRA the image writers take.
std::vector<std::uint8_t> bgraBottomUp(const TraceImage& picture) {
    std::vector<std::uint8_t> out(picture.rgba.size());
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(picture.width);
    for (int row = 0; row < picture.height; ++row) {
        const std::uint8_t* from = picture.rgba.data() + row * rowBytes;
        std::uint8_t* to = out.data() + (picture.height - 1 - row) * rowBytes;
        for (std::size_t i = 0; i < rowBytes; i += 4) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
            to[i + 3] = from[i + 3];
        }
    }
    return out;
}

}  // namespace

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
    return format.writeImage(command.outputPath, picture.width, picture.height, bgraBottomUp(picture), reason);
}

}  // namespace cubrik
