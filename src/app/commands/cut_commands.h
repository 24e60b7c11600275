#pragma once
// The cut-away of the View menu and keys U, J, K and L: which cells stay in
// view. None of it is an edit: no undo step, the document stays as it was.

#include "app/state/app.h"

namespace cubrik {

// Runs one of the cut-away commands (command::kCutAway ... kCutOtherSide).
// Returns false for any other id.
bool runCutCommand(App& app, int command);

// The key's cut-away command (U, J, K, L), or 0.
int cutCommandOfKey(int key);

// Turns the cut-away off, as New and Open do.
void endCutAway(App& app);

}  // namespace cubrik
