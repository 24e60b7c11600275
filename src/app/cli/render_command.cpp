#include "app/cli/render_command.h"

#include "app/cli/file_conversion.h"
#include "app/cli/path_traced_render.h"
#include "formats/file_format.h"
#include "model/edit_state.h"
#include "model/model_file.h"
#include "render/camera.h"
#include "render/export_image.h"
#include "render/headless_context.h"
#include "render/renderer.h"

namespace cubrik {

int renderModelImage(const CommandLine& command, std::string& reason) {
    const FileFormat* format = formatOf(command.outputPath);
    if (format == nullptr || !isImage(*format)) {
        reason = command.outputPath + ": unknown image type (use " + extensionList(isImage, ", ", " or ") + ")";
        return 0;
    }
    ModelStore store;
    if (!loadModelInto(command.modelPath, store, reason)) return 0;
    presetView(*store.model, command.view);
    EditState edit;
    edit.currentMaterial = Material::A;
    edit.alsoShownMaterial = Material::B;
    if (command.pathTraced) return writePathTracedImage(command, *format, *store.model, edit, reason);

    HeadlessGlContext gl;
    if (!createHeadlessGlContext(gl, reason)) return 0;
    Renderer renderer;
    if (!chooseRenderer(renderer)) {
        reason = "out of memory";
        return 0;
    }
    enableBackFaceCulling();
    ViewInputs view{store, edit};
    view.smoothDisplay = !command.flat;
    view.zoomed = command.zoomed;
    view.camera.orthographic = command.orthographic;
    view.clientWidth = command.width;
    view.clientHeight = command.height;
    view.backgroundColor = command.backgroundColor;
    view.cut = command.cut;
    view.occlusion = command.occlusion;
    view.cellEdges = command.cellEdges;
    const int rendered = renderExportImage(renderer, view, reason);
    releaseRenderer(renderer);
    // The drawing's memory (the offscreen target, the driver's own) is given
    // back before the encoder needs its share.
    destroyHeadlessGlContext(gl);
    if (!rendered) {
        reason = command.modelPath + ": " + reason;
        return 0;
    }
    return format->writeImage(command.outputPath, renderer.exportWidth, renderer.exportHeight, renderer.exportPixels, reason);
}

}  // namespace cubrik
