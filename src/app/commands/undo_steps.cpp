#include "app/commands/undo_steps.h"

#include <iterator>

namespace cubrik {

void showUndoSteps(App& app) {
    for (int i = 0; i < static_cast<int>(std::size(kUndoStepChoices)); ++i)
        app.platform.setMenuChecked(command::kFirstUndoSteps + i, kUndoStepChoices[i] == app.settings.undoSteps);
}

void chooseUndoSteps(App& app, int command) {
    app.settings.undoSteps = kUndoStepChoices[command - command::kFirstUndoSteps];
    applyUndoSteps(app);
}

void applyUndoSteps(App& app) {
    setUndoDepth(app.history, app.settings.undoSteps, app.flags);
    showUndoSteps(app);
}

}  // namespace cubrik
