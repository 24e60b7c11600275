#include "app/commands/palette_commands.h"

#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "formats/palette_file.h"
#include "io/path_names.h"
#include "model/material.h"

namespace cubrik {

void importPalette(App& app) {
    const UiStrings& text = app.strings();
    const auto chosen =
        askForFile(app, false, {text.paletteImportTitle, text.paletteImportFilters, app.document.lastFolder, "", "gpl"});
    if (!chosen) return;
    app.document.lastFolder = folderOf(*chosen);
    PaletteColours colours;
    std::string reason;
    if (!readPaletteFile(*chosen, colours, reason)) {
        reportFailure(app, fillIn(text.cannotOpen, *chosen), reason);
        return;
    }
    // The first 16 colours; with fewer, the rest of the slots keep theirs.
    pushUndo(app.history, app.model(), app.edit, app.flags);
    const std::size_t count = std::min<std::size_t>(colours.size(), kPaletteSize);
    Rgb* palette = paletteOf(app.model(), app.edit.currentMaterial);
    for (std::size_t i = 0; i < count; ++i) palette[i] = unpackColour(colours[i]);
    app.flags.modelModified = 1;
    setStatusNote(app, fillIn(text.paletteImported, std::to_string(count)));
}

void exportPalettes(App& app) {
    const UiStrings& text = app.strings();
    const auto chosen = askForFile(app, true, {text.paletteExportTitle, text.paletteExportFilters,
                                               app.document.lastFolder, titleOf(app.document.path), "gpl"});
    if (!chosen) return;
    app.document.lastFolder = folderOf(*chosen);
    std::vector<std::uint32_t> colours;
    std::vector<std::string> names;
    for (const Material material : kMaterials)
        for (int i = 0; i < kPaletteSize; ++i) {
            colours.push_back(packColour(paletteOf(app.model(), material)[i]));
            names.push_back(materialLetter(material) + std::to_string(i + 1));
        }
    std::string reason;
    if (!writePaletteFile(*chosen, colours, names, reason)) reportFailure(app, fillIn(text.cannotSave, *chosen), reason);
    else setStatusNote(app, fillIn(text.palettesExported, *chosen));
}

}  // namespace cubrik
