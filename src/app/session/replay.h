#pragma once
// `cubrik --replay`: runs a session file through the window procedure with no
// display, drawing into an offscreen target, dialogs answered from the file.

#include <string>

namespace cubrik {

// Starts the application headless with default settings and `modelPath` (may
// be empty) as the start-up document, then hands it every line of the
// session. Returns 1 when every line ran or a quit ended the session, 0 with
// `reason` ("s.txt line 12: unknown message \"lclick\"") otherwise.
int runReplay(const std::string& sessionPath, const std::string& modelPath, std::string& reason);

}  // namespace cubrik
