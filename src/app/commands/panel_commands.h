#pragma once
// The panel operations as the application calls them, and the colour dialog
// of a colour slot.

#include "app/state/app.h"
#include "panel/palette_editing.h"

namespace cubrik {

// The panel's view of the application, used at once.
PanelTarget panelTargetOf(App& app);

// Opens the colour dialog on slot 10..25 of the current material, at the
// slot's colour with the material's sixteen colours to pick from. OK changes
// the palette, which the document file keeps; the snapshot is pushed either
// way. Returns 1 when a colour was chosen.
int editSlotColour(App& app, int slot);

}  // namespace cubrik
