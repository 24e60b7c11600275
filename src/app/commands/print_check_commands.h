#pragma once
// The Model menu's print check: the findings list, choosing a finding, and
// Delete floating parts. The check measures cells as the STL export does,
// 1 mm wide, with the default thinnest wall.

#include "app/state/app.h"

namespace cubrik {

// Model > Check for printing: checks the whole model and shows a row per
// finding (the parts, each floating part, the thin walls, the overhangs, the
// size) in the desktop's findings list.
void showPrintCheck(App& app);

// A row of the findings list chosen: its cells' box becomes the selection and
// the view frames it. Rows the list no longer has do nothing.
void chooseFinding(App& app, int row);

// Model > Delete floating parts: the cells of every part off the lowest layer
// emptied in one undo step; locked colours and the hidden material stay. The
// status bar says how many cells went, and a findings list already shown is
// checked again.
void deleteFloatingParts(App& app);

}  // namespace cubrik
