#pragma once
// Everything the application asks of the desktop. The Qt window implements
// it; tests implement it with a scripted fake, so the key and menu tables,
// the gestures, the paint rule and the document commands run without Qt.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/state/background_job.h"
#include "app/text/picture_text.h"
#include "app/text/ui_text.h"
#include "formats/import/voxelize.h"
#include "model/cell_box.h"
#include "panel/panel_draw.h"

namespace cubrik {

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;  // the first is selected
    std::string folder;               // where the dialog opens
    std::string proposedName;         // save dialogs only
    std::string defaultExtension;     // added when the user types none
};

struct ClientPoint {
    int x = 0, y = 0;
    friend bool operator==(const ClientPoint&, const ClientPoint&) = default;
};

struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

enum class Reply { Yes, No, Cancel };

// What Render picture… asks before it starts.
struct PictureOptions {
    int width = 0, height = 0;
    int samples = 0;
    double sunAzimuth = 0, sunElevation = 0;  // degrees
    bool floor = false;
};

// What Export turntable… asks besides the file.
struct TurntableOptions {
    int frames = 0;
    int width = 0, height = 0;
    bool pathTraced = false;
    int samples = 0;
};

// Import mesh…'s question: the cells along the mesh's longest side and solid
// or surface, with the size in cells the answer gives shown as it changes.
struct MeshImportRequest {
    std::string title, cellsLabel, solidLabel, surfaceLabel;
    std::string sizePreview;       // "%s cells"
    std::array<double, 3> meshSize{};  // the mesh's bounding box, for the preview
    VoxelizeOptions initial{};
};

// The status bar's fields, left to right, and the latest message apart, so a
// narrow bar can leave fields out and still show the message whole. The
// places (the box and the cell under the pointer) are what a user reads while
// placing things, so they outlast the fields that say the editing state.
struct StatusLine {
    std::vector<std::string> fields;
    std::string note;
    std::vector<std::string> places = {};  // shown between the fields and the note
    friend bool operator==(const StatusLine&, const StatusLine&) = default;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Window
    virtual void invalidate() = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    virtual WindowPlacement normalPlacement() = 0;  // the restored window
    virtual void showMaximized() = 0;
    virtual void postQuit(int exitCode) = 0;
    virtual void setMenuChecked(int command, bool checked) = 0;
    virtual void setMenuEnabled(int command, bool enabled) = 0;
    // The status bar under the view (outside the client area); showing it
    // must not repaint the view. Desktops without one ignore it.
    virtual void setStatusText(const StatusLine& /*line*/) {}
    // The print check's findings, one a row, in a list beside the view that
    // stays open while the user works; choosing row i sends a ChooseFinding
    // message with row i. Desktops without one ignore it.
    virtual void showPrintFindings(const std::string& /*title*/, const std::vector<std::string>& /*rows*/) {}
    // The entries of File > Open recent, newest first; entry i sends
    // command::kFirstRecent + i.
    virtual void setRecentFiles(const std::vector<std::string>& /*paths*/) {}

    // Mouse and keyboard
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
    virtual bool shiftDown() = 0;  // asked at the moment of the call
    virtual bool ctrlDown() = 0;
    // Where the pointer is now, in client pixels (not where the last mouse
    // message happened); nothing when it cannot be told.
    virtual std::optional<ClientPoint> cursorPosition() = 0;
    // Where the pointer was when the running command was given: for a menu
    // item, where it was over the view as the menu opened (nothing when it
    // was elsewhere, as it is when the mouse opened the menu); otherwise now.
    virtual std::optional<ClientPoint> commandPointer() { return cursorPosition(); }
    virtual void inputMethodOff() = 0;
    // The pointer over the view shows whether the left button draws selection boxes.
    virtual void setSelectCursor(bool selecting) = 0;
    // ... and whether it adds and empties single cells (cell mode).
    virtual void setCellCursor(bool /*placing*/) {}

    // The system clipboard, as text.
    virtual void setClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> clipboardText() = 0;

    // Dialogs; a cancelled dialog gives no value.
    // Yes, No or Cancel; Esc and closing the box give Cancel.
    virtual Reply askYesNoCancel(const std::string& caption, const std::string& text) = 0;
    virtual void showMessage(const std::string& caption, const std::string& text) = 0;
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;
    // Colours are 0x00BBGGRR values.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial,
                                                      std::array<std::uint32_t, 16>& customColours) = 0;
    // Six numbers, two corner cells from 0 to 99, filled in with `initial`'s corners.
    virtual std::optional<CellBox> askCellBox(const std::string& title, const std::string& prompt,
                                              const CellBox& initial) = 0;
    // The cells and solid or surface for a mesh import; nothing when cancelled.
    virtual std::optional<VoxelizeOptions> askMeshImport(const MeshImportRequest& request) = 0;
    // Runs `work` off the window's thread, the window still drawing, while a
    // progress box titled `title` follows `control.permille` and its Cancel
    // sets `control.cancel`; returns when the work has ended. Without a
    // window the work runs in place.
    virtual void runAndWait(const std::string& /*title*/, const std::function<void(const ImportControl&)>& work) {
        work(ImportControl{});
    }
    // A whole number from `minimum` to `maximum`, filled in with `initial`.
    virtual std::optional<int> askNumber(const std::string& title, const std::string& prompt, int initial,
                                         int minimum, int maximum) = 0;
    // Render picture… and Export turntable…'s settings, filled in with `initial`.
    virtual std::optional<PictureOptions> askPictureOptions(const PictureTexts& text,
                                                            const PictureOptions& initial) = 0;
    virtual std::optional<TurntableOptions> askTurntableOptions(const PictureTexts& text,
                                                                const TurntableOptions& initial) = 0;
    // A window of its own, titled `title`, that runs `job` in the background
    // and shows the picture as it refines, with its progress, Cancel, and
    // Save (which asks with `save`). The call returns at once; editing goes on.
    virtual void showPictureWindow(std::shared_ptr<PictureJob> job, const std::string& title, const PictureTexts& text,
                                   const FileDialogRequest& save) = 0;
    // Runs `job` in the background under a progress bar titled `title`, with
    // Cancel; a failure is then shown in a message box, `lead` first. The
    // call returns at once; editing goes on.
    virtual void runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string& title, const PictureTexts& text,
                                 const std::string& lead) = 0;
    // Whether a pen tablet is known at start-up.
    virtual bool tabletPresent() = 0;
    // The desktop's button colours for the tool panel, asked once at start-up.
    virtual PanelColours panelColours() = 0;
    // Shows the help document; false when it could not be shown.
    virtual bool openHelp(const std::string& path) = 0;

    // Rendering outside the paint handler (image export) needs the window's
    // OpenGL context current; the paint handler has it already.
    virtual void makeGlCurrent() = 0;
    virtual void doneGlCurrent() = 0;

    // Seconds on the wall clock; a replay's clock starts at 0 and moves only
    // with its wait lines, so timed behaviour replays the same everywhere.
    virtual double now() = 0;

    // Whether slow disk work (the recovery copy) may go on in the background
    // after the call that began it; a replay writes at once, so its files
    // are on disk line by line.
    virtual bool writesInBackground() { return true; }
};

// Keeps the window's OpenGL context current for the life of the scope.
struct GlCurrent {
    explicit GlCurrent(Platform& platform) : platform_(platform) { platform_.makeGlCurrent(); }
    ~GlCurrent() { platform_.doneGlCurrent(); }
    GlCurrent(const GlCurrent&) = delete;
    GlCurrent& operator=(const GlCurrent&) = delete;
    Platform& platform_;
};

}  // namespace cubrik
