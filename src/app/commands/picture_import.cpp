#include "app/commands/picture_import.h"

#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "formats/picture_cells.h"
#include "io/path_names.h"

namespace cubrik {

void importPictureAsCells(App& app) {
    if (!askToSave(app)) return;
    const UiStrings& text = app.strings();
    const auto chosen =
        askForFile(app, false, {text.cellPictureTitle, text.cellPictureFilters, app.document.lastFolder, "", ""});
    if (!chosen) return;
    endGestures(app);
    const std::optional<int> thickness =
        app.platform.askNumber(text.thicknessTitle, text.thicknessPrompt, 1, 1, kMaxPictureThickness);
    app.platform.inputMethodOff();
    if (!thickness) return;
    ModelFileContents contents;
    std::copy(std::begin(app.model().paletteA), std::end(app.model().paletteA), contents.paletteA);
    std::copy(std::begin(app.model().paletteB), std::end(app.model().paletteB), contents.paletteB);
    std::string reason;
    if (!readPictureCells(*chosen, *thickness, contents, reason)) {
        reportFailure(app, fillIn(text.cannotImportPicture, *chosen), reason);
        return;
    }
    replaceModel(app, contents, *chosen);
    refreshWindowTexts(app);
}

}  // namespace cubrik
