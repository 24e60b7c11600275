#pragma once
// `cubrik --record`: the ordinary window also writes every message it hands
// to the window procedure, and the answers its dialogs gave, as session
// lines that `--replay` runs again.

#include <cstdio>
#include <string>

#include "app/state/app.h"
#include "app/session/session.h"

namespace cubrik {

// The lines go to a temporary file beside the session file, flushed one by
// one, so a crash leaves them readable there; the file takes the session's
// name when the recording ends.
class SessionRecorder {
public:
    ~SessionRecorder();  // ends the recording
    // Returns 1, or 0 with `reason` (and nothing created or changed) when
    // `path` names a model or image file, an existing file that is not a
    // session file, or the temporary file cannot be created.
    int open(const std::string& path, std::string& reason);
    // Closes the file and gives it the session's name. Returns 1, or 0 with
    // `reason` saying where the recording stayed.
    int close(std::string& reason);
    // Writes and flushes one line, so a crash leaves the log up to the crash.
    void write(const SessionLine& line);

    // Writes a wait line when at least a second has passed on `now` since the
    // time the lines so far stand for; the first call only starts the clock.
    void keepTime(double now);

    int width = -1, height = -1;  // the client size the last size line gave

private:
    std::FILE* file_ = nullptr;
    std::string path_, temporary_;
    double clock_ = -1;  // the time the replay will have reached; < 0: not started
};

// Passes everything to the real desktop and writes down what the replay
// cannot know: dialog answers, the Shift and Ctrl states when they change,
// and cells another window put on the clipboard.
class RecordingPlatform final : public Platform {
public:
    RecordingPlatform(Platform& desktop, SessionRecorder& recorder) : desktop_(desktop), recorder_(recorder) {}

    // Whether Ctrl was found held since the last call: a key is then ctrl+z or ctrl+y.
    bool takeCtrlSeen();

    void invalidate() override { desktop_.invalidate(); }
    void setWindowTitle(const std::string& title) override { desktop_.setWindowTitle(title); }
    WindowPlacement normalPlacement() override { return desktop_.normalPlacement(); }
    void showMaximized() override { desktop_.showMaximized(); }
    void postQuit(int exitCode) override { desktop_.postQuit(exitCode); }
    void setMenuChecked(int command, bool checked) override { desktop_.setMenuChecked(command, checked); }
    void setMenuEnabled(int command, bool enabled) override { desktop_.setMenuEnabled(command, enabled); }
    void setStatusText(const StatusLine& line) override { desktop_.setStatusText(line); }
    void setRecentFiles(const std::vector<std::string>& paths) override { desktop_.setRecentFiles(paths); }
    void showPrintFindings(const std::string& title, const std::vector<std::string>& rows) override {
        desktop_.showPrintFindings(title, rows);
    }
    void captureMouse() override { desktop_.captureMouse(); }
    void releaseMouse() override { desktop_.releaseMouse(); }
    bool shiftDown() override;
    bool ctrlDown() override;
    std::optional<ClientPoint> cursorPosition() override { return desktop_.cursorPosition(); }
    // Written as a pointer line where the replay's pointer would be elsewhere.
    std::optional<ClientPoint> commandPointer() override;
    // A message line about to be handled: the replay's pointer follows it as the replay will.
    void followPointer(const Message& message);
    void inputMethodOff() override { desktop_.inputMethodOff(); }
    void setSelectCursor(bool selecting) override { desktop_.setSelectCursor(selecting); }
    void setCellCursor(bool placing) override { desktop_.setCellCursor(placing); }
    void setClipboardText(const std::string& text) override;
    std::optional<std::string> clipboardText() override;
    Reply askYesNoCancel(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& text) override {
        desktop_.showMessage(caption, text);
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial,
                                              std::array<std::uint32_t, 16>& customColours) override;
    std::optional<CellBox> askCellBox(const std::string& title, const std::string& prompt,
                                      const CellBox& initial) override;
    std::optional<VoxelizeOptions> askMeshImport(const MeshImportRequest& request) override;
    void runAndWait(const std::string& title, const std::function<void(const ImportControl&)>& work) override {
        desktop_.runAndWait(title, work);
    }
    std::optional<int> askNumber(const std::string& title, const std::string& prompt, int initial, int minimum,
                                 int maximum) override;
    // Not written down: a replay cancels these dialogs, and what they start
    // changes neither the model nor its history.
    std::optional<PictureOptions> askPictureOptions(const PictureTexts& text, const PictureOptions& initial) override {
        return desktop_.askPictureOptions(text, initial);
    }
    std::optional<TurntableOptions> askTurntableOptions(const PictureTexts& text,
                                                        const TurntableOptions& initial) override {
        return desktop_.askTurntableOptions(text, initial);
    }
    void showPictureWindow(std::shared_ptr<PictureJob> job, const std::string& title, const PictureTexts& text,
                           const FileDialogRequest& save) override {
        desktop_.showPictureWindow(std::move(job), title, text, save);
    }
    void runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string& title, const PictureTexts& text,
                         const std::string& lead) override {
        desktop_.runWithProgress(std::move(job), title, text, lead);
    }
    bool tabletPresent() override { return desktop_.tabletPresent(); }
    PanelColours panelColours() override { return desktop_.panelColours(); }
    bool openHelp(const std::string& path) override { return desktop_.openHelp(path); }
    void makeGlCurrent() override { desktop_.makeGlCurrent(); }
    void doneGlCurrent() override { desktop_.doneGlCurrent(); }
    double now() override { return desktop_.now(); }
    bool writesInBackground() override { return desktop_.writesInBackground(); }

private:
    void answer(SessionLine::Answer kind, const std::string& text = "", std::uint32_t colour = 0);
    std::optional<std::string> recordFile(const std::optional<std::string>& chosen);

    Platform& desktop_;
    SessionRecorder& recorder_;
    bool shift_ = false;  // a replay starts with Shift up
    bool ctrl_ = false;   // ... and Ctrl
    bool ctrlSeen_ = false;
    std::optional<ClientPoint> replayPointer_;  // where the replay has the pointer
    std::string replayClipboard_;  // what the replay's clipboard holds at this point
};

// The settings a replay cannot read: the background, both palettes and a
// changed recovery interval. Starts the recording's clock.
void recordStartState(SessionRecorder& recorder, const Settings& settings, double now);

void recordTabletPacket(SessionRecorder& recorder, const TabletPacket& packet);

// Hands `message` to the window procedure, then writes it down after the
// answers its dialogs gave. Size messages carry the client size; a paint of
// another size than the last size line is preceded by one. A message is
// preceded by a wait line when a second or more has passed; a timer tick is
// written only as the wait before the recovery copy it took.
int handleAndRecord(App& app, const Message& message, SessionRecorder& recorder, RecordingPlatform& platform);

}  // namespace cubrik
