#pragma once
// The menu table's actions.

#include "app/state/app.h"

namespace cubrik {

// Runs the action of a menu item; unknown ids do nothing.
void runMenuCommand(App& app, int command);

// Smooth, Zoom and Pressure input: flip the value, set the check mark to
// match and end any mouse gesture.
void toggleDisplay(App& app, int command);

}  // namespace cubrik
