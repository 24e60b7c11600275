#include "app/commands/shape_commands.h"

#include "app/commands/strokes.h"
#include "app/commands/window_status.h"
#include "edit/box_shapes.h"
#include "edit/flood_fill.h"
#include "edit/view_transform.h"

namespace cubrik {
namespace {

void pushUndoStep(App& app) { pushUndo(app.history, app.model(), app.edit, app.flags); }

void tellResult(App& app, int command, int changed) {
    const std::string name = commandName(command, app.language);
    const UiStrings& text = app.strings();
    setStatusNote(app, changed > 0 ? fillIn(fillIn(text.cellsChanged, name), std::to_string(changed))
                                   : fillIn(text.nothingChanged, name));
    if (changed > 0) app.flags.modelModified = 1;
}

int hollow(App& app, const CellBox& box, const CellChangeRule& rule) {
    const std::vector<int> cells = cellsToHollow(app.model(), box, rule);
    if (cells.empty()) return 0;
    pushUndoStep(app);
    for (const int cell : cells) app.model().cells[cell] = kEmpty;
    return static_cast<int>(cells.size());
}

// `code` is what the shape's cells become: the current colour, or empty for the Empty commands.
int shape(App& app, const BoxShape& shape, ShapeEdit edit, std::uint8_t code, const CellChangeRule& rule) {
    if (countShapeChanges(app.model(), shape, edit, code, rule) == 0) return 0;
    pushUndoStep(app);
    return applyShape(app.model(), shape, edit, code, rule);
}

void boxCommand(App& app, int command) {
    if (!app.selection.box) {
        setStatusNote(app, app.strings().selectBoxFirst);
        return;
    }
    const CellBox& box = *app.selection.box;
    const CellChangeRule rule = cellChangeRuleOf(app.model(), app.edit, visibleSlab(app.view.cut));
    const auto code = static_cast<std::uint8_t>(targetCode(app.edit));
    const BoxShape ellipsoid{box, ShapeKind::Ellipsoid};
    const BoxShape cylinder{box, ShapeKind::Cylinder, axisTowardViewer(app.model())};
    int changed = 0;
    switch (command) {
    case command::kFill: changed = shape(app, {box, ShapeKind::Box}, ShapeEdit::Fill, code, rule); break;
    case command::kFillEllipsoid: changed = shape(app, ellipsoid, ShapeEdit::Fill, code, rule); break;
    case command::kFillCylinder: changed = shape(app, cylinder, ShapeEdit::Fill, code, rule); break;
    case command::kEmptyEllipsoid: changed = shape(app, ellipsoid, ShapeEdit::Fill, kEmpty, rule); break;
    case command::kEmptyCylinder: changed = shape(app, cylinder, ShapeEdit::Fill, kEmpty, rule); break;
    case command::kPaintSelection: changed = shape(app, {box, ShapeKind::Box}, ShapeEdit::Paint, code, rule); break;
    default: changed = hollow(app, box, rule); break;
    }
    tellResult(app, command, changed);
}

void fillConnected(App& app) {
    const std::optional<ClientPoint> cursor = app.platform.commandPointer();
    const int cell = cursor ? visibleCellAt(app, cursor->x, cursor->y) : -1;
    const UiStrings& text = app.strings();
    if (cell < 0) {
        setStatusNote(app, text.noCellThere);
        return;
    }
    const std::uint8_t from = app.model().cells[cell];
    const int code = targetCode(app.edit);
    const CellChangeRule rule = cellChangeRuleOf(app.model(), app.edit, visibleSlab(app.view.cut));
    if (from == code) {
        setStatusNote(app, text.alreadyCurrent);
    } else if (!rule.allows(cell, from)) {
        setStatusNote(app, text.cellProtected);
    } else {
        pushUndoStep(app);
        tellResult(app, command::kFillConnected,
                   floodFillMirrored(app.model(), cell, static_cast<std::uint8_t>(code), rule, MirrorImages(app.mirror)));
    }
}

}  // namespace

bool runShapeCommand(App& app, int command) {
    if (command == command::kFillConnected) fillConnected(app);
    else if ((command >= command::kFill && command <= command::kHollow) || command == command::kEmptyEllipsoid ||
             command == command::kEmptyCylinder)
        boxCommand(app, command);
    else return false;
    return true;
}

}  // namespace cubrik
