// The cut-away's commands on the application: which cut each key and menu
// item leaves, what the status line and the menu say, and what ends it.
#include <gtest/gtest.h>

#include "app/text/ui_text.h"
#include "app/commands/window_status.h"
#include "app_fixture.h"

namespace cubrik {
namespace {

class CutCommandsTest : public testing::AppTest {
protected:
    // "Cut Z ≤ 49" or "Layer Z = 49" as the status line shows it; empty when off.
    std::string shown() {
        const std::string text = statusTextOf(app);
        for (const char* word : {"Cut ", "Layer "})
            if (const std::size_t at = text.find(word); at != std::string::npos)
                return text.substr(at, text.find("   ", at) - at);
        return "";
    }
};

TEST_F(CutCommandsTest, KeysAndMenuItemsMoveTheCutWithinTheGrid) {
    start();
    key('U');  // the front view: the eye on the +z side
    EXPECT_EQ(shown(), "Cut Z ≤ 49");
    EXPECT_TRUE(platform.checked[command::kCutAway]);
    key('J');
    key('J');
    EXPECT_EQ(shown(), "Cut Z ≤ 47");
    key('K');
    key('L');
    EXPECT_EQ(shown(), "Layer Z = 48");
    EXPECT_TRUE(platform.checked[command::kCutLayerOnly]);
    command(command::kCutOtherSide);  // a single layer keeps its layer
    key('L');
    EXPECT_EQ(shown(), "Cut Z ≥ 48");
    command(command::kCutOtherSide);
    EXPECT_EQ(shown(), "Cut Z ≤ 47");
    for (int i = 0; i < 60; ++i) key('J');
    EXPECT_EQ(shown(), "Cut Z ≤ 0");
    for (int i = 0; i < 120; ++i) key('K');
    EXPECT_EQ(shown(), "Cut Z ≤ 99");
    key('3');  // the left view: the eye on the -x side
    command(command::kCutAlongX);
    EXPECT_EQ(shown(), "Cut X ≥ 50");
    key('J');
    EXPECT_EQ(shown(), "Cut X ≥ 51");
    key('U');
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(platform.checked[command::kCutAway]);
    for (const int k : {'J', 'K', 'L'}) key(k);
    command(command::kCutOtherSide);
    EXPECT_FALSE(app.view.cut.on);
    key('U');
    EXPECT_EQ(shown(), "Cut X ≥ 50");
}

TEST_F(CutCommandsTest, UndoLeavesTheCutAloneAndNewAndOpenEndIt) {
    start(writeModel("block.cbk", 1));
    paint();
    key('U');
    key('J');
    key('A');
    mouse(MessageType::LeftDown, 320, 240);
    mouse(MessageType::LeftUp, 320, 240);
    key('Z' | key::kCtrl);
    EXPECT_EQ(shown(), "Cut Z ≤ 48");
    platform.replies = {Reply::No};  // the changes need not be saved
    command(command::kNew);
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(platform.checked[command::kCutAway]);
    key('U');
    platform.fileAnswers = {(dir / "block.cbk").string()};
    command(command::kOpen);
    EXPECT_FALSE(app.view.cut.on);
}

}  // namespace
}  // namespace cubrik
