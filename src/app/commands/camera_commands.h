#pragma once
// The camera and what the view shows behind the model: zoom about the
// pointer, pan, framing, the projection, the reference picture and the floor
// grid. None of it
// is the document's: undo, New and Open leave it as it is.

#include "app/state/app.h"

namespace cubrik {

// Ctrl + wheel: one zoom step about the pointer, in for delta > 0. Nothing
// happens while a stroke or drag is under way. Returns whether the view changed.
bool zoomAtPointer(App& app, int delta);

// Ctrl + right-button drag in the view: the pivot follows the pointer.
void beginPan(App& app, int x, int y);
void panTo(App& app, int x, int y);

// View menu: Frame the model (also key Home), Frame the selection, Reset the
// camera, Orthographic (also key O), Reference picture, Hide the reference
// picture, Floor grid, Ambient occlusion and Cell edges.
void runCameraCommand(App& app, int command);

// Start-up: the floor grid, the projection, occlusion and cell edges as the
// settings left them, and the menu's marks.
void restoreViewSettings(App& app);

}  // namespace cubrik
