#include "app/commands/frame.h"

#include "app/commands/box_commands.h"
#include "edit/tool_table.h"
#include "render/camera.h"
#include "render/view.h"

namespace cubrik {

ViewInputs viewInputsOf(App& app) {
    ViewInputs inputs{app.store, app.edit};
    inputs.smoothDisplay = app.toggles.smoothDisplay != 0;
    inputs.zoomed = app.toggles.zoomed != 0;
    inputs.rotateActive = app.gestures.rotateActive != 0;
    inputs.panelGesture = app.gestures.panelGesture != 0;
    inputs.clientWidth = app.window.clientWidth;
    inputs.clientHeight = app.window.clientHeight;
    inputs.backgroundColor = static_cast<std::uint32_t>(app.settings.backgroundColor);
    if (const std::optional<ClientPoint> cursor = app.platform.cursorPosition()) {
        inputs.cursorKnown = true;
        inputs.cursorX = cursor->x;
        inputs.cursorY = cursor->y;
    }
    inputs.squareOutline = toolInfo(app.edit.currentTool).squareOutline;
    inputs.mirror = app.mirror;
    inputs.selection = shownSelection(app);
    inputs.pickedCorners = pickedCorners(app);
    inputs.camera = app.view.camera;
    inputs.reference = app.view.reference ? &*app.view.reference : nullptr;
    inputs.referenceOpacity = static_cast<float>(app.settings.referenceOpacity) / 100.0f;
    inputs.floorGrid = app.view.floorGrid;
    inputs.occlusion = app.view.occlusion;
    inputs.cellEdges = app.view.cellEdges;
    inputs.cut = app.view.cut;
    return inputs;
}

void paint(App& app, int clientWidth, int clientHeight, const DeviceFrame& device) {
    app.gestures.stepSincePaint = 0;
    if (app.window.lastMessage == MessageType::Paint) return;  // drawn already, nothing changed since
    app.window.clientWidth = clientWidth;
    app.window.clientHeight = clientHeight;
    drawFrame(app, device);
}

void drawFrame(App& app, const DeviceFrame& device) {
    app.window.compactPanel = app.window.clientHeight < 640;
    const ViewInputs inputs = viewInputsOf(app);
    clearView(inputs.backgroundColor);
    if (inputs.clientWidth > kViewLeft && inputs.clientHeight > 0) {
        if (device.scaled()) setDeviceViewport(device, kViewLeft);
        else setViewViewport(inputs.clientWidth, inputs.clientHeight);
        ViewInputs view = inputs;
        // Select mode's pointer is a cross and cell mode's a cell outline: no brush there.
        view.cursorKnown = inputs.cursorKnown && !app.selection.selectMode && !app.cellMode.active;
        view.device = device;
        drawView(app.renderer, view);
    }
    if (inputs.clientWidth > 0 && inputs.clientHeight > 0) {
        const PanelScene panel{app.model(),         app.edit,           app.panel,
                               app.panelColours,    app.panelTexture,   inputs.clientWidth,
                               inputs.clientHeight, app.window.compactPanel != 0,
                               inputs.cursorKnown,  inputs.cursorX,     inputs.cursorY,
                               device};
        drawPanel(panel);
    }
    if (app.flags.undoMenuStale) {
        app.platform.setMenuEnabled(command::kUndo, canUndo(app.history));
        app.platform.setMenuEnabled(command::kRedo, canRedo(app.history));
        app.flags.undoMenuStale = 0;
    }
}

}  // namespace cubrik
