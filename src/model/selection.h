#pragma once
// Undoable changes of the editing selection: tool, material and colour. Each
// pushes an undo snapshot first, so undo brings the previous choice back.

#include "model/edit_state.h"
#include "model/undo_history.h"

namespace cubrik {

struct SelectionTarget {
    UndoHistory& history;
    VoxelModel& model;
    EditState& edit;
    DocumentFlags& flags;
};

// Makes `tool` current; pushes a snapshot even when it already is.
void selectTool(const SelectionTarget& target, Tool tool);

// The material buttons: pressing the current material shows or hides the
// other one beside it; pressing the other makes it current, each material
// keeping its own current colour.
void pressMaterialButton(const SelectionTarget& target, Material material);

// Moves the current colour one slot up (+1) or down (-1) unless that colour
// is locked. Returns 0 at the end of the slots (nothing to repaint), else 1.
int stepColourSlot(const SelectionTarget& target, int direction);

}  // namespace cubrik
