#pragma once
// The commands room: what menu ids and keys do. The document, box and
// selection, shape, cut-away, camera, mirror, palette, panel, desktop and undo
// steps commands, cell mode, the strokes of the tools, the paint cycle, the
// window's title and status line, and the program's start. Commands call one another
// and the rooms below (state, text), never the input room that calls them.
//
// This header: the menu table's actions.

#include "app/state/app.h"

namespace cubrik {

// Runs the action of a menu item; unknown ids do nothing.
void runMenuCommand(App& app, int command);

// Smooth, Zoom and Pressure input: flip the value, set the check mark to
// match and end any mouse gesture.
void toggleDisplay(App& app, int command);

}  // namespace cubrik
