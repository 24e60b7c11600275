#pragma once
// The desktop's ways into a document besides Open: Open recent, a file
// dropped on the window, and the start-up file's problems, which the status
// bar and stderr tell instead of staying silent.

#include <string>

#include "app/state/app.h"

namespace cubrik {

// Whether `path` is a file of a format Open reads.
bool isOpenableModel(const std::string& path);

// Open recent's entry `index` (0 is the newest): the unsaved-changes
// question, then the file, or its removal from the list when it has gone.
void openRecent(App& app, int index);

// A file dropped on the window opens as Open opens it; any other is refused
// with a note in the status bar.
void dropFile(App& app, const std::string& path);

// Puts `path` first on Open recent, or takes it off (false when it was not
// on), and shows the list in the menu.
void rememberRecent(App& app, const std::string& path);
bool forgetRecent(App& app, const std::string& path);

// The start-up file could not be opened: the status bar says why, and the
// desktop repeats it on stderr.
void noteStartupProblem(App& app, const std::string& lead, const std::string& reason);

}  // namespace cubrik
