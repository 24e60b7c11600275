#include "support/fake_platform.h"

#include <stdexcept>

namespace cubrik::testing {
namespace {

template <class T>
T next(std::deque<T>& answers, const char* dialog) {
    if (answers.empty()) throw std::logic_error(std::string("unscripted ") + dialog);
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

void FakePlatform::noteDialog() {
    if (mouseCaptured) ++dialogsDuringGesture;
}

Reply FakePlatform::askYesNoCancel(const std::string& caption, const std::string& text) {
    noteDialog();
    questions.push_back(caption + ": " + text);
    if (replies.empty()) return next(yesNoAnswers, "question") ? Reply::Yes : Reply::No;
    return next(replies, "question");
}

void FakePlatform::showMessage(const std::string& caption, const std::string& text) {
    noteDialog();
    messages.push_back(caption + ": " + text);
}

std::optional<std::string> FakePlatform::openFileDialog(const FileDialogRequest& request) {
    noteDialog();
    dialogs.push_back(request);
    return next(fileAnswers, "open dialog");
}

std::optional<std::string> FakePlatform::saveFileDialog(const FileDialogRequest& request) {
    noteDialog();
    dialogs.push_back(request);
    return next(fileAnswers, "save dialog");
}

std::optional<int> FakePlatform::askNumber(const std::string&, const std::string&, int, int, int) {
    noteDialog();
    return next(numberAnswers, "number dialog");
}

std::optional<std::uint32_t> FakePlatform::chooseColour(std::uint32_t, std::array<std::uint32_t, 16>& customColours) {
    noteDialog();
    customColours[0] = 0x010203;  // the dialog may change the custom colours
    return next(colourAnswers, "colour dialog");
}

bool FakePlatform::openHelp(const std::string& path) {
    helpOpened.push_back(path);
    return helpOpens;
}

}  // namespace cubrik::testing
