#include "app/session/replay.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/commands/camera_commands.h"
#include "app/commands/document_commands.h"
#include "app/commands/mirror_commands.h"
#include "app/commands/start_up.h"
#include "app/commands/strokes.h"
#include "app/commands/undo_steps.h"
#include "app/input/window_procedure.h"
#include "app/state/app.h"
#include "app/session/replay_platform.h"
#include "app/session/session_file.h"
#include "formats/image/targa.h"
#include "render/headless_context.h"
#include "render/offscreen_target.h"

namespace cubrik {
namespace {

// The client area of the replayed window: an offscreen target that stays
// bound as the window's framebuffer, sized by the size lines.
class ReplayWindow {
public:
    ~ReplayWindow() {
        binding_.reset();
        releaseOffscreenTarget(target_);
    }

    int width = 800, height = 600;  // before any size line
    bool painted = false;           // since the last size change

    int resize(int w, int h, std::string& reason) {
        width = w;
        height = h;
        painted = false;
        if (w == 0 || h == 0) return 1;  // nothing to draw into; painting draws nothing
        binding_.reset();
        if (!ensureOffscreenTarget(target_, w, h, reason)) return 0;
        binding_ = std::make_unique<OffscreenBinding>(target_);
        return 1;
    }

    // The last frame as a TARGA image; a screen has no transparency.
    int grab(const std::string& path, std::string& reason) {
        if (!painted || width == 0 || height == 0) {
            reason = "nothing has been painted at " + std::to_string(width) + " x " + std::to_string(height);
            return 0;
        }
        std::vector<std::uint8_t> pixels(4 * static_cast<std::size_t>(width) * height);
        readOffscreenPixels(target_, 0, 0, width, height, pixels.data());
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            std::swap(pixels[i], pixels[i + 2]);
            pixels[i + 3] = 255;
        }
        return writeTarga(path, width, height, pixels, reason);
    }

private:
    OffscreenTarget target_;
    std::unique_ptr<OffscreenBinding> binding_;
};

// A setting line counts as the settings file does at start-up: before the
// start the start-up takes it, after it what start-up applies is applied again
// (what the program reads as it goes needs nothing more).
void applySetting(App& app, const std::string& text, bool started) {
    parseSettings(std::u16string(text.begin(), text.end()), app.settings);
    if (!started) return;
    restoreMirrorPlanes(app);
    restoreViewSettings(app);
    applyUndoSteps(app);
}

class Replay {
public:
    explicit Replay(const ReplayOptions& options)
        : sessionPath_(options.sessionPath), modelPath_(options.modelPath), crashEndsProcess_(options.crashEndsProcess) {
        app_.paths.stateFolder = options.stateFolder;
    }

    // Every line is read once before any runs, so a session that does not
    // read does nothing, then again as it runs: only one line is in memory.
    int run(std::string& reason) {
        SessionFileReader reader;
        if (!checkSessionFile(sessionPath_, reason) || !reader.open(sessionPath_, reason)) return 0;
        if (!createHeadlessGlContext(gl_, reason)) return 0;
        std::string windowFailure;
        if (!window_.resize(window_.width, window_.height, windowFailure)) return fail(reason, 0, windowFailure);
        std::string text, failure;
        SessionLine line;
        int got = 0;
        while (!platform_.quitRequested && (got = reader.next(text, failure)) == 1) {
            if (!parseSessionLine(text, line, failure)) return fail(reason, reader.lineNumber(), failure);
            if (line.kind == SessionLine::Kind::Nothing) continue;
            if (line.kind == SessionLine::Kind::Crash) {
                if (crashEndsProcess_) std::_Exit(kCrashStatus);
                // In a test's process: nothing more of the program runs, but
                // the test's own memory and GL objects are given back.
                if (started_) releaseGlResources(app_);
                return kReplayCrashed;
            }
            if (!runLine(line, failure)) return fail(reason, reader.lineNumber(), failure);
        }
        if (got < 0) return fail(reason, 0, failure);
        if (started_) releaseGlResources(app_);
        return 1;
    }

private:
    int fail(std::string& reason, int lineNumber, const std::string& failure) {
        reason = lineNumber > 0 ? sessionPath_ + " line " + std::to_string(lineNumber) + ": " + failure : failure;
        if (started_) releaseGlResources(app_);
        return 0;
    }

