#include "app/commands/document_commands.h"

#include <filesystem>

#include "app/commands/cut_commands.h"
#include "app/commands/desktop_commands.h"
#include "app/commands/frame.h"
#include "app/commands/window_status.h"
#include "app/state/version.h"
#include "formats/file_format.h"
#include "io/atomic_file.h"
#include "io/path_names.h"
#include "model/material.h"
#include "model/model_file.h"
#include "render/camera.h"
#include "render/export_image.h"

namespace cubrik {
namespace {

constexpr const char* kCaption = "Cubrik";

void updateWindowTitle(App& app) { refreshWindowTexts(app); }

// Untitled1, Untitled2, ... for the rest of the run.
void giveAutomaticName(App& app) {
    const std::string name = app.strings().untitledBase + std::to_string(app.document.untitledCounter++);
    app.document.path = name + ".cbk";
    app.document.title = name;
    app.document.untitled = 1;
}

void setPalettesFromSettings(App& app) {
    for (int i = 0; i < kPaletteSize; ++i) {
        app.model().paletteA[i] = unpackColour(app.settings.materialA[i]);
        app.model().paletteB[i] = unpackColour(app.settings.materialB[i]);
    }
}

bool writeNative(App& app, const std::string& path) {
    std::string reason;
    if (!writeModelFile(path, app.model(), reason)) {
        reportFailure(app, fillIn(app.strings().cannotSave, path), reason);
        return false;
    }
    app.flags.modelModified = 0;
    rememberRecent(app, path);
    return true;
}

// The document takes the name of the file it was read from. Another editor's
// file (or a picture) is not what Save writes, so the document stays unsaved
// under the .cbk name beside it: Save then asks, proposing that name.
void nameAfterFile(App& app, const std::string& path) {
    const FileFormat* format = formatOf(path);
    const bool native = format != nullptr && isNativeFormat(*format);
    app.document.path = native ? path : std::filesystem::path(path).replace_extension(".cbk").string();
    app.document.title = titleOf(path);
    app.document.lastFolder = folderOf(path);
    app.document.untitled = native ? 0 : 1;
}

// ... and Open recent lists it. A merge of colours is said, with what else reading did.
void adoptOpenedFile(App& app, const std::string& path, const ReadReport& report) {
    nameAfterFile(app, path);
    rememberRecent(app, path);
    if (report.coloursMerged) reportFailure(app, fillIn(app.strings().coloursMerged, path), report.notes);
    else if (!report.notes.empty())
        setStatusNote(app, std::filesystem::path(path).filename().string() + ": " + report.notes);
}

// A read-only file stays as it is; as other editors do, Save says so and
// offers to save the model under another name.
void offerSaveAsForReadOnly(App& app) {
    endGestures(app);
    if (app.platform.askYesNoCancel(kCaption, fillIn(app.strings().readOnlySaveAs, app.document.path)) == Reply::Yes)
        saveDocumentAs(app);
}

}  // namespace

void reportFailure(App& app, const std::string& lead, const std::string& reason) {
    endGestures(app);
    app.platform.showMessage(kCaption, reason.empty() ? lead : lead + "\n" + reason);
}

std::optional<std::string> askForFile(App& app, bool saving, const FileDialogRequest& request) {
    endGestures(app);
    auto chosen = saving ? app.platform.saveFileDialog(request) : app.platform.openFileDialog(request);
    app.platform.inputMethodOff();
    return chosen;
}

bool askToSave(App& app) {
    if (!app.flags.modelModified) return true;
    endGestures(app);
    switch (app.platform.askYesNoCancel(kCaption, fillIn(app.strings().unsavedPrompt, app.document.title))) {
    case Reply::Yes: return saveDocumentAs(app) == 1 && !app.flags.modelModified;
    case Reply::No: return true;
    case Reply::Cancel: break;
    }
    return false;
}

int openStartupDocument(App& app) {
    if (!resetModel(app.store)) return 0;
    setPalettesFromSettings(app);
    const std::string& name = app.commandLineName;
    bool opened = false;
    if (!name.empty() && !isOpenableModel(name)) {
        noteStartupProblem(app, fillIn(app.strings().cannotOpen, name),
                           std::filesystem::exists(name) ? "it is not a model file" : "there is no such file");
    } else if (!name.empty()) {
        ModelFileContents contents;
        ReadReport report;
        std::string reason;
        opened = readAnyModelFile(name, contents, report, reason) == 1;
        if (opened) {
            applyModelFile(contents, app.model());
            adoptOpenedFile(app, name, report);
        } else {
            reportFailure(app, fillIn(app.strings().cannotOpen, name), reason);
            noteStartupProblem(app, fillIn(app.strings().cannotOpen, name), reason);
        }
    }
    if (!opened) giveAutomaticName(app);
    updateWindowTitle(app);
    app.flags.modelModified = 0;
    return 1;
}

void newDocument(App& app) {
    if (!askToSave(app)) return;
    pushUndo(app.history, app.model(), app.edit, app.flags);
    if (!resetModel(app.store)) return;
    endCutAway(app);
    giveAutomaticName(app);
    updateWindowTitle(app);
    app.flags.modelModified = 0;
}

void openDocument(App& app) {
    if (!askToSave(app)) return;
    const UiStrings& text = app.strings();
    const auto chosen = askForFile(app, false, {text.openTitle, text.openFilters, app.document.lastFolder, "", "cbk"});
    if (!chosen) return;
    readDocument(app, *chosen);
}

void openDocumentFile(App& app, const std::string& path) {
    if (askToSave(app)) readDocument(app, path);
}

void readDocument(App& app, const std::string& path) {
    const UiStrings& text = app.strings();
    app.document.lastFolder = folderOf(path);
    ModelFileContents contents;
    ReadReport report;
    std::string reason;
    if (!readAnyModelFile(path, contents, report, reason)) {
        if (!std::filesystem::exists(path) && forgetRecent(app, path)) reportFailure(app, fillIn(text.recentGone, path), "");
        else reportFailure(app, fillIn(text.cannotOpen, path), reason);
        return;
    }
    replaceModel(app, contents, path);
    adoptOpenedFile(app, path, report);
    updateWindowTitle(app);
}

void replaceModel(App& app, const ModelFileContents& contents, const std::string& path) {
    pushUndo(app.history, app.model(), app.edit, app.flags);
    applyModelFile(contents, app.model());
    presetView(app.model(), kFrontView);  // an opened model starts in the front view
    resetEditState(app.edit, app.panel, app.model());
    endCutAway(app);
    nameAfterFile(app, path);
    app.flags.modelModified = 0;
}

void saveDocument(App& app) {
    if (app.document.untitled) saveDocumentAs(app);
    else if (isReadOnlyFile(app.document.path)) offerSaveAsForReadOnly(app);
    else writeNative(app, app.document.path);
}

int saveDocumentAs(App& app) {
    const UiStrings& text = app.strings();
    const auto chosen = askForFile(app, true, {text.saveTitle, text.saveFilters, app.document.lastFolder,
                                               titleOf(app.document.path), "cbk"});
    if (!chosen) return 0;
    const std::string& path = *chosen;
    app.document.lastFolder = folderOf(path);
    const FileFormat* format = formatOf(path);
    if (format != nullptr && isNativeFormat(*format)) {
        app.document.exportPath.clear();
        app.document.exportTitle.clear();
        if (!writeNative(app, path)) return 0;
        app.document.path = path;
        app.document.title = titleOf(path);
        app.document.untitled = 0;
        updateWindowTitle(app);
        return 1;
    }
    const Reply colourParts = format != nullptr ? askForColourParts(app, *format) : Reply::No;
    if (colourParts == Reply::Cancel) return 0;
    app.document.exportPath = path;
    app.document.exportTitle = titleOf(path);
    if (format == nullptr || !format->writesModel()) {
        reportFailure(app, fillIn(text.unknownSaveType, path), "");
        return 0;
    }
    std::string reason;
    if (writeByFormat(app, app.store, *format, path, colourParts == Reply::Yes, reason)) return 1;
    reportFailure(app, fillIn(text.cannotExport, path), reason);
    return 0;
}

Reply askForColourParts(App& app, const FileFormat& format) {
    if (!format.saveAsAsksForParts) return Reply::No;
    return app.platform.askYesNoCancel(kCaption, app.strings().colourPartsQuestion);
}

int writeByFormat(App& app, const ModelStore& store, const FileFormat& format, const std::string& path,
                  bool colourParts, std::string& reason) {
    if (format.writeModel != nullptr) return format.writeModel(path, *store.model, reason);
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, app.toggles.smoothDisplay != 0};
    const MeshWriter write = colourParts ? format.writeColourParts : format.writeMesh;
    return write(app.meshExtractor, source, path, reason);
}

