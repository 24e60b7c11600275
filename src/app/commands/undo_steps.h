#pragma once
// Settings ▸ Undo steps: how many snapshots the undo history keeps. The
// choice is kept in the settings, so the next run starts with it.

#include "app/state/app.h"

namespace cubrik {

// The check mark on the menu item of the settings' choice.
void showUndoSteps(App& app);

// One of the three menu items: the history takes its depth (a smaller one
// drops the oldest steps) and the settings and the check marks follow.
void chooseUndoSteps(App& app, int command);

// The history takes the settings' depth, as after the menu's choice.
void applyUndoSteps(App& app);

}  // namespace cubrik
