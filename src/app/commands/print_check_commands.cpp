#include "app/commands/print_check_commands.h"

#include "app/commands/camera_commands.h"
#include "app/commands/window_status.h"
#include "edit/cell_change_rule.h"
#include "edit/print_check.h"

namespace cubrik {
namespace {

constexpr double kCellMillimetres = 1.0;  // as the STL export's cells

}  // namespace

void showPrintCheck(App& app) {
    const UiStrings& text = app.strings();
    const PrintCheck check = checkForPrinting(app.model(), kCellMillimetres);
    std::vector<std::string> rows;
    app.findingBoxes.clear();
    const auto addRow = [&](const std::string& row, const CellGroup& cells) {
        rows.push_back(row);
        app.findingBoxes.push_back(cells.box);
    };
    addRow(fillIn(text.checkParts, std::to_string(check.parts)), check.filled);
    for (const CellGroup& part : check.floating) addRow(fillIn(text.checkFloatingPart, std::to_string(part.cells)), part);
    if (check.thin.cells > 0) addRow(fillIn(text.checkThinWalls, std::to_string(check.thin.cells)), check.thin);
    if (check.overhang.cells > 0) addRow(fillIn(text.checkOverhangs, std::to_string(check.overhang.cells)), check.overhang);
    addRow(fillIn(text.checkSize, printSizeText(check, kCellMillimetres)), check.filled);
    if (!check.foundProblems()) addRow(text.checkNothingFound, check.filled);
    app.platform.showPrintFindings(text.checkTitle, rows);
}

void chooseFinding(App& app, int row) {
    if (row < 0 || row >= static_cast<int>(app.findingBoxes.size())) return;
    const CellBox& box = app.findingBoxes[row];
    if (!box.insideGrid()) return;  // the rows of an empty model hold no cells
    app.selection.box = box;
    runCameraCommand(app, command::kFrameSelection);
}

void deleteFloatingParts(App& app) {
    const PrintCheck check = checkForPrinting(app.model(), kCellMillimetres);
    if (check.floatingCells.empty()) {
        setStatusNote(app, app.strings().noFloatingParts);
        return;
    }
    const CellChangeRule rule = cellChangeRuleOf(app.model(), app.edit, VisibleSlab{});
    std::vector<int> emptied;
    for (const int cell : check.floatingCells)
        if (rule.allows(cell, app.model().cells[cell])) emptied.push_back(cell);
    const UiStrings& text = app.strings();
    const std::string name = commandName(command::kDeleteFloatingParts, app.language);
    if (emptied.empty()) {
        setStatusNote(app, fillIn(text.nothingChanged, name));
        return;
    }
    pushUndo(app.history, app.model(), app.edit, app.flags);
    for (const int cell : emptied) app.model().cells[cell] = kEmpty;
    app.flags.modelModified = 1;
    setStatusNote(app, fillIn(fillIn(text.cellsChanged, name), std::to_string(emptied.size())));
    if (!app.findingBoxes.empty()) showPrintCheck(app);  // the list shown would name parts now gone
}

}  // namespace cubrik
