#pragma once
// A desktop for tests: records what the application asks of it and answers
// dialogs from a script.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/state/platform_interface.h"

namespace cubrik::testing {

class FakePlatform final : public Platform {
public:
    // Script: the answers the next dialogs give, in order. An empty optional
    // cancels a file or colour dialog. An unscripted dialog throws.
    std::deque<bool> yesNoAnswers;
    // Yes/No/Cancel questions take these first, then a yes-no answer.
    std::deque<Reply> replies;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::deque<std::optional<int>> numberAnswers;
    std::deque<std::optional<PictureOptions>> pictureAnswers;
    std::deque<std::optional<TurntableOptions>> turntableAnswers;
    bool cancelWork = false;  // Cancel on the progress bar once the work has begun
    bool helpOpens = true;
    bool shift = false;
    bool ctrl = false;
    std::optional<ClientPoint> cursor;

    // Record
    int invalidations = 0;
    std::string title;
    std::map<int, bool> checked;
    std::map<int, bool> enabled;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<FileDialogRequest> dialogs;
    std::vector<std::string> helpOpened;
    // The picture windows opened, with their renders not yet run: a test runs them when it likes.
    std::vector<std::shared_ptr<PictureJob>> pictureWindows;
    std::optional<int> quitCode;
    bool mouseCaptured = false;
    bool maximized = false;
    int inputMethodOffCount = 0;
    std::optional<std::string> clipboard;
    std::vector<std::string> findings;  // the rows the findings list shows
    int dialogsDuringGesture = 0;  // dialogs must never open while the mouse is captured
    WindowPlacement placement{30, 40, 700, 600};

    void invalidate() override { ++invalidations; }
    void setWindowTitle(const std::string& text) override { title = text; }
    WindowPlacement normalPlacement() override { return placement; }
    void showMaximized() override { maximized = true; }
    void postQuit(int exitCode) override { quitCode = exitCode; }
    void setMenuChecked(int command, bool on) override { checked[command] = on; }
    void setMenuEnabled(int command, bool on) override { enabled[command] = on; }
    void showPrintFindings(const std::string&, const std::vector<std::string>& rows) override { findings = rows; }
    void captureMouse() override { mouseCaptured = true; }
    void releaseMouse() override { mouseCaptured = false; }
    bool shiftDown() override { return shift; }
    bool ctrlDown() override { return ctrl; }
    std::optional<ClientPoint> cursorPosition() override { return cursor; }
    bool tabletPresent() override { return false; }
    PanelColours panelColours() override { return {}; }
    void inputMethodOff() override { ++inputMethodOffCount; }
    void setSelectCursor(bool) override {}
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::optional<std::string> clipboardText() override { return clipboard; }
    Reply askYesNoCancel(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial,
                                              std::array<std::uint32_t, 16>& customColours) override;
    std::optional<CellBox> askCellBox(const std::string&, const std::string&, const CellBox&) override {
        noteDialog();
        return std::nullopt;
    }
    std::optional<VoxelizeOptions> askMeshImport(const MeshImportRequest&) override {
        noteDialog();
        return std::nullopt;
    }
    std::optional<int> askNumber(const std::string&, const std::string&, int, int, int) override;
    std::optional<PictureOptions> askPictureOptions(const PictureTexts&, const PictureOptions&) override {
        noteDialog();
        return next(pictureAnswers, "picture dialog");
    }
    std::optional<TurntableOptions> askTurntableOptions(const PictureTexts&, const TurntableOptions&) override {
        noteDialog();
        return next(turntableAnswers, "turntable dialog");
    }
    void showPictureWindow(std::shared_ptr<PictureJob> job, const std::string&, const PictureTexts&,
                           const FileDialogRequest&) override {
        pictureWindows.push_back(std::move(job));
    }
    // Runs the work on a worker thread, as the window does, and waits for it.
    void runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string& title, const PictureTexts& text,
                         const std::string& lead) override;
    bool openHelp(const std::string& path) override;
    void makeGlCurrent() override {}
    void doneGlCurrent() override {}
    double now() override { return clock; }
    bool writesInBackground() override { return backgroundWrites; }

    double clock = 0;
    bool backgroundWrites = false;  // tests see the files written by the time a call returns

private:
    void noteDialog();
    template <class T>
    static T next(std::deque<T>& answers, const char* dialog);
};

}  // namespace cubrik::testing
