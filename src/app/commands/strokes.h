#pragma once
// Strokes and the colour pick of the middle button, as the gestures start
// them: the tools run on the application's model with the pick passes drawn
// by its renderer in the window's OpenGL context.

#include "app/state/app.h"

namespace cubrik {

// Starts a stroke at (x, y); a change marks the document modified.
void startStroke(App& app, int x, int y);

// A step of the stroke in progress to (x, y); a change marks the document modified.
void stepStroke(App& app, int x, int y, bool forced);

// After the brush size changed (wheel, keys C and V, pen pressure): a stroke
// in progress takes one step at the last mouse position with the new size.
void forcedStrokeStep(App& app);

// The visible cell at window pixel (x, y), as the Carve tool picks it, or -1.
int visibleCellAt(App& app, int x, int y);

// The middle button: the colour of the cell under (x, y) becomes the current
// colour when it is of the current material and not locked.
void pickColourAtCursor(App& app, int x, int y);

}  // namespace cubrik
