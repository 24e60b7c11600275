#include "app/state/app.h"

namespace cubrik {

void endGestures(App& app) {
    app.gestures.strokeActive = 0;
    app.gestures.boxSelecting = 0;
    app.gestures.cellDragging = 0;
    app.gestures.rotateActive = 0;
    app.view.pan.reset();
    app.platform.releaseMouse();
}

void releaseGlResources(App& app) {
    releaseRenderer(app.renderer);
    releasePanelTexture(app.panelTexture);
}

int shutDown(App& app, std::string& reason) { return writeSettings(app.paths.settingsFolder, app.settings, reason); }

}  // namespace cubrik
