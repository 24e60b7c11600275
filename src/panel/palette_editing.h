#pragma once
// What the left and right buttons do on the tool panel: choose tools,
// materials and colours, lock colours, and drag one colour onto another to
// recolour the model. Each change pushes an undo snapshot first.

#include <cstdint>

#include "model/selection.h"

namespace cubrik {

struct PanelTarget {
    SelectionTarget selection;
    PanelDragState& drag;
    bool compact = false;  // the two-column slot layout of low windows
};

// A left press at (x, y). Returns 0 when x lies right of the panel, else 1
// (also where no item is under the point).
int panelClick(const PanelTarget& panel, int x, int y);

// Locks or unlocks colour slot 10..25 of the current material. Locking the
// current colour moves the selection to the first other unlocked colour; the
// last unlocked colour cannot be locked.
void toggleColourLock(const PanelTarget& panel, int slot);

// A move while the left button holds a press on a slot: the drag shows.
void panelDragUpdate(PanelDragState& drag);

// The left button coming up at (x, y): a dragged colour dropped on another
// unlocked slot recolours the model. Returns 1.
int panelDrop(const PanelTarget& panel, int x, int y);

// Every cell of `fromCode` becomes `toCode`; the palette stays. The cells
// belong to the document, so it counts as modified.
void recolourCells(const SelectionTarget& selection, int fromCode, int toCode);

// A move with no button held: the button under the pointer lights up.
void panelHoverUpdate(const PanelTarget& panel, int x, int y);

}  // namespace cubrik
