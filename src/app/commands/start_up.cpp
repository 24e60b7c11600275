#include "app/commands/start_up.h"

#include <clocale>

#include "app/commands/camera_commands.h"
#include "app/commands/document_commands.h"
#include "app/commands/mirror_commands.h"
#include "app/commands/undo_steps.h"
#include "app/commands/window_status.h"
#include "panel/icon_atlas.h"
#include "render/camera.h"

namespace cubrik {

int startUp(App& app) {
    std::setlocale(LC_ALL, "");  // the files the program writes format their numbers themselves
    enableBackFaceCulling();
    app.toggles.smoothDisplay = 1;
    app.platform.setMenuChecked(command::kSmooth, true);
    app.document.lastFolder = app.paths.desktopFolder;
    restoreMirrorPlanes(app);
    restoreViewSettings(app);
    const int recovered = offerRecoveryCopies(app);
    if (recovered < 0 || (recovered == 0 && !openStartupDocument(app))) return 0;
    if (!chooseRenderer(app.renderer)) return 0;
    app.panelColours = app.platform.panelColours();
    loadPanelTexture(app.panelTexture, embeddedIconAtlas(), embeddedDoubleIconAtlas());
    const KernelVariant variant = chooseKernelVariant();
    if (!allocateEditingBuffers(app.editing, variant)) return 0;
    app.toolKernels = toolKernelsFor(variant);
    if (!createUndoHistory(app.history, app.flags, app.settings.undoSteps)) return 0;
    showUndoSteps(app);
    if (!initMeshExtraction(app.meshExtractor)) return 0;
    if (app.window.startMaximized == 1) app.platform.showMaximized();
    app.tablet.tabletAvailable = app.platform.tabletPresent() ? 1 : 0;
    app.toggles.pressureInput = 0;
    app.platform.setMenuEnabled(command::kPressureInput, app.tablet.tabletAvailable != 0);
    app.platform.setRecentFiles(app.settings.recentFiles);
    refreshWindowTexts(app);
    return 1;
}

}  // namespace cubrik
