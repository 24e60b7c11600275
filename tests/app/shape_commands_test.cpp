// What the shapes, Fill connected and cell mode tell the status bar, and how
// cell mode is left.
#include <gtest/gtest.h>

#include "app/commands/window_status.h"
#include "app_fixture.h"
#include "panel/panel_layout.h"

namespace cubrik {
namespace {

using ShapeCommandsTest = testing::AppTest;

TEST_F(ShapeCommandsTest, EachCommandSaysWhatItDidOrWhyNothing) {
    start();
    command(command::kFill);
    EXPECT_EQ(app.status.note, "Select a box first (B).");
    command(command::kSelectAll);
    command(command::kHollow);
    EXPECT_EQ(app.status.note, "Hollow: nothing changed; the cells are already so, locked or of the hidden material.");
    EXPECT_FALSE(canUndo(app.history));
    command(command::kFillEllipsoid);
    EXPECT_EQ(app.status.note.substr(0, 19), "Fill an ellipsoid: ");
    EXPECT_TRUE(canUndo(app.history));
    key('P');  // no pointer over the view
    EXPECT_EQ(app.status.note, "There is no cell under the pointer.");
    EXPECT_NE(statusTextOf(app).find("There is no cell under the pointer."), std::string::npos);
}

TEST_F(ShapeCommandsTest, CellModeIsLeftByEscBAToolKeyOrAToolButton) {
    start();
    key('N');
    EXPECT_NE(statusTextOf(app).find("Cell mode (N, Shift empties)"), std::string::npos);
    key(key::kEscape);
    EXPECT_FALSE(app.cellMode.active);
    EXPECT_FALSE(platform.quitCode);  // Esc only quits outside the mode
    key('N');
    key('B');
    EXPECT_FALSE(app.cellMode.active);
    key('N');
    EXPECT_FALSE(app.selection.selectMode);
    key('W');
    EXPECT_FALSE(app.cellMode.active);
    key('N');
    const PanelRect build = panelItemRect(buttonOf(Tool::Build), true);
    mouse(MessageType::LeftDown, build.left + 2, build.top + 2);
    mouse(MessageType::LeftUp, build.left + 2, build.top + 2);
    EXPECT_FALSE(app.cellMode.active);
    EXPECT_EQ(statusTextOf(app).find("Cell mode"), std::string::npos);
}

}  // namespace
}  // namespace cubrik
