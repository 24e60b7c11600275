#include "app/strokes.h"

#include "app/frame.h"
#include "edit/stroke.h"
#include "panel/panel_layout.h"
#include "render/pick_pass.h"
#include "render/view.h"

namespace cubrik {
namespace {

StrokeTarget strokeTargetOf(App& app) {
    return {{app.model(), app.edit, app.editing, app.window.clientHeight, app.mirror, visibleSlab(app.view.cut)},
            app.toolKernels, app.history, app.flags};
}

}  // namespace

void startStroke(App& app, int x, int y) {
    GlCurrent current(app.platform);
    StrokeTarget stroke = strokeTargetOf(app);
    const PickReader readPick = [&app](PickMode mode) {
        const ViewInputs view = viewInputsOf(app);
        return renderPickPass(app.renderer, view, mode) &&
               readPickBuffer(app.renderer.offscreen, app.editing.currentPick, view.clientWidth, view.clientHeight);
    };
    if (beginStroke(stroke, x, y, readPick)) app.flags.modelModified = 1;
}

void stepStroke(App& app, int x, int y, bool forced) {
    StrokeTarget stroke = strokeTargetOf(app);
    if (continueStroke(stroke, x, y, forced)) app.flags.modelModified = 1;
}

void forcedStrokeStep(App& app) {
    if (!app.gestures.panelGesture && app.gestures.strokeActive && !app.gestures.boxSelecting)
        stepStroke(app, app.window.mouseX, app.window.mouseY, true);
}

int visibleCellAt(App& app, int x, int y) {
    if (x < kPanelWidth) return -1;
    const GlCurrent current(app.platform);
    const ViewInputs view = viewInputsOf(app);
    if (!renderPickPass(app.renderer, view, PickMode::Solid)) return -1;
    return readPickPixel(app.renderer.offscreen, x, y, view.clientWidth, view.clientHeight);
}

void pickColourAtCursor(App& app, int x, int y) {
    const int cell = visibleCellAt(app, x, y);
    if (cell < 0) return;
    const int code = app.model().cells[cell];
    const int entry = code - firstCodeOf(app.edit.currentMaterial);
    if (entry < 0 || entry >= kPaletteSize) return;
    if (locksOf(app.model(), app.edit.currentMaterial)[entry] || app.edit.currentSlot == entry + kFirstSlot) return;
    pushUndo(app.history, app.model(), app.edit, app.flags);
    app.edit.currentSlot = entry + kFirstSlot;
}

}  // namespace cubrik
