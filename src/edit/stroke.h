#pragma once
// A stroke of the left button in the 3-D view: its press pushes one undo
// snapshot, reads the pick pass its tool needs and applies the tool once;
// each later step applies the tool along the segment from the last point.

#include <functional>

#include "edit/brush.h"
#include "model/undo_history.h"

namespace cubrik {

// Draws the pick pass of `mode` and reads it into the editing buffers' current
// pick. Returns 1, or 0 when nothing could be read.
using PickReader = std::function<int(PickMode mode)>;

struct StrokeTarget {
    BrushContext brush;
    const ToolKernels& kernels;
    UndoHistory& history;
    DocumentFlags& flags;
};

// Pixels between stroke samples of the scalar ball and Punch kernels.
int strokeSpacing(Tool tool, int brushSize);

// Starts a stroke at window pixel (x, y). Returns nonzero when the document
// is to count as modified: always, except for Carve and Build finding no cell.
int beginStroke(StrokeTarget& stroke, int x, int y, const PickReader& readPick);

// The step from the last stroke point to (x, y); `forced` when the brush size
// changed under a pointer that may not have moved. Returns nonzero when the
// document is to count as modified.
int continueStroke(StrokeTarget& stroke, int x, int y, bool forced);

}  // namespace cubrik
