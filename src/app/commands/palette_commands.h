#pragma once
// Settings > Import palette (a GIMP, Lospec, JASC or PNG palette into the
// current material's 16 colours, one undo step) and Export palettes (both
// palettes, A then B, as .gpl or .hex). A file that cannot be read or written
// is said in a message box and changes nothing.

#include "app/state/app.h"

namespace cubrik {

void importPalette(App& app);
void exportPalettes(App& app);

}  // namespace cubrik
