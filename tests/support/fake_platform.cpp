#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace cubrik::testing {
namespace {

template <class T>
T next(std::deque<T>& answers, const char* dialog) {
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << dialog;
        return T{};
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

bool FakePlatform::askYesNo(const std::string& caption, const std::string& text) {
    EXPECT_FALSE(mouseCaptured) << "a gesture must end before a message box";
    questions.push_back(caption + ": " + text);
    return next(yesNoAnswers, "question");
}

void FakePlatform::showMessage(const std::string& caption, const std::string& text) {
    EXPECT_FALSE(mouseCaptured) << "a gesture must end before a message box";
    messages.push_back(caption + ": " + text);
}

std::optional<std::string> FakePlatform::openFileDialog(const FileDialogRequest& request) {
    dialogs.push_back(request);
    return next(fileAnswers, "open dialog");
}

std::optional<std::string> FakePlatform::saveFileDialog(const FileDialogRequest& request) {
    dialogs.push_back(request);
    return next(fileAnswers, "save dialog");
}

std::optional<std::uint32_t> FakePlatform::chooseColour(std::uint32_t, std::array<std::uint32_t, 16>& customColours) {
    customColours[0] = 0x010203;  // the dialog may change the custom colours
    return next(colourAnswers, "colour dialog");
}

bool FakePlatform::openHelp(const std::string& path) {
    helpOpened.push_back(path);
    return helpOpens;
}

}  // namespace cubrik::testing
