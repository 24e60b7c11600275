#include "app/commands/camera_commands.h"

#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "edit/box_edit.h"
#include "formats/image/picture_file.h"
#include "render/backdrop.h"
#include "render/camera.h"

namespace cubrik {
namespace {

// A texture of this size is enough for a picture that covers at most the window.
constexpr int kLargestReferenceSide = 2048;

void frame(App& app, const CellBox& box) {
    // Cell i spans [i - 50, i - 49] in model units.
    double low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = box.min[axis] - 50.0;
        high[axis] = box.max[axis] - 49.0;
    }
    app.view.camera = frameBox(low, high, app.model().rotation, app.window.clientWidth, app.window.clientHeight,
                               app.toggles.zoomed != 0, app.view.camera.orthographic);
}

// The grid's middle at 100 %, in the projection chosen.
void resetCamera(App& app) { app.view.camera = ViewCamera{.orthographic = app.view.camera.orthographic}; }

void setOrthographic(App& app, bool on) {
    app.view.camera.orthographic = on;
    app.settings.orthographic = on ? 1 : 0;
    app.platform.setMenuChecked(command::kOrthographic, on);
}

// A View switch: the view, the setting kept for the next run and the menu's mark.
void toggleLook(App& app, int command, bool& shown, std::int32_t& setting) {
    shown = !shown;
    setting = shown ? 1 : 0;
    app.platform.setMenuChecked(command, shown);
}

void showReferenceMenuState(App& app) {
    app.platform.setMenuEnabled(command::kHideReference, app.view.reference.has_value());
}

void openReferencePicture(App& app) {
    const UiStrings& text = app.strings();
    const std::optional<std::string> chosen =
        askForFile(app, false, {text.pictureTitle, text.pictureFilters, app.document.lastFolder, "", ""});
    if (!chosen) return;
    Picture picture;
    std::string reason;
    if (!readPicture(*chosen, kLargestReferenceSide, picture, reason)) {
        reportFailure(app, fillIn(text.cannotOpenPicture, *chosen), reason);
        return;
    }
    const std::uint32_t serial = app.view.reference ? app.view.reference->serial + 1 : 1;
    ReferencePicture& reference = app.view.reference.emplace();
    reference.width = picture.width;
    reference.height = picture.height;
    reference.rgba = std::move(picture.rgba);
    reference.serial = serial;
    placeOnFarFace(reference, app.model().rotation);
    showReferenceMenuState(app);
}

}  // namespace

bool zoomAtPointer(App& app, int delta) {
    if (app.gestures.strokeActive || app.gestures.rotateActive) return false;
    const std::optional<ClientPoint> pointer = app.platform.cursorPosition();
    const ClientPoint at = pointer ? *pointer : ClientPoint{app.window.mouseX, app.window.mouseY};
    return zoomAbout(app.view.camera, app.model().rotation, app.window.clientWidth, app.window.clientHeight,
                     app.toggles.zoomed != 0, at.x, at.y, delta);
}

void beginPan(App& app, int x, int y) {
    PanStart& start = app.view.pan.emplace();
    std::copy(std::begin(app.view.camera.pivot), std::end(app.view.camera.pivot), start.pivot);
    start.x = x;
    start.y = y;
}

void panTo(App& app, int x, int y) {
    const PanStart& start = *app.view.pan;
    panFrom(app.view.camera, start.pivot, app.model().rotation, app.window.clientHeight, app.toggles.zoomed != 0,
            x - start.x, y - start.y);
}

void runCameraCommand(App& app, int command) {
    switch (command) {
    case command::kFrameModel:
        endGestures(app);
        if (const std::optional<CellBox> filled = filledBounds(app.model(), kWholeGrid)) frame(app, *filled);
        else resetCamera(app);
        break;
    case command::kFrameSelection:
        endGestures(app);
        if (app.selection.box) frame(app, *app.selection.box);
        else setStatusNote(app, app.strings().nothingToFrame);
        break;
    case command::kResetCamera:
        endGestures(app);
        resetCamera(app);
        break;
    case command::kOrthographic:
        // A stroke or drag under way ends first: it measured the view as it was.
        endGestures(app);
        setOrthographic(app, !app.view.camera.orthographic);
        break;
    case command::kReferencePicture: openReferencePicture(app); break;
    case command::kHideReference:
        app.view.reference.reset();
        showReferenceMenuState(app);
        break;
    case command::kFloorGrid: toggleLook(app, command, app.view.floorGrid, app.settings.floorGrid); break;
    case command::kAmbientOcclusion:
        toggleLook(app, command, app.view.occlusion, app.settings.ambientOcclusion);
        break;
    case command::kCellEdges: toggleLook(app, command, app.view.cellEdges, app.settings.cellEdges); break;
    default: break;
    }
}

void restoreViewSettings(App& app) {
    app.view.floorGrid = app.settings.floorGrid == 1;
    app.view.occlusion = app.settings.ambientOcclusion == 1;
    app.view.cellEdges = app.settings.cellEdges == 1;
    app.platform.setMenuChecked(command::kFloorGrid, app.view.floorGrid);
    app.platform.setMenuChecked(command::kAmbientOcclusion, app.view.occlusion);
    app.platform.setMenuChecked(command::kCellEdges, app.view.cellEdges);
    setOrthographic(app, app.settings.orthographic == 1);
    showReferenceMenuState(app);
}

}  // namespace cubrik
