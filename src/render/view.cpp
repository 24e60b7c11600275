#include "render/view.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <utility>

#include "render/backdrop.h"
#include "render/brush_cursor.h"
#include "render/camera.h"
#include "render/pick_pass.h"

namespace cubrik {
namespace {

// The box drawn round the grid while the user turns the model: the four edges
// along z, then the four along y, then the four along x.
void drawGridBox() {
    const double e = 50.1;
    const double sides[2] = {-e, e};
    glColor3f(0.8f, 0.8f, 0.8f);
    glBegin(GL_LINES);
    for (double a : sides)
        for (double b : sides) {
            glVertex3d(a, b, -e);
            glVertex3d(a, b, e);
        }
    for (double a : sides)
        for (double b : sides) {
            glVertex3d(a, -e, b);
            glVertex3d(a, e, b);
        }
    for (double a : sides)
        for (double b : sides) {
            glVertex3d(-e, a, b);
            glVertex3d(e, a, b);
        }
    glEnd();
}

// The outline of each enabled mirror plane across the grid, in the plane's
// colour: x red, y green, z blue.
void drawMirrorPlanes(const MirrorPlanes& mirror) {
    constexpr float kColours[3][3] = {{0.9f, 0.25f, 0.25f}, {0.25f, 0.8f, 0.25f}, {0.3f, 0.45f, 1.0f}};
    const double e = 50.0;  // the grid's faces, just inside the box's edges
    for (int axis = 0; axis < 3; ++axis) {
        if (!mirror.enabled[axis]) continue;
        // Cell i spans [i - 50, i - 49]; the plane of position P lies at (P + 1) / 2 - 50.
        const double at = (mirror.position[axis] + 1) / 2.0 - 50.0;
        const double corners[4][2] = {{-e, -e}, {e, -e}, {e, e}, {-e, e}};
        glColor3fv(kColours[axis]);
        glBegin(GL_LINE_LOOP);
        for (const auto& corner : corners) {
            double point[3];
            point[axis] = at;
            point[(axis + 1) % 3] = corner[0];
            point[(axis + 2) % 3] = corner[1];
            glVertex3dv(point);
        }
        glEnd();
    }
}

// The cut-away's plane: a dashed outline across the grid where the cells in
// view end (both faces of a single layer), white over dark dashes so that it
// reads on any background and never looks like a mirror plane.
void drawCutPlane(const CutAway& cut) {
    // Cell i spans [i - 50, i - 49]; a little outside the grid's faces, as the box is.
    const double e = 50.1;
    const double corners[4][2] = {{-e, -e}, {e, -e}, {e, e}, {-e, e}};
    double faces[2];
    int count = 0;
    if (cut.layerOnly || !cut.keepLow) faces[count++] = cut.plane - 50.0;
    if (cut.layerOnly || cut.keepLow) faces[count++] = cut.plane - 49.0;
    glEnable(GL_LINE_STIPPLE);
    for (int k = 0; k < count; ++k)
        for (const auto& [pattern, grey] : {std::pair<GLushort, float>{0x0f0f, 0.15f}, {0xf0f0, 1.0f}}) {
            glLineStipple(3, pattern);
            glColor3f(grey, grey, grey);
            glBegin(GL_LINE_LOOP);
            for (const auto& corner : corners) {
                double point[3];
                point[cut.axis] = faces[k];
                point[(cut.axis + 1) % 3] = corner[0];
                point[(cut.axis + 2) % 3] = corner[1];
                glVertex3dv(point);
            }
            glEnd();
        }
    glDisable(GL_LINE_STIPPLE);
}

// The twelve edges round a box's cells, in `colour` (red, green, blue): the
// selection in amber, the cells a box drag picks in cyan.
void drawBoxOutline(const CellBox& box, const std::array<float, 3>& colour) {
    // Cell i spans [i - 50, i - 49]; a little outside, so the faces do not hide the edges.
    double low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = box.min[axis] - 50.0 - 0.05;
        high[axis] = box.max[axis] - 49.0 + 0.05;
    }
    glColor3f(colour[0], colour[1], colour[2]);
    glBegin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
        for (int corner = 0; corner < 4; ++corner) {
            double point[3];
            point[u] = corner & 1 ? high[u] : low[u];
            point[v] = corner & 2 ? high[v] : low[v];
            point[axis] = low[axis];
            glVertex3dv(point);
            point[axis] = high[axis];
            glVertex3dv(point);
        }
    }
    glEnd();
}

}  // namespace

