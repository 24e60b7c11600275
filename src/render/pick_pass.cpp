#include "render/pick_pass.h"

#include <epoxy/gl.h>

#include <string>

#include "render/renderer.h"
#include "render/view.h"

namespace cubrik {
namespace {

// Limits drawing and clearing to a box of the window until the scope ends.
struct ScissorScope {
    GLboolean wasEnabled;
    GLint previous[4];

    ScissorScope(const PixelBox& box, int clientHeight) : wasEnabled(glIsEnabled(GL_SCISSOR_TEST)) {
        glGetIntegerv(GL_SCISSOR_BOX, previous);
        glEnable(GL_SCISSOR_TEST);
        glScissor(box.left, clientHeight - 1 - box.bottom, box.right - box.left + 1, box.bottom - box.top + 1);
    }
    ~ScissorScope() {
        glScissor(previous[0], previous[1], previous[2], previous[3]);
        if (!wasEnabled) glDisable(GL_SCISSOR_TEST);
    }
    ScissorScope(const ScissorScope&) = delete;
    ScissorScope& operator=(const ScissorScope&) = delete;
};

}  // namespace

int readPickBuffer(const OffscreenTarget& target, PickBuffer& buffer, int width, int height) {
    if (!preparePickBuffer(buffer, width, height)) return 0;
    readOffscreenPixels(target, 0, 0, width, height, buffer.pixels.get());
    return 1;
}

int readPickPixel(const OffscreenTarget& target, int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return -1;
    std::uint8_t rgba[4];
    readOffscreenPixels(target, x, height - 1 - y, 1, 1, rgba);
    return decodePickColour(rgba);
}

void readPickRegion(const OffscreenTarget& target, const PickBuffer& buffer, const PixelBox& box) {
    const int bottomRow = buffer.height - 1 - box.bottom;  // frame-buffer rows count from the bottom
    std::uint8_t* first = buffer.pixels.get() + 4 * (static_cast<std::size_t>(bottomRow) * buffer.width +
                                                     static_cast<std::size_t>(box.left));
    readOffscreenPixels(target, box.left, bottomRow, box.right - box.left + 1, box.bottom - box.top + 1, first,
                        buffer.width);
}

int capturePickProjection(Renderer& renderer, const ViewInputs& view, PickProjection& projection) {
    std::string reason;
    if (!ensureOffscreenTarget(renderer.offscreen, view.clientWidth, view.clientHeight, reason)) return 0;
    OffscreenBinding binding(renderer.offscreen);
    setUpViewDrawing(view);
    glGetDoublev(GL_PROJECTION_MATRIX, projection.projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, projection.modelview);
    glGetIntegerv(GL_VIEWPORT, projection.viewport);
    projection.clientHeight = view.clientHeight;
    glDisable(GL_DEPTH_TEST);
    loadOverlayMatrices(view.clientWidth, view.clientHeight);
    return 1;
}

int renderPickFaces(Renderer& renderer, const PickProjection& projection, int clientWidth, const PixelBox& box,
                    const std::function<void()>& emitFaces) {
    std::string reason;
    const int clientHeight = projection.clientHeight;
    if (!ensureOffscreenTarget(renderer.offscreen, clientWidth, clientHeight, reason)) return 0;
    OffscreenBinding binding(renderer.offscreen);
    {
        const ScissorScope scissor(box, clientHeight);
        clearView(0xffffff);  // white names no cell
        // What setUpViewDrawing loads, as it was read back.
        glViewport(projection.viewport[0], projection.viewport[1], projection.viewport[2], projection.viewport[3]);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(projection.projection);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(projection.modelview);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);  // pick colours must reach the target unchanged
        emitFaces();
        glDisable(GL_DEPTH_TEST);
        loadOverlayMatrices(clientWidth, clientHeight);
    }
    glFinish();
    return 1;
}

int renderPickRegion(Renderer& renderer, const ViewInputs& view, PickMode mode, const PixelBox& box) {
    PickProjection projection;
    if (!capturePickProjection(renderer, view, projection)) return 0;
    return renderPickFaces(renderer, projection, view.clientWidth, box,
                           [&] { emitPickFaces(renderer, view, mode); });
}

}  // namespace cubrik
