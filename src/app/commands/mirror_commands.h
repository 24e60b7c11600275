#pragma once
// The Mirror menu and key M: which planes mirror every edit, and where they
// lie. None of it is an edit: no undo step, the document stays as it was.

#include "app/state/app.h"

namespace cubrik {

// Takes the planes from the settings (damaged values read as off and the
// middle) and shows them in the menu.
void restoreMirrorPlanes(App& app);

// Runs one of the Mirror menu's commands (command::kMirrorX ... kMirrorToModelCentre).
void runMirrorCommand(App& app, int command);

}  // namespace cubrik
