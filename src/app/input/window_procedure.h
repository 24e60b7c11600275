#pragma once
// The input room: how the window's messages become commands. The window
// procedure, the key table, the mouse gestures and the pen's pressure. Only
// sessions, the command line and the desktop build on it.
//
// This header: the window procedure.

#include "app/state/app.h"

namespace cubrik {

// The window procedure: every message of the window goes through here.
// Returns the message's result (0 unless a message says otherwise).
int handleMessage(App& app, const Message& message);

}  // namespace cubrik
