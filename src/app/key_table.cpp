#include "app/key_table.h"

#include "app/box_commands.h"
#include "app/document_commands.h"
#include "app/gestures.h"
#include "app/menu_commands.h"
#include "app/mirror_commands.h"
#include "app/strokes.h"
#include "edit/brush.h"
#include "edit/tool_table.h"
#include "model/selection.h"
#include "render/camera.h"

namespace cubrik {
namespace {

constexpr int kKeypadViews[] = {5, 0, 4, 6, 8, 2};  // keypad digit of each preset view

// The preset view a digit key selects, or -1.
int presetOfKey(int key) {
    if (key >= '1' && key <= '6') return key - '1';
    for (int view = 0; view < 6; ++view)
        if (key == key::kKeypad0 + kKeypadViews[view]) return view;
    return -1;
}

// With Ctrl held, these letters are the Edit menu's commands, never a tool,
// the brush size or the smooth display.
int editCommandOfCtrlKey(App& app, int key) {
    switch (key) {
    case 'X': return command::kCut;
    case 'C': return command::kCopy;
    case 'V': return command::kPaste;
    case 'A': return app.platform.shiftDown() ? command::kSelectNone : command::kSelectAll;
    default: return 0;
    }
}

}  // namespace

bool handleKey(App& app, int key) {
    const SelectionTarget selection{app.history, app.model(), app.edit, app.flags};
    if (app.platform.ctrlDown()) {
        if (const int command = editCommandOfCtrlKey(app, key)) return runBoxCommand(app, command);
    }
    if (moveByKey(app, key)) return true;
    if (const int view = presetOfKey(key); view >= 0) {
        presetView(app.model(), view);
        return true;
    }
    if (const std::optional<Tool> tool = toolOfKey(key)) {
        selectTool(selection, *tool);
        leaveSelectMode(app);
        return true;
    }
    switch (key) {
    case key::kEscape: quitProgram(app); return false;
    case key::kSpace:
        endGestures(app);
        snapView(app.model());
        return true;
    case 'T': pressMaterialButton(selection, Material::A); return true;
    case 'G': pressMaterialButton(selection, Material::B); return true;
    case 'H': return stepColourSlot(selection, +1) != 0;
    case 'Y':
        if (app.platform.ctrlDown()) {
            redo(app.history, app.model(), app.edit, app.flags);
            return true;
        }
        return stepColourSlot(selection, -1) != 0;
    case 'Z':
        if (app.platform.ctrlDown()) undo(app.history, app.model(), app.edit, app.flags);
        else if (!app.gestures.strokeActive && !app.gestures.rotateActive) toggleDisplay(app, command::kZoom);
        return true;
    case 'X': toggleDisplay(app, command::kSmooth); return true;
    case 'M': runMirrorCommand(app, command::kMirrorToCursor); return true;
    case 'B': enterSelectMode(app); return true;
    case key::kDelete: return runBoxCommand(app, command::kDelete);
    case 'C':
    case 'V':
        stepBrushSize(app.model().brushSize, key == 'C' ? -1 : +1);
        forcedStrokeStep(app);
        return true;
    default: return false;
    }
}

}  // namespace cubrik
