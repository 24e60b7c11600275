#pragma once
// `cubrik --replay`: runs a session file through the window procedure with no
// display, drawing into an offscreen target, dialogs answered from the file.

#include <string>

namespace cubrik {

struct ReplayOptions {
    std::string sessionPath;
    std::string modelPath;    // the start-up document; may be empty
    std::string stateFolder;  // stands for the per-user state folder; empty: no recovery copies
    // A crash line ends the process (status 70) when true; otherwise the
    // replay stops there, as if the process had ended, and reports it.
    bool crashEndsProcess = false;
};

inline constexpr int kReplayCrashed = 2;

// Starts the application headless with default settings and `modelPath` (may
// be empty) as the start-up document, then hands it every line of the
// session. Returns 1 when every line ran or a quit ended the session,
// kReplayCrashed when a crash line stopped it, 0 with `reason`
// ("s.txt line 12: unknown message \"lclick\"") otherwise.
int runReplay(const ReplayOptions& options, std::string& reason);
int runReplay(const std::string& sessionPath, const std::string& modelPath, std::string& reason);

}  // namespace cubrik