    // The start-up of the window, once the lines that set its start state are read.
    int start(std::string& failure) {
        app_.commandLineName = modelPath_;
        if (!startUp(app_)) {
            failure = "the program could not start (out of memory)";
            return 0;
        }
        started_ = true;
        if (!platform_.lastShownMessage.empty()) {  // the start-up document could not be read
            failure = platform_.lastShownMessage;
            return 0;
        }
        return 1;
    }

    int runLine(const SessionLine& line, std::string& failure) {
        if (line.kind == SessionLine::Kind::Setting) {
            applySetting(app_, line.text, started_);
            return 1;
        }
        // Answers before anything else are there for the questions of start-up.
        if (line.kind == SessionLine::Kind::Answer && !started_) {
            platform_.answers.push_back(line);
            return 1;
        }
        if (!started_ && !start(failure)) return 0;
        switch (line.kind) {
        case SessionLine::Kind::Shift: platform_.shift = line.shift; return 1;
        case SessionLine::Kind::Ctrl: ctrl_ = line.ctrl; return 1;
        case SessionLine::Kind::Pointer: platform_.pointer = line.pointer; return 1;
        case SessionLine::Kind::Tablet: tabletPacketArrived(app_, line.packet); return 1;
        case SessionLine::Kind::Clipboard: platform_.clipboard = line.text; return 1;
        case SessionLine::Kind::Answer: platform_.answers.push_back(line); return 1;
        case SessionLine::Kind::Grab: return window_.grab(line.text, failure);
        case SessionLine::Kind::Save: return save(line.text, failure);
        case SessionLine::Kind::Message: return send(line, failure);
        case SessionLine::Kind::Wait:
            platform_.clock += line.seconds;
            handleMessage(app_, Message{MessageType::Timer});  // what the window's timer would notice
            return 1;
        default: return 1;
        }
    }

    int save(const std::string& path, std::string& failure) {
        SessionLine answer;
        answer.kind = SessionLine::Kind::Answer;
        answer.answer = SessionLine::Answer::File;
        answer.text = path;
        platform_.answers.push_front(answer);
        platform_.lastShownMessage.clear();
        const int saved = saveDocumentAs(app_);
        keepRecoveryCopy(app_);  // as at the end of the menu command's message
        if (saved) return 1;
        failure = platform_.lastShownMessage.empty() ? "cannot save " + path : platform_.lastShownMessage;
        for (char& c : failure)
            if (c == '\n') c = ' ';
        return 0;
    }

    int send(const SessionLine& line, std::string& failure) {
        Message message = line.message;
        switch (message.type) {
        case MessageType::Size:
            if (!window_.resize(message.width, message.height, failure)) return 0;
            break;
        case MessageType::Paint:
            message.width = window_.width;
            message.height = window_.height;
            if (app_.window.lastMessage != MessageType::Paint) window_.painted = true;
            break;
        default:
            if (setsPointer(message.type)) {
                platform_.pointer = ClientPoint{message.x, message.y};
                pickAsTheWindowsHoverWould(message.x, message.y);
            }
        }
        // A key line says Ctrl itself (ctrl+z); the mouse and the wheel follow the ctrl lines.
        platform_.ctrl = message.type == MessageType::KeyDown ? line.ctrl : ctrl_;
        handleMessage(app_, message);
        platform_.ctrl = false;
        return 1;
    }

    // The pick passes draw into a target of the client size, which the
    // window makes and first draws into as soon as the pointer enters the
    // view (the status bar's cell under it). A replay tracks no cell, so its
    // first mouse line over the view at a size picks once the same way, and
    // a stroke never pays for a new target (at 3840 x 2160 some 200 ms).
    void pickAsTheWindowsHoverWould(int x, int y) {
        const OffscreenTarget& target = app_.renderer.offscreen;
        const bool inView = x < window_.width && y >= 0 && y < window_.height;
        if (inView && (target.width != window_.width || target.height != window_.height)) visibleCellAt(app_, x, y);
    }

    static constexpr int kCrashStatus = 70;

    std::string sessionPath_, modelPath_;
    bool crashEndsProcess_;
    HeadlessGlContext gl_;
    ReplayWindow window_;
    ReplayPlatform platform_;
    App app_{platform_};
    bool started_ = false;
    bool ctrl_ = false;  // as the last ctrl line set it
};

}  // namespace

int runReplay(const ReplayOptions& options, std::string& reason) {
    Replay replay(options);
    return replay.run(reason);
}

int runReplay(const std::string& sessionPath, const std::string& modelPath, std::string& reason) {
    return runReplay(ReplayOptions{sessionPath, modelPath, "", false}, reason);
}

}  // namespace cubrik
