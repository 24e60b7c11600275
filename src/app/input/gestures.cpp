#include "app/input/gestures.h"

#include "app/commands/box_commands.h"
#include "app/commands/camera_commands.h"
#include "app/commands/cell_mode.h"
#include "app/commands/panel_commands.h"
#include "app/commands/strokes.h"
#include "panel/panel_layout.h"
#include "render/camera.h"

namespace cubrik {
namespace {

// A button's press: while the other button's gesture goes on it is refused
// (and its own flag cleared); otherwise its gesture starts and the window
// takes the mouse.
bool startGesture(App& app, std::int32_t& own, std::int32_t other) {
    if (other) {
        own = 0;
        return false;
    }
    own = 1;
    app.platform.captureMouse();
    return true;
}

}  // namespace

void leftPress(App& app, int x, int y) {
    if (!startGesture(app, app.gestures.strokeActive, app.gestures.rotateActive)) return;
    if (panelClick(panelTargetOf(app), x, y)) {
        app.gestures.panelGesture = 1;
        if (isToolButton(panelItemAt(x, y, app.window.compactPanel != 0))) {
            leaveSelectMode(app);
            leaveCellMode(app);
        }
        return;
    }
    if (app.gestures.panelGesture) return;
    if (app.selection.selectMode) beginBoxSelection(app, x, y);
    else if (app.cellMode.active) beginCellDrag(app, x, y);
    else startStroke(app, x, y);
}

void leftDoubleClick(App& app, int x, int y) {
    if (app.gestures.rotateActive) return;
    app.gestures.strokeActive = 1;
    app.platform.captureMouse();
    const int item = panelItemAt(x, y, app.window.compactPanel != 0);
    if (x < kPanelWidth && item == kNoItem) {
        app.gestures.panelGesture = 0;
        endGestures(app);
        return;
    }
    if (x < kPanelWidth && isSlot(item) && item == app.edit.currentSlot) {
        editSlotColour(app, item);
        app.gestures.panelGesture = 0;
        return;
    }
    if (!app.gestures.panelGesture) leftPress(app, x, y);
}

void rightPress(App& app, int x, int y) {
    if (!startGesture(app, app.gestures.rotateActive, app.gestures.strokeActive)) return;
    if (x < kPanelWidth) {
        const int item = panelItemAt(x, y, app.window.compactPanel != 0);
        if (isSlot(item)) toggleColourLock(panelTargetOf(app), item);
        app.gestures.panelGesture = 1;
        return;
    }
    if (app.gestures.panelGesture) return;
    if (app.platform.ctrlDown()) beginPan(app, x, y);
    else beginRotation(app.model(), x, y, app.window.clientWidth, app.window.clientHeight, app.platform.shiftDown());
}

void mouseMove(App& app, int x, int y) {
    if (app.gestures.strokeActive) {
        if (app.gestures.panelGesture) {
            panelDragUpdate(app.panel);
        } else if (app.gestures.boxSelecting) {
            dragBoxSelection(app, x, y);
        } else if (app.gestures.cellDragging) {
            continueCellDrag(app, x, y);
        } else if (!app.gestures.stepSincePaint) {  // a stroke advances at most once a frame
            app.gestures.stepSincePaint = 1;
            stepStroke(app, x, y, false);
        }
        return;
    }
    if (app.gestures.rotateActive) {
        if (app.gestures.panelGesture || x < 0) return;
        if (app.view.pan) panTo(app, x, y);
        else rotateTo(app.model(), x, y, app.window.clientWidth, app.window.clientHeight);
        return;
    }
    panelHoverUpdate(panelTargetOf(app), x, y);
}

void leftRelease(App& app, int x, int y) {
    if (app.gestures.strokeActive) {
        if (app.gestures.panelGesture) panelDrop(panelTargetOf(app), x, y);
        else endBoxSelection(app, x, y);
        endCellDrag(app);
        app.gestures.panelGesture = 0;
    }
    if (app.gestures.rotateActive) return;  // the right button's gesture keeps the capture
    endGestures(app);
}

void rightRelease(App& app) {
    if (app.gestures.rotateActive) {
        if (app.view.pan) app.view.pan.reset();
        else if (!app.gestures.panelGesture) endRotation(app.model());
        app.gestures.panelGesture = 0;
    }
    if (app.gestures.strokeActive) return;  // the left button's gesture keeps the capture
    endGestures(app);
}

}  // namespace cubrik
