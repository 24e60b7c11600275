#pragma once
// The window procedure.

#include "app/state/app.h"

namespace cubrik {

// The window procedure: every message of the window goes through here.
// Returns the message's result (0 unless a message says otherwise).
int handleMessage(App& app, const Message& message);

}  // namespace cubrik
