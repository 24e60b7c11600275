#pragma once
// The desktop of a replay: dialogs take their answers from the session, the
// pointer is where the last mouse line put it, the panel has fixed colours so
// that grabs are the same everywhere, and nothing is shown.

#include <deque>

#include "app/state/platform_interface.h"
#include "app/session/session.h"

namespace cubrik {

class ReplayPlatform final : public Platform {
public:
    std::deque<SessionLine> answers;  // answer lines not yet taken, in order
    bool shift = false;
    bool ctrl = false;
    std::optional<ClientPoint> pointer;
    std::string lastShownMessage;
    std::optional<std::string> clipboard;
    bool quitRequested = false;
    double clock = 0;  // moved by wait lines only

    void invalidate() override {}
    void setWindowTitle(const std::string&) override {}
    WindowPlacement normalPlacement() override { return {0, 0, 580, 564}; }
    void showMaximized() override {}
    void postQuit(int) override { quitRequested = true; }
    void setMenuChecked(int, bool) override {}
    void setMenuEnabled(int, bool) override {}
    void captureMouse() override {}
    void releaseMouse() override {}
    bool shiftDown() override { return shift; }
    bool ctrlDown() override { return ctrl; }
    std::optional<ClientPoint> cursorPosition() override { return pointer; }
    void inputMethodOff() override {}
    void setSelectCursor(bool) override {}
    // A replay's clipboard is its own, so a session never sees the desktop's.
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::optional<std::string> clipboardText() override { return clipboard; }
    Reply askYesNoCancel(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial,
                                              std::array<std::uint32_t, 16>& customColours) override;
    std::optional<CellBox> askCellBox(const std::string& title, const std::string& prompt,
                                      const CellBox& initial) override;
    std::optional<VoxelizeOptions> askMeshImport(const MeshImportRequest& request) override;
    std::optional<int> askNumber(const std::string& title, const std::string& prompt, int initial, int minimum,
                                 int maximum) override;
    // A session holds no answers for these: the dialogs are cancelled, so a
    // replay leaves the model, its history and the disk as they were.
    std::optional<PictureOptions> askPictureOptions(const PictureTexts&, const PictureOptions&) override {
        return std::nullopt;
    }
    std::optional<TurntableOptions> askTurntableOptions(const PictureTexts&, const TurntableOptions&) override {
        return std::nullopt;
    }
    // Not reached while the dialogs above cancel; were it, the work would run to its end at once.
    void showPictureWindow(std::shared_ptr<PictureJob> job, const std::string&, const PictureTexts&,
                           const FileDialogRequest&) override {
        runToEnd(*job);
    }
    void runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string&, const PictureTexts&,
                         const std::string&) override {
        runToEnd(*job);
    }
    bool tabletPresent() override { return true; }
    PanelColours panelColours() override { return {}; }
    bool openHelp(const std::string&) override { return true; }
    void makeGlCurrent() override {}
    void doneGlCurrent() override {}
    double now() override { return clock; }
    bool writesInBackground() override { return false; }

private:
    // The first waiting answer when it is of `kind` or a cancel; otherwise
    // the dialog is cancelled and the answer waits for its own kind.
    std::optional<SessionLine> take(SessionLine::Answer kind);
};

}  // namespace cubrik
