#include "app/session/session_recorder.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/input/window_procedure.h"
#include "app/session/session_file.h"
#include "edit/box_edit.h"
#include "formats/file_format.h"
#include "formats/palette_file.h"
#include "io/path_names.h"

namespace cubrik {
namespace {

// Pictures to trace are told apart by their bytes, so no table names them;
// these are the names the picture dialog offers.
constexpr std::string_view kPictureExtensions[] = {"png", "jpg", "jpeg", "tga"};

// Whether the name is that of a file some reader or writer of the program
// knows: recording over it would lose it, and replaying it would fail.
bool namesKnownFileType(const std::string& path) {
    if (formatOf(path) != nullptr || paletteFormatOf(path) != nullptr) return true;
    const std::string_view extension = extensionOf(path);
    for (const std::string_view picture : kPictureExtensions)
        if (extension.size() == picture.size() && extensionStartsWith(path, picture)) return true;
    return false;
}

}  // namespace

SessionRecorder::~SessionRecorder() {
    std::string ignored;
    close(ignored);
}

int SessionRecorder::open(const std::string& path, std::string& reason) {
    const std::string lead = "cannot record to " + path + ": ";
    if (namesKnownFileType(path)) {
        reason = lead +
                 "the name is that of a model, image or palette file; a session file is text, such as session.txt";
        return 0;
    }
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !checkSessionFile(path, reason)) {
        reason = lead + "the file exists and is not a session file (" + reason + ")";
        return 0;
    }
    // A short name, whatever the session's: 6 random characters.
    std::string name = (std::filesystem::path(path).parent_path() / "cubrik-recording-XXXXXX.txt").string();
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0 || (file_ = ::fdopen(fd, "wb")) == nullptr) {
        reason = lead + std::strerror(errno);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(name.c_str());
        }
        return 0;
    }
    path_ = path;
    temporary_ = name;
    return 1;
}

int SessionRecorder::close(std::string& reason) {
    if (file_ == nullptr) return 1;
    const bool written = std::fclose(file_) == 0;
    file_ = nullptr;
    if (written && std::rename(temporary_.c_str(), path_.c_str()) == 0) return 1;
    reason = "the recording stays in " + temporary_ + ": " + std::strerror(errno);
    return 0;
}

