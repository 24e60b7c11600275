#pragma once
// The window's texts as the App keeps them; app/commands/window_status.h
// makes them.

#include <string>

#include "app/state/platform_interface.h"

namespace cubrik {

// What the status bar and the title last showed, and a note to show.
struct StatusState {
    std::string shownTitle;
    StatusLine shownLine;
    std::string note;        // a short message in place of a silent failure
    std::string startupProblem;  // why the start-up file did not open; the desktop writes it to stderr
    int cell = -1;           // the cell under the cursor, or -1
    bool trackCell = false;  // mouse moves read the cell under the cursor (the real window only)
};

}  // namespace cubrik
