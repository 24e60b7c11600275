#include "app/view_gestures.h"

#include "render/camera.h"

namespace cubrik {
namespace {

void endBothGestures(App& app) {
    app.flags.strokeActive = 0;
    app.gestures.rotateActive = 0;
    app.platform.releaseMouse();
}

}  // namespace

void rightPress(App& app, int x, int y) {
    if (app.flags.strokeActive) {  // the left button's gesture excludes this one
        app.gestures.rotateActive = 0;
        return;
    }
    app.gestures.rotateActive = 1;
    app.platform.captureMouse();
    if (x < kPanelWidth) {
        app.gestures.panelGesture = 1;
        return;
    }
    if (!app.gestures.panelGesture)
        beginRotation(app.model(), x, y, app.window.clientWidth, app.window.clientHeight, app.platform.shiftDown());
}

void rightRelease(App& app) {
    if (app.gestures.rotateActive) {
        if (!app.gestures.panelGesture) endRotation(app.model());
        app.gestures.panelGesture = 0;
    }
    if (app.flags.strokeActive) return;
    endBothGestures(app);
}

void mouseMove(App& app, int x, int y) {
    if (app.gestures.rotateActive && !app.gestures.panelGesture && x >= 0)
        rotateTo(app.model(), x, y, app.window.clientWidth, app.window.clientHeight);
}

}  // namespace cubrik
