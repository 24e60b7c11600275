#include "app/commands/strokes.h"

#include <algorithm>

#include "app/commands/frame.h"
#include "edit/stroke.h"
#include "edit/tool_table.h"
#include "panel/panel_layout.h"
#include "render/pick_pass.h"
#include "render/view.h"

namespace cubrik {
namespace {

StrokeTarget strokeTargetOf(App& app) {
    return {{app.model(), app.edit, app.editing, app.window.clientHeight, app.mirror, visibleSlab(app.view.cut)},
            app.toolKernels, app.history, app.flags};
}

// The pixels a tool may decode around a stroke segment: every brush stays
// within 1.1 brush radii of its points, and a swept band within two pixels
// more.
PixelBox brushArea(const App& app, int x0, int y0, int x1, int y1) {
    const int reach = static_cast<int>(1.1 * app.store.model->brushRadiusPx) + 3;
    return {std::min(x0, x1) - reach, std::min(y0, y1) - reach, std::max(x0, x1) + reach, std::max(y0, y1) + reach};
}

// Fetched round a stroke's start, and beside and behind its steps: all a
// step fetches round itself in a small window, but not growing with the
// brush, which grows with the window, so that a dab in a large window does
// not draw and copy a large part of it.
constexpr int kStartMargin = 2 * kPickBlock;

// Fetched ahead of what a step needs, so that the next steps find their
// pixels there: a few brush widths, as far as a stroke tends to go in a few
// frames.
int fetchMargin(const App& app) {
    return std::max(kStartMargin, static_cast<int>(6 * app.store.model->brushRadiusPx));
}

// Only the reads the current tool decodes: the other buffer may hold an
// earlier stroke's read that nothing needs drawn. A stroke goes on the way it
// moved, so the margin lies ahead of it.
void prefetchBrushArea(App& app, int x0, int y0, int x1, int y1) {
    const StrokePicks picks = toolInfo(app.edit.currentTool).picks;
    if (picks == StrokePicks::None) return;
    const PixelBox area = brushArea(app, x0, y0, x1, y1);
    const int ahead = fetchMargin(app);
    const PixelBox around{area.left - (x1 < x0 ? ahead : kStartMargin), area.top - (y1 < y0 ? ahead : kStartMargin),
                          area.right + (x1 > x0 ? ahead : kStartMargin),
                          area.bottom + (y1 > y0 ? ahead : kStartMargin)};
    prefetchPick(app.editing.currentPick, area, around);
    if (picks == StrokePicks::SolidThenEmpty) prefetchPick(app.editing.previousPick, area, around);
}

}  // namespace

void startStroke(App& app, int x, int y) {
    GlCurrent current(app.platform);
    StrokeTarget stroke = strokeTargetOf(app);
    bool kept = false;  // one pass kept serves both reads of a Smoothing stroke
    const PickReader readPick = [&](PickMode mode) {
        if (!kept && !keepPickPass(app.renderer, viewInputsOf(app), app.editing.previousPick)) return 0;
        kept = true;
        if (!startKeptPickRead(app.renderer, mode, app.editing.currentPick)) return 0;
        prefetchPick(app.editing.currentPick, brushArea(app, x, y, x, y), kStartMargin);
        return 1;
    };
    if (beginStroke(stroke, x, y, readPick)) app.flags.modelModified = 1;
}

void stepStroke(App& app, int x, int y, bool forced) {
    GlCurrent current(app.platform);
    prefetchBrushArea(app, app.model().lastStrokeX, app.model().lastStrokeY, x, y);
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
    if (!renderPickRegion(app.renderer, view, PickMode::Solid, {x, y, x, y})) return -1;
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
