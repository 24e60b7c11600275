#pragma once
// The program's keyboard layout.

#include "app/state/app.h"

namespace cubrik {

// Runs the action of a key. Returns whether the window is to be repainted.
bool handleKey(App& app, int key);

}  // namespace cubrik
