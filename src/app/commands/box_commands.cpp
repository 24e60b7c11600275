#include "app/commands/box_commands.h"

#include <cmath>

#include "app/commands/strokes.h"
#include "app/commands/window_status.h"
#include "edit/cell_change_rule.h"
#include "edit/centre_plane.h"

namespace cubrik {
namespace {

// The model axis nearest the screen direction that row `row` of the view
// rotation gives (0 right, 1 up, 2 toward the viewer), skipping `taken`, and
// which way along it that direction runs.
struct ScreenAxis {
    int axis;
    int sign;
};

ScreenAxis screenAxis(const VoxelModel& model, int row, int taken = -1) {
    int best = -1;
    for (int axis = 0; axis < 3; ++axis)
        if (axis != taken && (best < 0 || std::abs(model.rotation[row + 4 * axis]) >
                                              std::abs(model.rotation[row + 4 * best])))
            best = axis;
    return {best, model.rotation[row + 4 * best] < 0 ? -1 : 1};
}

// The cell a press or release picks: the visible one, else the one on the
// grid's centre plane, off the grid the nearest on its edge; -1 when neither.
int boxCornerAt(App& app, int x, int y) {
    const int visible = visibleCellAt(app, x, y);
    if (visible >= 0) return visible;
    return nearestCentrePlaneCell(app.model(), app.window.clientHeight, x, y);
}

void changed(App& app) { app.flags.modelModified = 1; }

void pushUndoStep(App& app) { pushUndo(app.history, app.model(), app.edit, app.flags); }

// A refusal: the status bar says why, and no box interrupts the work.
void refuse(App& app, const std::string& text) { setStatusNote(app, text); }

// The box the Model menu acts on: the selection, else the whole grid.
CellBox targetBox(const App& app) { return app.selection.box.value_or(kWholeGrid); }

// The cells the cut-away leaves in view.
VisibleSlab inView(const App& app) { return visibleSlab(app.view.cut); }

// What the Model menu may change: the selection's cells in view, or with no
// selection the whole model, hidden cells included, as the commands say.
VisibleSlab targetSlab(const App& app) { return app.selection.box ? inView(app) : VisibleSlab{}; }

// A flip, turn or move that would put a cell on a hidden one changed nothing.
void refusedByCut(App& app) { refuse(app, app.strings().landsOnHidden); }

// What Delete and Cut may empty, and so what Copy takes: the selection's
// cells in view, except locked colours and the hidden material, as the shapes.
CellChangeRule emptiableCells(App& app) { return cellChangeRuleOf(app.model(), app.edit, inView(app)); }

void copySelection(App& app) {
    app.selection.clipboard = copyCells(app.model(), *app.selection.box, emptiableCells(app));
    app.platform.setClipboardText(formatBoxCells(*app.selection.clipboard));
}

void deleteSelection(App& app) {
    pushUndoStep(app);
    deleteCells(app.model(), *app.selection.box, emptiableCells(app));
    changed(app);
}

// Another window's copy on the system clipboard comes first; then our own.
void paste(App& app) {
    std::optional<BoxCells> copied;
    if (const std::optional<std::string> text = app.platform.clipboardText()) copied = parseBoxCells(*text);
    if (!copied) copied = app.selection.clipboard;
    if (!copied) {
        refuse(app, app.strings().pasteNothing);
        return;
    }
    const std::array<int, 3> at = app.selection.box ? app.selection.box->min : copied->from.min;
    CellBox target = copied->from;
    for (int axis = 0; axis < 3; ++axis) target.max[axis] += at[axis] - target.min[axis], target.min[axis] = at[axis];
    if (!target.insideGrid()) {
        refuse(app, app.strings().pasteOutside);
        return;
    }
    pushUndoStep(app);
    app.selection.box = pasteCells(app.model(), *copied, at, inView(app));
    changed(app);
}

void flip(App& app, int axis) {
    if (flipCells(app.model(), targetBox(app), axis, targetSlab(app), [&] { pushUndoStep(app); }))
        changed(app);
    else
        refusedByCut(app);
}

void turn(App& app, int axis) {
    const CellBox box = targetBox(app);
    if (!turnedBox(box, axis)) {
        refuse(app, app.strings().turnOutside);
        return;
    }
    const std::optional<CellBox> turned = turnCells(app.model(), box, axis, targetSlab(app), [&] { pushUndoStep(app); });
    if (!turned) {
        refusedByCut(app);
        return;
    }
    if (app.selection.box) app.selection.box = turned;
    changed(app);
}

// Moves the cells of `box` (the selection's or the model's filled bounds) by `offset`.
void moveBox(App& app, const CellBox& box, std::array<int, 3> offset) {
    const std::optional<CellBox> moved =
        moveCells(app.model(), box, offset, targetSlab(app), [&] { pushUndoStep(app); });
    if (!moved) {
        refusedByCut(app);
        return;
    }
    if (app.selection.box) app.selection.box = moved;
    changed(app);
}

// A move by `offset`: the selection and its cells, or every filled cell.
void move(App& app, std::array<int, 3> offset) {
    const std::optional<CellBox> box = app.selection.box ? app.selection.box : filledBounds(app.model(), kWholeGrid);
    if (!box || !movedBox(*box, offset)) {
        refuse(app, box ? app.strings().moveOutside : app.strings().nothingToMove);
        return;
    }
    moveBox(app, *box, offset);
}

void centre(App& app) {
    const std::optional<CellBox> box = partInView(targetBox(app), targetSlab(app));
    const std::optional<CellBox> bounds = box ? filledBounds(app.model(), *box) : std::nullopt;
    if (!bounds) {
        refuse(app, app.strings().nothingToCentre);
        return;
    }
    moveBox(app, *bounds, centringOffset(*bounds));
}

// What a release at (x, y) would make of the selection.
DraggedBox draggedBox(App& app, int x, int y) {
    if (std::abs(x - app.selection.pressX) <= 3 && std::abs(y - app.selection.pressY) <= 3) return {true, {}, {}};  // a click
    const int cell = boxCornerAt(app, x, y);
    if (cell < 0 || !app.selection.firstCell) return {};
    // Along the axis into the screen the box takes the whole grid: it selects through the model, as seen.
    const std::array<int, 3> lastCell = coordinatesOf(cell);
    CellBox box = boxSpanning(*app.selection.firstCell, lastCell);
    const ScreenAxis right = screenAxis(app.model(), 0);
    const ScreenAxis up = screenAxis(app.model(), 1, right.axis);
    const int depth = 3 - right.axis - up.axis;
    box.min[depth] = 0;
    box.max[depth] = kGridSize - 1;
    if (app.platform.shiftDown() && app.selection.box) {
        for (int axis = 0; axis < 3; ++axis) {
            box.min[axis] = std::max(box.min[axis], app.selection.box->min[axis]);
            box.max[axis] = std::min(box.max[axis], app.selection.box->max[axis]);
        }
        if (!box.insideGrid()) return {true, {}, lastCell};
    }
    return {true, box, lastCell};
}

}  // namespace

void enterSelectMode(App& app) {
    app.selection.selectMode = true;
    app.platform.setSelectCursor(true);
}

void leaveSelectMode(App& app) {
    if (!app.selection.selectMode) return;
    app.selection.selectMode = false;
    app.platform.setSelectCursor(false);
}

void beginBoxSelection(App& app, int x, int y) {
    app.gestures.boxSelecting = 1;
    app.selection.pressX = x;
    app.selection.pressY = y;
    app.selection.dragged = {};
    const int cell = boxCornerAt(app, x, y);
    app.selection.firstCell.reset();
    if (cell >= 0) app.selection.firstCell = coordinatesOf(cell);
}

void dragBoxSelection(App& app, int x, int y) {
    if (app.gestures.boxSelecting) app.selection.dragged = draggedBox(app, x, y);
}

void endBoxSelection(App& app, int x, int y) {
    if (!app.gestures.boxSelecting) return;
    app.gestures.boxSelecting = 0;
    const DraggedBox dragged = draggedBox(app, x, y);
    if (dragged.changes) app.selection.box = dragged.box;
    else refuse(app, app.strings().boxOffGrid);
}

std::array<std::optional<std::array<int, 3>>, 2> pickedCorners(const App& app) {
    if (!app.gestures.boxSelecting) return {};
    return {app.selection.firstCell, app.selection.dragged.lastCell};
}

std::optional<CellBox> shownSelection(const App& app) {
    const DraggedBox& dragged = app.selection.dragged;
    return app.gestures.boxSelecting && dragged.changes ? dragged.box : app.selection.box;
}

bool runBoxCommand(App& app, int command) {
    const UiStrings& text = app.strings();
    switch (command) {
    case command::kCut:
        if (!app.selection.box) {
            refuse(app, text.cutUnselected);
        } else {
            copySelection(app);
            deleteSelection(app);
        }
        return true;
    case command::kCopy:
        if (!app.selection.box) refuse(app, text.copyUnselected);
        else copySelection(app);
        return true;
    case command::kPaste: paste(app); return true;
    case command::kDelete:
        if (!app.selection.box) refuse(app, text.deleteUnselected);
        else deleteSelection(app);
        return true;
    case command::kSelectAll: app.selection.box = kWholeGrid; return true;
    case command::kSelectBox:
        if (const std::optional<CellBox> typed =
                app.platform.askCellBox(text.selectBoxTitle, text.selectBoxPrompt, targetBox(app)))
            app.selection.box = typed;
        return true;
    case command::kSelectNone: app.selection.box.reset(); return true;
    case command::kCentre: centre(app); return true;
    default: break;
    }
    if (command >= command::kFlipX && command < command::kFlipX + 3) {
        flip(app, command - command::kFlipX);
        return true;
    }
    if (command >= command::kTurnX && command < command::kTurnX + 3) {
        turn(app, command - command::kTurnX);
        return true;
    }
    if (command >= command::kMovePlusX && command <= command::kMoveMinusZ) {
        std::array<int, 3> offset{};
        offset[(command - command::kMovePlusX) / 2] = (command - command::kMovePlusX) % 2 == 0 ? 1 : -1;
        move(app, offset);
        return true;
    }
    return false;
}

bool moveByKey(App& app, int key) {
    int row = 0, sign = 1;
    switch (key) {
    case key::kRight: break;
    case key::kLeft: sign = -1; break;
    case key::kUp: row = 1; break;
    case key::kDown: row = 1, sign = -1; break;
    case key::kPageUp: row = 2; break;
    case key::kPageDown: row = 2, sign = -1; break;
    default: return false;
    }
    const ScreenAxis along = screenAxis(app.model(), row);
    std::array<int, 3> offset{};
    offset[along.axis] = sign * along.sign;
    move(app, offset);
    return true;
}

}  // namespace cubrik
