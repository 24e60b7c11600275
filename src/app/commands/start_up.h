#pragma once
// The program's start: the settings put to use, a recovery copy offered or
// the start-up document opened, then the renderer, the panel, the editing
// buffers and the undo history made.

#include "app/state/app.h"

namespace cubrik {

// Start-up after the window and its OpenGL context exist (the context must be
// current). Returns 1, or 0 when a step failed and the program must end.
int startUp(App& app);

}  // namespace cubrik
