#include "app/commands/menu_commands.h"

#include "app/commands/box_commands.h"
#include "app/commands/camera_commands.h"
#include "app/commands/cell_mode.h"
#include "app/commands/cut_commands.h"
#include "app/commands/desktop_commands.h"
#include "app/commands/document_commands.h"
#include "app/commands/mesh_import_command.h"
#include "app/commands/mirror_commands.h"
#include "app/commands/palette_commands.h"
#include "app/commands/picture_import.h"
#include "app/commands/selection_export.h"
#include "app/commands/print_check_commands.h"
#include "app/commands/picture_commands.h"
#include "app/commands/shape_commands.h"
#include "app/commands/undo_steps.h"
#include "render/camera.h"

namespace cubrik {
namespace {

std::int32_t* toggleOf(App& app, int command) {
    switch (command) {
    case command::kSmooth: return &app.toggles.smoothDisplay;
    case command::kZoom: return &app.toggles.zoomed;
    case command::kPressureInput: return &app.toggles.pressureInput;
    default: return nullptr;
    }
}

}  // namespace

void toggleDisplay(App& app, int command) {
    std::int32_t* value = toggleOf(app, command);
    if (value == nullptr) return;
    *value = !*value;
    app.platform.setMenuChecked(command, *value != 0);
    endGestures(app);
}

void runMenuCommand(App& app, int command) {
    switch (command) {
    case command::kNew: newDocument(app); break;
    case command::kOpen: openDocument(app); break;
    case command::kSave: saveDocument(app); break;
    case command::kSaveAs: saveDocumentAs(app); break;
    case command::kExportImage: exportImage(app); break;
    case command::kImportMesh: importMesh(app); break;
    case command::kImportPicture: importPictureAsCells(app); break;
    case command::kExportSelection: exportSelection(app); break;
    case command::kRenderPicture: renderPicture(app); break;
    case command::kExportTurntable: exportTurntableOfView(app); break;
    case command::kQuit: quitProgram(app); break;
    case command::kUndo: undo(app.history, app.model(), app.edit, app.flags); break;
    case command::kRedo: redo(app.history, app.model(), app.edit, app.flags); break;
    case command::kSmooth:
    case command::kZoom:
    case command::kPressureInput: toggleDisplay(app, command); break;
    case command::kBackgroundColour: chooseBackgroundColor(app); break;
    case command::kImportPalette: importPalette(app); break;
    case command::kExportPalettes: exportPalettes(app); break;
    case command::kSelectMode:
        leaveCellMode(app);
        enterSelectMode(app);
        break;
    case command::kCellMode: enterCellMode(app); break;
    case command::kCheckForPrinting: showPrintCheck(app); break;
    case command::kDeleteFloatingParts: deleteFloatingParts(app); break;
    case command::kHelp: showHelp(app); break;
    case command::kAbout: showAbout(app); break;
    default:
        if (command >= command::kFirstView && command <= command::kLastView)
            presetView(app.model(), command - command::kFirstView);
        else if (command >= command::kMirrorX && command <= command::kMirrorToModelCentre)
            runMirrorCommand(app, command);
        else if (command >= command::kFirstUndoSteps && command <= command::kLastUndoSteps)
            chooseUndoSteps(app, command);
        else if (command >= command::kFirstRecent && command < command::kFirstRecent + command::kRecentCount)
            openRecent(app, command - command::kFirstRecent);
        else if ((command >= command::kFrameModel && command <= command::kFloorGrid) ||
                 command == command::kOrthographic || command == command::kAmbientOcclusion ||
                 command == command::kCellEdges)
            runCameraCommand(app, command);
        else if (!runShapeCommand(app, command) && !runCutCommand(app, command))
            runBoxCommand(app, command);
        break;
    }
}

}  // namespace cubrik