void SessionRecorder::write(const SessionLine& line) {
    if (line.kind == SessionLine::Kind::Message && line.message.type == MessageType::Size) {
        width = line.message.width;
        height = line.message.height;
    }
    const std::string text = formatSessionLine(line);
    if (!file_ || text.empty()) return;
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

void SessionRecorder::keepTime(double now) {
    if (clock_ < 0) {
        clock_ = now;
        return;
    }
    if (now - clock_ < 1) return;
    SessionLine line;
    line.kind = SessionLine::Kind::Wait;
    // Tenths counted in whole numbers, so the line reads "2.5", never "2.4999999".
    line.seconds = std::floor((now - clock_) * 10) / 10;
    clock_ += line.seconds;
    write(line);
}

bool RecordingPlatform::takeCtrlSeen() {
    const bool seen = ctrlSeen_;
    ctrlSeen_ = false;
    return seen;
}

namespace {

// Writes a line of `kind` carrying `now` when the replay has another value in `replayed`.
template <class Value>
void writeChange(SessionRecorder& recorder, SessionLine::Kind kind, Value SessionLine::*field, Value& replayed,
                 const Value& now) {
    if (now == replayed) return;
    SessionLine line;
    line.kind = kind;
    line.*field = replayed = now;
    recorder.write(line);
}

}  // namespace

bool RecordingPlatform::shiftDown() {
    const bool down = desktop_.shiftDown();
    writeChange(recorder_, SessionLine::Kind::Shift, &SessionLine::shift, shift_, down);
    return down;
}

bool RecordingPlatform::ctrlDown() {
    const bool down = desktop_.ctrlDown();
    ctrlSeen_ = ctrlSeen_ || down;
    if (down != ctrl_) {
        SessionLine line;
        line.kind = SessionLine::Kind::Ctrl;
        line.ctrl = ctrl_ = down;
        recorder_.write(line);
    }
    return down;
}

std::optional<ClientPoint> RecordingPlatform::commandPointer() {
    const std::optional<ClientPoint> at = desktop_.commandPointer();
    writeChange(recorder_, SessionLine::Kind::Pointer, &SessionLine::pointer, replayPointer_, at);
    return at;
}

void RecordingPlatform::followPointer(const Message& message) {
    if (setsPointer(message.type)) replayPointer_ = ClientPoint{message.x, message.y};
}

void RecordingPlatform::answer(SessionLine::Answer kind, const std::string& text, std::uint32_t colour) {
    SessionLine line;
    line.kind = SessionLine::Kind::Answer;
    line.answer = kind;
    line.text = text;
    line.colour = colour;
    recorder_.write(line);
}

Reply RecordingPlatform::askYesNoCancel(const std::string& caption, const std::string& text) {
    const Reply reply = desktop_.askYesNoCancel(caption, text);
    answer(reply == Reply::Yes ? SessionLine::Answer::Yes
           : reply == Reply::No ? SessionLine::Answer::No
                                : SessionLine::Answer::Cancel);
    return reply;
}

void RecordingPlatform::setClipboardText(const std::string& text) {
    desktop_.setClipboardText(text);
    replayClipboard_ = text;  // the replay copies the same cells
}

// Only cells matter to a paste: other text is written as an empty clipboard.
std::optional<std::string> RecordingPlatform::clipboardText() {
    std::optional<std::string> text = desktop_.clipboardText();
    const std::string cells = text && parseBoxCells(*text) ? *text : std::string();
    if (cells == replayClipboard_) return text;
    replayClipboard_ = cells;
    SessionLine line;
    line.kind = SessionLine::Kind::Clipboard;
    line.text = cells;
    recorder_.write(line);
    return text;
}

std::optional<std::string> RecordingPlatform::recordFile(const std::optional<std::string>& chosen) {
    if (chosen) answer(SessionLine::Answer::File, *chosen);
    else answer(SessionLine::Answer::Cancel);
    return chosen;
}

std::optional<std::string> RecordingPlatform::openFileDialog(const FileDialogRequest& request) {
    return recordFile(desktop_.openFileDialog(request));
}

std::optional<std::string> RecordingPlatform::saveFileDialog(const FileDialogRequest& request) {
    return recordFile(desktop_.saveFileDialog(request));
}

std::optional<std::uint32_t> RecordingPlatform::chooseColour(std::uint32_t initial,
                                                             std::array<std::uint32_t, 16>& customColours) {
    const std::optional<std::uint32_t> chosen = desktop_.chooseColour(initial, customColours);
    if (chosen) answer(SessionLine::Answer::Colour, "", *chosen);
    else answer(SessionLine::Answer::Cancel);
    return chosen;
}

std::optional<CellBox> RecordingPlatform::askCellBox(const std::string& title, const std::string& prompt,
                                                     const CellBox& initial) {
    const std::optional<CellBox> chosen = desktop_.askCellBox(title, prompt, initial);
    SessionLine line;
    line.kind = SessionLine::Kind::Answer;
    line.answer = chosen ? SessionLine::Answer::Box : SessionLine::Answer::Cancel;
    line.box = chosen.value_or(CellBox{});
    recorder_.write(line);
    return chosen;
}

std::optional<VoxelizeOptions> RecordingPlatform::askMeshImport(const MeshImportRequest& request) {
    const std::optional<VoxelizeOptions> chosen = desktop_.askMeshImport(request);
    SessionLine line;
    line.kind = SessionLine::Kind::Answer;
    line.answer = chosen ? SessionLine::Answer::Mesh : SessionLine::Answer::Cancel;
    line.mesh = chosen.value_or(VoxelizeOptions{});
    recorder_.write(line);
    return chosen;
}

std::optional<int> RecordingPlatform::askNumber(const std::string& title, const std::string& prompt, int initial,
                                                int minimum, int maximum) {
    const std::optional<int> chosen = desktop_.askNumber(title, prompt, initial, minimum, maximum);
    SessionLine line;
    line.kind = SessionLine::Kind::Answer;
    line.answer = chosen ? SessionLine::Answer::Number : SessionLine::Answer::Cancel;
    line.number = chosen.value_or(0);
    recorder_.write(line);
    return chosen;
}

void recordStartState(SessionRecorder& recorder, const Settings& settings, double now) {
    recorder.keepTime(now);
    const std::string bytes = formatSettings(settings);  // UTF-16 LE with a byte-order mark, CR LF
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(bytes[i]);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string entry = text.substr(start, end - start);
        if (entry.rfind("backgroundColor=", 0) != 0 && entry.rfind("material", 0) != 0 &&
            entry.rfind("mirror", 0) != 0 && entry.rfind("autosaveSeconds=", 0) != 0 &&
            entry.rfind("undoSteps=", 0) != 0 && entry.rfind("referenceOpacity=", 0) != 0 &&
            entry.rfind("floorGrid=", 0) != 0 && entry.rfind("orthographic=", 0) != 0 &&
            entry.rfind("ambientOcclusion=", 0) != 0 && entry.rfind("cellEdges=", 0) != 0)
            continue;
        SessionLine line;
        line.kind = SessionLine::Kind::Setting;
        line.text = entry;
        recorder.write(line);
    }
}

void recordTabletPacket(SessionRecorder& recorder, const TabletPacket& packet) {
    SessionLine line;
    line.kind = SessionLine::Kind::Tablet;
    line.packet = packet;
    recorder.write(line);
}

int handleAndRecord(App& app, const Message& message, SessionRecorder& recorder, RecordingPlatform& platform) {
    if (message.type == MessageType::Timer) {
        const std::uint32_t taken = app.recovery.copiesTaken;
        const int result = handleMessage(app, message);
        if (app.recovery.copiesTaken != taken) recorder.keepTime(platform.now());
        return result;
    }
    recorder.keepTime(platform.now());
    SessionLine line;
    line.kind = SessionLine::Kind::Message;
    line.message = message;
    if (message.type == MessageType::Paint && (message.width != recorder.width || message.height != recorder.height)) {
        // The window was resized without a size message that said so.
        SessionLine size = line;
        size.message.type = MessageType::Size;
        recorder.write(size);
    }
    platform.takeCtrlSeen();
    platform.followPointer(message);
    const int result = handleMessage(app, message);
    line.ctrl = platform.takeCtrlSeen();
    recorder.write(line);
    return result;
}

}  // namespace cubrik
