#include "render/turntable_view.h"

#include <cstring>

#include "render/camera.h"
#include "render/view.h"

namespace cubrik {

TurntableView::~TurntableView() {
    if (rendererMade) releaseRenderer(renderer);
    destroyHeadlessGlContext(gl);
}

int openTurntableView(TurntableView& turntable, std::string& reason) {
    if (!createHeadlessGlContext(turntable.gl, reason)) return 0;
    if (!chooseRenderer(turntable.renderer)) {
        reason = "out of memory";
        return 0;
    }
    turntable.rendererMade = true;
    enableBackFaceCulling();
    return 1;
}

int drawTurntableFrame(TurntableView& turntable, const ViewInputs& view, double degrees, std::uint8_t* rgb,
                       std::string& reason) {
    VoxelModel& model = *view.store.model;
    presetView(model, kFrontView);  // the identity: the front view is the turn's start
    rotationMatrix(degrees, 0.0, 1.0, 0.0, model.rotation);
    const int width = view.clientWidth - kViewLeft, height = view.clientHeight;
    Renderer& renderer = turntable.renderer;
    if (!ensureOffscreenTarget(renderer.offscreen, view.clientWidth, view.clientHeight, reason)) return 0;
    turntable.rgba.resize(4 * static_cast<std::size_t>(width) * height);
    {
        OffscreenBinding binding(renderer.offscreen);
        clearView(view.backgroundColor);
        setUpViewDrawing(view);
        drawModel(renderer, view);
        readOffscreenPixels(renderer.offscreen, kViewLeft, 0, width, height, turntable.rgba.data());
    }
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = turntable.rgba.data() + 4 * static_cast<std::size_t>(height - 1 - row) * width;
        std::uint8_t* to = rgb + 3 * static_cast<std::size_t>(row) * width;
        for (int column = 0; column < width; ++column) std::memcpy(to + 3 * column, from + 4 * column, 3);
    }
    return 1;
}

}  // namespace cubrik
