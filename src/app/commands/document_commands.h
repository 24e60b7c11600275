#pragma once
// The file commands and the small commands of the menus: the start-up
// document, New, Open, Save, Save as (which also exports meshes), Export an
// image, Quit, Background Color, Help and About.

#include <optional>
#include <string>

#include "app/state/app.h"
#include "formats/file_format.h"

namespace cubrik {

// Ends any gesture, then shows `lead` and the reason in a message box.
void reportFailure(App& app, const std::string& lead, const std::string& reason);

// Ends any gesture, then asks for a file to open or save; nothing when cancelled.
std::optional<std::string> askForFile(App& app, bool saving, const FileDialogRequest& request);

// Returns 1, or 0 when memory is exhausted.
int openStartupDocument(App& app);
void newDocument(App& app);
void openDocument(App& app);
// Open without its dialog (Open recent, a dropped file): the unsaved-changes
// question, then the file.
void openDocumentFile(App& app, const std::string& path);
// Reads `path` into the document as Open does once a file is chosen; a file
// that has gone is also taken off Open recent.
void readDocument(App& app, const std::string& path);
// Asks before unsaved changes are dropped. False when the user cancelled, or
// wanted them saved and they were not, so the asking command must not go on.
bool askToSave(App& app);
// Puts `contents` in place of the model as Open does (one undo step, the
// front view, the document named after `path` and unchanged); the window's
// texts are the caller's to refresh.
void replaceModel(App& app, const ModelFileContents& contents, const std::string& path);
void saveDocument(App& app);
// Returns 1 when something was written, 0 when cancelled or nothing was.
int saveDocumentAs(App& app);
// Whether to write a part per colour, where `format` asks (Yes, No or Cancel).
Reply askForColourParts(App& app, const FileFormat& format);
// Writes `store`'s model as `format` does, meshes smoothed as the view is and
// split into a part per colour where `colourParts`. Returns 1, or 0 with `reason`.
int writeByFormat(App& app, const ModelStore& store, const FileFormat& format, const std::string& path,
                  bool colourParts, std::string& reason);
void exportImage(App& app);
void quitProgram(App& app);
// Returns 1 when a colour was chosen.
int chooseBackgroundColor(App& app);
void showHelp(App& app);
void showAbout(App& app);

// A failure in a message box: `lead`, then `reason` on a line of its own.
void reportFailure(App& app, const std::string& lead, const std::string& reason);
// A file dialog, with any mouse gesture ended first; nothing when cancelled.
std::optional<std::string> askForFile(App& app, bool saving, const FileDialogRequest& request);

}  // namespace cubrik
