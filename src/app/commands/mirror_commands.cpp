#include "app/commands/mirror_commands.h"

#include "app/commands/strokes.h"
#include "app/commands/window_status.h"
#include "edit/box_edit.h"

namespace cubrik {
namespace {

std::int32_t* positionSettingOf(Settings& settings, int axis) {
    std::int32_t* positions[3] = {&settings.mirrorX, &settings.mirrorY, &settings.mirrorZ};
    return positions[axis];
}

// The settings follow every change, so the next run starts with these planes.
void showMirrorPlanes(App& app) {
    app.settings.mirrorPlanes = 0;
    for (int axis = 0; axis < 3; ++axis) {
        app.platform.setMenuChecked(command::kMirrorX + axis, app.mirror.enabled[axis]);
        if (app.mirror.enabled[axis]) app.settings.mirrorPlanes |= 1 << axis;
        *positionSettingOf(app.settings, axis) = app.mirror.position[axis];
    }
}

// All three planes through the centre of the visible cell under the pointer.
void movePlanesToCursor(App& app) {
    const std::optional<ClientPoint> cursor = app.platform.commandPointer();
    const int cell = cursor ? visibleCellAt(app, cursor->x, cursor->y) : -1;
    if (cell < 0) {
        setStatusNote(app, app.strings().noCellUnderPointer);
        return;
    }
    const int coordinate[3] = {cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize)};
    for (int axis = 0; axis < 3; ++axis) app.mirror.position[axis] = 2 * coordinate[axis];
}

// A plane position (twice the coordinate) as the status bar writes it: "30" or "49.5".
std::string planeCoordinate(int position) {
    return std::to_string(position / 2) + (position % 2 != 0 ? ".5" : "");
}

// Each plane through the middle of the filled cells' bounds along its axis:
// cell i mirrors to min + max − i, so an even width puts it between two cells.
void movePlanesToModelCentre(App& app) {
    const std::optional<CellBox> bounds = filledBounds(app.model(), kWholeGrid);
    if (!bounds) {
        setStatusNote(app, app.strings().nothingFilledToMirror);
        return;
    }
    std::string where;
    for (int axis = 0; axis < 3; ++axis) {
        app.mirror.position[axis] = bounds->min[axis] + bounds->max[axis];
        where += std::string(axis == 0 ? "" : ", ") + "xyz"[axis] + " " + planeCoordinate(app.mirror.position[axis]);
    }
    setStatusNote(app, fillIn(app.strings().mirrorPlanesAt, where));
}

}  // namespace

void restoreMirrorPlanes(App& app) {
    const Settings& settings = app.settings;
    const int planes = settings.mirrorPlanes >= 0 && settings.mirrorPlanes < 8 ? settings.mirrorPlanes : 0;
    for (int axis = 0; axis < 3; ++axis) {
        const std::int32_t position = *positionSettingOf(app.settings, axis);
        app.mirror.enabled[axis] = (planes & 1 << axis) != 0;
        app.mirror.position[axis] = position >= 0 && position <= kMirrorPositionMax ? position : kMirrorMiddle;
    }
    showMirrorPlanes(app);
}

void runMirrorCommand(App& app, int command) {
    if (command >= command::kMirrorX && command <= command::kMirrorZ) {
        bool& enabled = app.mirror.enabled[command - command::kMirrorX];
        enabled = !enabled;
    } else if (command == command::kMirrorToCursor) {
        movePlanesToCursor(app);
    } else if (command == command::kMirrorToMiddle) {
        app.mirror.position = {kMirrorMiddle, kMirrorMiddle, kMirrorMiddle};
    } else if (command == command::kMirrorToModelCentre) {
        movePlanesToModelCentre(app);
    }
    showMirrorPlanes(app);
}

}  // namespace cubrik
