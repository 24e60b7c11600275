#include "app/commands/selection_export.h"

#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "io/path_names.h"

namespace cubrik {
namespace {

// A model of the palettes and the cells of `box`, its lowest corner at cell 0, 0, 0.
bool copyBoxToOrigin(const VoxelModel& model, const CellBox& box, ModelStore& store) {
    if (!resetModel(store)) return false;
    VoxelModel& copy = *store.model;
    std::copy(std::begin(model.paletteA), std::end(model.paletteA), copy.paletteA);
    std::copy(std::begin(model.paletteB), std::end(model.paletteB), copy.paletteB);
    for (int z = box.min[2]; z <= box.max[2]; ++z)
        for (int y = box.min[1]; y <= box.max[1]; ++y)
            for (int x = box.min[0]; x <= box.max[0]; ++x)
                copy.cells[cellIndex(x - box.min[0], y - box.min[1], z - box.min[2])] = model.cells[cellIndex(x, y, z)];
    return true;
}

}  // namespace

void exportSelection(App& app) {
    const UiStrings& text = app.strings();
    if (!app.selection.box) {
        setStatusNote(app, text.exportUnselected);
        return;
    }
    const auto chosen = askForFile(app, true, {text.exportSelectionTitle, text.saveFilters, app.document.lastFolder,
                                               titleOf(app.document.path) + text.selectionSuffix, "cbk"});
    if (!chosen) return;
    const FileFormat* format = formatOf(*chosen);
    if (format == nullptr || !format->writesModel()) {
        reportFailure(app, fillIn(text.unknownSaveType, *chosen), "");
        return;
    }
    const Reply colourParts = askForColourParts(app, *format);
    if (colourParts == Reply::Cancel) return;
    ModelStore selection;
    std::string reason = "out of memory";
    if (!copyBoxToOrigin(app.model(), *app.selection.box, selection) ||
        !writeByFormat(app, selection, *format, *chosen, colourParts == Reply::Yes, reason))
        reportFailure(app, fillIn(text.cannotExport, *chosen), reason);
}

}  // namespace cubrik
