#include "app/input/key_table.h"

#include "app/commands/box_commands.h"
#include "app/commands/camera_commands.h"
#include "app/commands/cell_mode.h"
#include "app/commands/cut_commands.h"
#include "app/commands/document_commands.h"
#include "app/commands/menu_commands.h"
#include "app/commands/mirror_commands.h"
#include "app/commands/strokes.h"
#include "app/input/gestures.h"
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

// Ctrl with a letter: the menus' shortcuts. Any other letter does nothing,
// so that a shortcut the table does not know never picks a tool or colour.
bool handleShortcut(App& app, int letter, bool shift) {
    int command = 0;
    switch (letter) {
    case 'N': command = command::kNew; break;
    case 'O': command = command::kOpen; break;
    case 'S': command = shift ? command::kSaveAs : command::kSave; break;
    case 'E': command = command::kExportImage; break;
    case 'Q': command = command::kQuit; break;
    case 'Z': command = shift ? command::kRedo : command::kUndo; break;
    case 'Y': command = command::kRedo; break;
    case 'X': command = command::kCut; break;
    case 'C': command = command::kCopy; break;
    case 'V': command = command::kPaste; break;
    case 'A': command = shift ? command::kSelectNone : command::kSelectAll; break;
    default: return false;
    }
    runMenuCommand(app, command);
    return true;
}

}  // namespace

bool handleKey(App& app, int key) {
    const int letter = key & 0xff;
    if ((key & key::kCtrl) || (letter >= 'A' && letter <= 'Z' && app.platform.ctrlDown()))
        return handleShortcut(app, letter, (key & key::kShift) != 0);
    const SelectionTarget selection{app.history, app.model(), app.edit, app.flags};
    if (moveByKey(app, key)) return true;
    if (const int view = presetOfKey(key); view >= 0) {
        presetView(app.model(), view);
        return true;
    }
    if (const std::optional<Tool> tool = toolOfKey(key)) {
        selectTool(selection, *tool);
        leaveSelectMode(app);
        leaveCellMode(app);
        return true;
    }
    switch (key) {
    case key::kEscape:
        // A user in select or cell mode expects Esc to leave the mode, not the program.
        if (app.selection.selectMode) {
            app.gestures.boxSelecting = 0;  // a box being dragged is dropped
            leaveSelectMode(app);
            return true;
        }
        if (app.cellMode.active) {
            leaveCellMode(app);
            return true;
        }
        quitProgram(app);
        return false;
    case key::kF1: showHelp(app); return false;
    case key::kSpace:
        endGestures(app);
        snapView(app.model());
        return true;
    case 'T': pressMaterialButton(selection, Material::A); return true;
    case 'G': pressMaterialButton(selection, Material::B); return true;
    case 'H': return stepColourSlot(selection, +1) != 0;
    case 'Y': return stepColourSlot(selection, -1) != 0;
    case 'Z':
        if (!app.gestures.strokeActive && !app.gestures.rotateActive) toggleDisplay(app, command::kZoom);
        return true;
    case 'X': toggleDisplay(app, command::kSmooth); return true;
    case 'M': runMirrorCommand(app, command::kMirrorToCursor); return true;
    case 'B': runMenuCommand(app, command::kSelectMode); return true;
    case 'N': runMenuCommand(app, command::kCellMode); return true;
    case 'P': runMenuCommand(app, command::kFillConnected); return true;
    case 'U':
    case 'J':
    case 'K':
    case 'L': return runCutCommand(app, cutCommandOfKey(key));
    case key::kDelete: return runBoxCommand(app, command::kDelete);
    case key::kHome: runCameraCommand(app, command::kFrameModel); return true;
    case 'O': runCameraCommand(app, command::kOrthographic); return true;
    case 'C':
    case 'V':
        stepBrushSize(app.model().brushSize, key == 'C' ? -1 : +1);
        forcedStrokeStep(app);
        return true;
    default: return false;
    }
}

}  // namespace cubrik
