#include "app/commands/cell_mode.h"

#include "app/commands/box_commands.h"
#include "app/commands/strokes.h"
#include "app/commands/window_status.h"
#include "edit/centre_plane.h"
#include "edit/single_cell.h"
#include "edit/view_transform.h"

namespace cubrik {
namespace {

// Sets the cell (and its images) as the drag does; the drag's first change
// pushes its one undo step. False when nothing changed.
bool changeCell(App& app, const CellCoordinates& at) {
    if (!insideGrid(at)) return false;
    CellMode& mode = app.cellMode;
    const int cell = cellIndex(at[0], at[1], at[2]);
    const CellChangeRule rule = cellChangeRuleOf(app.model(), app.edit, visibleSlab(app.view.cut));
    const MirrorImages mirror(app.mirror);
    if (!anyCellChange(app.model(), cell, mode.code, rule, mirror)) return false;
    if (!mode.undoPushed) pushUndo(app.history, app.model(), app.edit, app.flags);
    mode.undoPushed = true;
    setCellMirrored(app.model(), cell, mode.code, rule, mirror);
    app.flags.modelModified = 1;
    return true;
}

// The first cell of a drag and the plane it goes on along: across the face
// under the pointer (the clicked cell itself when emptying), else on the
// centre plane facing the viewer.
bool startOfDrag(App& app, int x, int y, bool emptying) {
    CellMode& mode = app.cellMode;
    const int height = app.window.clientHeight;
    const std::optional<PointerRay> ray = pointerRayAt(app.model(), height, x, y);
    if (!ray) return false;
    if (const int hit = visibleCellAt(app, x, y); hit >= 0) {
        const CellFace face = faceEntered(*ray, hit);
        CellCoordinates at = coordinatesOf(hit);
        const double boundary = at[face.axis] - (face.side > 0 ? 49.0 : 50.0);
        if (!emptying) at[face.axis] += face.side;
        mode.plane = CellPlane{face.axis, at[face.axis], boundary};
        mode.last = at;
        return true;
    }
    const int centre = emptying ? -1 : unprojectToCentrePlane(app.model(), height, x, y);
    if (centre < 0) return false;
    const int axis = axisTowardViewer(app.model());
    mode.last = coordinatesOf(centre);
    mode.plane = CellPlane{axis, mode.last[axis], mode.last[axis] - 49.5};
    return true;
}

}  // namespace

void enterCellMode(App& app) {
    leaveSelectMode(app);
    app.cellMode.active = true;
    app.platform.setCellCursor(true);
}

void leaveCellMode(App& app) {
    if (!app.cellMode.active) return;
    app.cellMode.active = false;
    app.platform.setCellCursor(false);
}

void beginCellDrag(App& app, int x, int y) {
    CellMode& mode = app.cellMode;
    app.gestures.cellDragging = 1;
    mode.plane.reset();
    mode.undoPushed = false;
    const bool emptying = app.platform.shiftDown();
    mode.code = emptying ? kEmpty : static_cast<std::uint8_t>(targetCode(app.edit));
    if (!startOfDrag(app, x, y, emptying)) setStatusNote(app, app.strings().noCellThere);
    else if (!changeCell(app, mode.last))
        setStatusNote(app, emptying ? app.strings().cellProtected : app.strings().cellNotPlaced);
}

void continueCellDrag(App& app, int x, int y) {
    CellMode& mode = app.cellMode;
    if (!app.gestures.cellDragging || !mode.plane) return;
    const std::optional<PointerRay> ray = pointerRayAt(app.model(), app.window.clientHeight, x, y);
    const std::optional<CellCoordinates> cell = ray ? cellUnderPointer(*mode.plane, *ray) : std::nullopt;
    if (!cell || *cell == mode.last) return;
    forEachCellAfter(mode.last, *cell, [&](const CellCoordinates& at) { changeCell(app, at); });
    mode.last = *cell;
}

void endCellDrag(App& app) {
    app.gestures.cellDragging = 0;
    app.cellMode.plane.reset();
}

}  // namespace cubrik
