#include "app/session/replay_platform.h"

namespace cubrik {

std::optional<SessionLine> ReplayPlatform::take(SessionLine::Answer kind) {
    if (answers.empty()) return std::nullopt;
    const SessionLine::Answer front = answers.front().answer;
    const bool yesNo = kind == SessionLine::Answer::Yes && front == SessionLine::Answer::No;
    if (front != kind && front != SessionLine::Answer::Cancel && !yesNo) return std::nullopt;
    SessionLine answer = answers.front();
    answers.pop_front();
    if (answer.answer == SessionLine::Answer::Cancel) return std::nullopt;
    return answer;
}

// A question with no yes, no or cancel waiting gets No, as it always has.
Reply ReplayPlatform::askYesNoCancel(const std::string&, const std::string&) {
    if (answers.empty()) return Reply::No;
    const SessionLine::Answer front = answers.front().answer;
    if (front != SessionLine::Answer::Yes && front != SessionLine::Answer::No && front != SessionLine::Answer::Cancel)
        return Reply::No;
    answers.pop_front();
    return front == SessionLine::Answer::Yes ? Reply::Yes : front == SessionLine::Answer::No ? Reply::No : Reply::Cancel;
}

void ReplayPlatform::showMessage(const std::string&, const std::string& text) { lastShownMessage = text; }

std::optional<std::string> ReplayPlatform::openFileDialog(const FileDialogRequest&) {
    const std::optional<SessionLine> answer = take(SessionLine::Answer::File);
    if (!answer) return std::nullopt;
    return answer->text;
}

std::optional<std::string> ReplayPlatform::saveFileDialog(const FileDialogRequest& request) {
    return openFileDialog(request);
}

std::optional<std::uint32_t> ReplayPlatform::chooseColour(std::uint32_t, std::array<std::uint32_t, 16>&) {
    const std::optional<SessionLine> answer = take(SessionLine::Answer::Colour);
    if (!answer) return std::nullopt;
    return answer->colour;
}

std::optional<CellBox> ReplayPlatform::askCellBox(const std::string&, const std::string&, const CellBox&) {
    const std::optional<SessionLine> answer = take(SessionLine::Answer::Box);
    if (!answer) return std::nullopt;
    return answer->box;
}

std::optional<VoxelizeOptions> ReplayPlatform::askMeshImport(const MeshImportRequest&) {
    const std::optional<SessionLine> answer = take(SessionLine::Answer::Mesh);
    if (!answer) return std::nullopt;
    return answer->mesh;
}

std::optional<int> ReplayPlatform::askNumber(const std::string&, const std::string&, int, int, int) {
    const std::optional<SessionLine> answer = take(SessionLine::Answer::Number);
    if (!answer) return std::nullopt;
    return answer->number;
}

}  // namespace cubrik
