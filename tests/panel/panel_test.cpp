// The panel's layout and what presses on it do to the selection, the locks
// and the undo history.
#include <gtest/gtest.h>

#include "panel/palette_editing.h"
#include "panel/panel_layout.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

TEST(PanelLayout, HitTestFindsItemsInBothLayouts) {
    const std::tuple<int, int, bool, int> cases[] = {
        {0, 0, false, 0},   {1, 1, false, 0},   {30, 1, false, 1},  {59, 1, false, -1}, {5, 120, false, -1},
        {30, 140, false, 9}, {40, 170, false, 10}, {40, 170, true, 10}, {10, 170, true, 18}, {10, 620, false, 25},
        {10, 620, true, -1},
    };
    for (const auto& [x, y, compact, item] : cases) EXPECT_EQ(panelItemAt(x, y, compact), item) << x << "," << y;
    const PanelRect slot25 = panelItemRect(25, true);
    EXPECT_EQ((std::tuple{slot25.left, slot25.top, slot25.right, slot25.bottom}), (std::tuple{1, 369, 30, 398}));
    EXPECT_EQ(panelItemRect(26, false).right, 0);
    EXPECT_EQ(atlasIconRect(7).left, 29);
    EXPECT_EQ(atlasIconRect(7).bottom, 116);
}

class PaletteEditing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(createUndoHistory(history, flags), 1); }
    PanelTarget panel() { return {{history, *store.model, edit, flags}, drag, false}; }
    std::uint8_t* locks() { return store.model->lockedA; }
    int snapshots() const { return history.undoIndex + 1; }

    ModelStore store = testing::makeStore();
    UndoHistory history;
    DocumentFlags flags;
    EditState edit;
    PanelDragState drag;
};

TEST_F(PaletteEditing, LockingTheCurrentColourMovesTheSelectionButNeverLocksTheLast) {
    edit.currentSlot = 13;
    locks()[0] = 255;
    toggleColourLock(panel(), 13);
    EXPECT_EQ(edit.currentSlot, 11);
    EXPECT_NE(locks()[3], 0);
    EXPECT_EQ(snapshots(), 1);

    for (int entry = 0; entry < 16; ++entry) locks()[entry] = entry == 1 ? 0 : 255;
    toggleColourLock(panel(), 11);  // the last unlocked colour
    EXPECT_EQ(locks()[1], 0);
    EXPECT_EQ(snapshots(), 1);
    toggleColourLock(panel(), 14);  // unlocking pushes
    EXPECT_EQ(locks()[4], 0);
    EXPECT_EQ(snapshots(), 2);
}

TEST_F(PaletteEditing, ALockedColourCannotBeChosenButStartsADrag) {
    locks()[5] = 255;
    EXPECT_EQ(panelClick(panel(), 20, 166 + 29 * 5 + 3), 1);
    EXPECT_EQ(edit.currentSlot, 10);
    EXPECT_EQ(drag.dragSourceSlot, 15);
    EXPECT_EQ(snapshots(), 0);
    panelDragUpdate(drag);
    EXPECT_EQ(drag.draggedSlot, 15);
    // Dropping it on an unlocked colour recolours, and the document changed.
    testing::setCell(*store.model, 0, 0, 0, 1);
    EXPECT_EQ(panelDrop(panel(), 20, 170), 1);
    EXPECT_EQ(store.model->cells[0], 6);
    EXPECT_EQ(flags.modelModified, 1);
    EXPECT_EQ(drag.dragSourceSlot, kNoItem);
    EXPECT_EQ(drag.draggedSlot, kNoItem);
}

TEST_F(PaletteEditing, PressesOnTheGapOrRightOfThePanelChangeNothing) {
    EXPECT_EQ(panelClick(panel(), 5, 120), 1);
    EXPECT_EQ(panelClick(panel(), 64, 10), 0);
    EXPECT_EQ(snapshots(), 0);
    EXPECT_EQ(panelClick(panel(), 20, 170), 1);  // the current colour again: only a drag source
    EXPECT_EQ(snapshots(), 0);
    EXPECT_EQ(panelClick(panel(), 1, 1), 1);     // a tool: one snapshot even when already chosen
    EXPECT_EQ(panelClick(panel(), 1, 1), 1);
    EXPECT_EQ(snapshots(), 2);
    EXPECT_EQ(edit.currentTool, Tool::Spray);
}

TEST_F(PaletteEditing, HoverLightsButtonsButNeverColourSlots) {
    panelHoverUpdate(panel(), 30, 140);
    EXPECT_EQ(drag.hoverItem, 9);
    panelHoverUpdate(panel(), 20, 170);
    EXPECT_EQ(drag.hoverItem, kNoItem);
}

TEST(ColourDialogValues, ChannelsAreTruncatedSoHalfBecomes127) {
    EXPECT_EQ(colourToColorref({0.5f, 1.0f, 0.25f}), 0x3fff7fu);
    const Rgb back = colorrefToColour(colourToColorref({0.5f, 0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(back.r, 127 / 255.0f);
}

}  // namespace
}  // namespace cubrik
