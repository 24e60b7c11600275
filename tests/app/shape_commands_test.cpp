// What the shapes, Fill connected, cell mode and the print check tell the
// status bar and the findings list, and how cell mode is left.
#include <gtest/gtest.h>

#include "app/commands/window_status.h"
#include "app_fixture.h"
#include "support/model_builders.h"
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

// The findings list names each floating part; choosing one selects its box.
// Delete floating parts empties them in one undo step and says how many went.
TEST_F(ShapeCommandsTest, PrintFindingsSelectTheirCellsAndFloatingPartsGoInOneStep) {
    start();
    testing::fillBox(app.model(), 10, 0, 10, 19, 9, 19, 1);
    testing::fillBox(app.model(), 30, 5, 30, 31, 5, 31, 1);
    command(command::kCheckForPrinting);
    EXPECT_EQ(platform.findings, (std::vector<std::string>{"Parts: 2", "Floating part: 4 cells",
                                                           "Overhangs without support: 4 cells", "Size: 22 x 22 x 10 mm"}));
    Message choose{MessageType::ChooseFinding};
    choose.row = 1;
    send(choose);
    EXPECT_EQ(app.selection.box, boxSpanning({30, 5, 30}, {31, 5, 31}));
    choose.row = 9;  // past the last row: nothing
    send(choose);
    EXPECT_EQ(app.selection.box, boxSpanning({30, 5, 30}, {31, 5, 31}));
    command(command::kDeleteFloatingParts);
    EXPECT_EQ(app.status.note, "Delete floating parts: 4 cells changed.");
    EXPECT_EQ(platform.findings.front(), "Parts: 1");
    command(command::kDeleteFloatingParts);
    EXPECT_EQ(app.status.note, "There are no floating parts to delete.");
    command(command::kCheckForPrinting);
    EXPECT_EQ(platform.findings.back(), "Nothing to fix before printing.");
    command(command::kUndo);
    EXPECT_EQ(app.model().cells[cellIndex(31, 5, 31)], 1);
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