void exportImage(App& app) {
    const UiStrings& text = app.strings();
    const auto chosen = askForFile(app, true, {text.imageTitle, text.imageFilters, app.document.lastFolder,
                                               titleOf(app.document.title), "png"});
    if (!chosen) return;
    const FileFormat* format = formatOf(*chosen);
    if (format == nullptr || !isImage(*format)) {
        app.document.exportPath.clear();
        app.document.exportTitle.clear();
        reportFailure(app, fillIn(text.unknownImageType, *chosen), "");
        return;
    }
    app.document.exportPath = *chosen;
    app.document.exportTitle = titleOf(*chosen);
    app.document.lastFolder = folderOf(*chosen);
    std::string reason;
    int rendered = 0;
    {
        const GlCurrent current(app.platform);
        rendered = renderExportImage(app.renderer, viewInputsOf(app), reason);
    }
    if (!rendered) {
        reportFailure(app, fillIn(text.cannotExport, *chosen), reason);
        return;
    }
    if (!format->writeImage(*chosen, app.renderer.exportWidth, app.renderer.exportHeight, app.renderer.exportPixels, reason))
        reportFailure(app, fillIn(text.cannotExport, *chosen), reason);
}

void quitProgram(App& app) {
    if (!askToSave(app)) return;
    endRecovery(app);  // answered: nothing unsaved is wanted any more
    const WindowPlacement placement = app.platform.normalPlacement();
    app.settings.windowX = placement.x;
    app.settings.windowY = placement.y;
    app.settings.windowWidth = placement.width;
    app.settings.windowHeight = placement.height;
    for (int i = 0; i < kPaletteSize; ++i) {
        app.settings.materialA[i] = packColour(app.model().paletteA[i]);
        app.settings.materialB[i] = packColour(app.model().paletteB[i]);
    }
    app.platform.postQuit(0);
}

int chooseBackgroundColor(App& app) {
    endGestures(app);
    const auto chosen = app.platform.chooseColour(static_cast<std::uint32_t>(app.settings.backgroundColor),
                                                  app.document.customColours);
    app.platform.inputMethodOff();
    if (!chosen) return 0;
    app.settings.backgroundColor = static_cast<std::int32_t>(*chosen);
    return 1;
}

void showHelp(App& app) {
    if (!app.platform.openHelp(app.paths.helpDocument))
        reportFailure(app, fillIn(app.strings().cannotOpen, app.paths.helpDocument), "");
}

void showAbout(App& app) {
    endGestures(app);
    app.platform.showMessage(app.strings().aboutCaption,
                             std::string(kVersionLine) + "\nA voxel modeller: sculpt and paint a 100 x 100 x 100 model.");
}

}  // namespace cubrik
