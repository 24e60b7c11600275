#pragma once
// The paint cycle: when a frame is drawn and what it is made of.

#include "app/state/app.h"
#include "render/device_frame.h"

namespace cubrik {

// What the renderer needs of the application for one view.
ViewInputs viewInputsOf(App& app);

// The paint request: draws unless the message before was a paint request too.
// `device` is the framebuffer when its pixels are finer than the client's.
void paint(App& app, int clientWidth, int clientHeight, const DeviceFrame& device);

// One frame: the background, the 3-D view, the tool panel, then the Undo
// and Redo items greyed or enabled when the history changed.
void drawFrame(App& app, const DeviceFrame& device);

}  // namespace cubrik