void loadOverlayMatrices(int clientWidth, int clientHeight) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (clientWidth > kViewLeft && clientHeight > 0)
        glOrtho(kViewLeft - 0.5, clientWidth - 0.5, clientHeight - 0.5, -0.5, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

namespace {

// On a finer framebuffer, the projection just loaded for the client's pixels
// is fitted to the device's, so what is drawn lands where it is picked.
void fitToDevice(const ViewInputs& view) {
    if (view.device.scaled()) scaleProjectionToDevice(view.device, view.clientWidth, view.clientHeight, kViewLeft);
}

}  // namespace

void clearView(std::uint32_t backgroundColor) {
    glClearColor(static_cast<float>(backgroundColor & 0xff) / 255.0f,
                 static_cast<float>((backgroundColor >> 8) & 0xff) / 255.0f,
                 static_cast<float>((backgroundColor >> 16) & 0xff) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void setViewViewport(int clientWidth, int clientHeight) {
    glViewport(kViewLeft, 0, std::max(0, clientWidth - kViewLeft), std::max(0, clientHeight));
}

void loadViewMatrices(const double (&projection)[16], const double (&rotation)[16]) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(rotation);
}

void drawView(Renderer& renderer, const ViewInputs& view) {
    VoxelModel& model = *view.store.model;
    // Picking unprojects client pixels, whatever the framebuffer's are.
    const int viewport[4] = {kViewLeft, 0, std::max(0, view.clientWidth - kViewLeft), std::max(0, view.clientHeight)};
    std::copy(std::begin(viewport), std::end(viewport), model.viewport);
    glEnable(GL_DEPTH_TEST);
    viewProjection(view.clientWidth, view.clientHeight, view.zoomed, view.camera, model.rotation, model.projection);
    loadViewMatrices(model.projection, model.rotation);
    fitToDevice(view);
    glLineWidth(view.device.lineWidth());
    glDisable(GL_TEXTURE_2D);  // the panel draws textured
    if (view.reference) drawReferencePicture(renderer.referenceTexture, *view.reference, view.referenceOpacity);
    if (view.floorGrid) drawFloorGrid();
    if (view.rotateActive && !view.panelGesture) drawGridBox();
    if (view.mirror.any()) drawMirrorPlanes(view.mirror);
    if (view.cut.on) drawCutPlane(view.cut);
    if (view.selection) drawBoxOutline(*view.selection, {1.0f, 0.75f, 0.1f});
    for (const std::optional<std::array<int, 3>>& cell : view.pickedCorners)
        if (cell) drawBoxOutline(boxSpanning(*cell, *cell), {0.2f, 0.9f, 1.0f});
    drawModel(renderer, view);
    glDisable(GL_DEPTH_TEST);
    loadOverlayMatrices(view.clientWidth, view.clientHeight);
    fitToDevice(view);
    model.brushRadiusPx =
        brushRadiusFor(view.clientHeight, view.zoomed, model.brushSize, zoomFactor(view.camera.zoomStep));
    if (view.cursorKnown)
        drawBrushCursor(model.brushRadiusPx, view.squareOutline, model.brushSize, view.cursorX, view.cursorY);
    glLineWidth(1.0f);
}

void setUpViewDrawing(const ViewInputs& view) {
    setViewViewport(view.clientWidth, view.clientHeight);
    glEnable(GL_DEPTH_TEST);
    double projection[16];
    const double (&rotation)[16] = view.store.model->rotation;
    viewProjection(view.clientWidth, view.clientHeight, view.zoomed, view.camera, rotation, projection);
    loadViewMatrices(projection, rotation);
    glDisable(GL_TEXTURE_2D);
}

int renderPickPass(Renderer& renderer, const ViewInputs& view, PickMode mode) {
    return renderPickRegion(renderer, view, mode, {0, 0, view.clientWidth - 1, view.clientHeight - 1});
}

}  // namespace cubrik
