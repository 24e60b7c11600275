#include "app/commands/panel_commands.h"

#include "app/commands/document_commands.h"

namespace cubrik {

PanelTarget panelTargetOf(App& app) {
    return {{app.history, app.model(), app.edit, app.flags}, app.panel, app.window.compactPanel != 0};
}

int editSlotColour(App& app, int slot) {
    pushUndo(app.history, app.model(), app.edit, app.flags);
    endGestures(app);  // the dialog takes the mouse
    Rgb* palette = paletteOf(app.model(), app.edit.currentMaterial);
    Rgb& colour = palette[slot - kFirstSlot];
    std::array<std::uint32_t, 16> presets{};
    for (int i = 0; i < kPaletteSize; ++i) presets[i] = colourToColorref(palette[i]);
    // What the user does to the presets is dropped with them.
    const std::optional<std::uint32_t> chosen = app.platform.chooseColour(colourToColorref(colour), presets);
    app.platform.inputMethodOff();
    if (chosen) {
        colour = colorrefToColour(*chosen);
        app.flags.modelModified = 1;  // the document file keeps the palettes
    }
    app.edit.currentSlot = slot;
    app.panel.dragSourceSlot = app.panel.draggedSlot = app.panel.hoverItem = kNoItem;
    return chosen ? 1 : 0;
}

}  // namespace cubrik
