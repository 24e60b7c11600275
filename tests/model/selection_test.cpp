#include <gtest/gtest.h>

#include "model/selection.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(createUndoHistory(history, flags), 1); }
    SelectionTarget target() { return {history, *store.model, edit, flags}; }

    ModelStore store = testing::makeStore();
    EditState edit;
    DocumentFlags flags;
    UndoHistory history;
};

TEST_F(SelectionTest, SelectingAToolTwiceLeavesTwoSnapshots) {
    selectTool(target(), Tool::Spray);
    selectTool(target(), Tool::Spray);
    EXPECT_EQ(edit.currentTool, Tool::Spray);
    undo(history, *store.model, edit, flags);
    EXPECT_EQ(edit.currentTool, Tool::Spray);
    undo(history, *store.model, edit, flags);
    EXPECT_EQ(edit.currentTool, Tool::Build);
}

TEST_F(SelectionTest, MaterialButtonsShowHideAndSwitch) {
    edit.currentSlot = 14;
    edit.otherSlot = 20;
    pressMaterialButton(target(), Material::A);
    EXPECT_EQ(edit.alsoShownMaterial, Material::B);
    pressMaterialButton(target(), Material::A);
    EXPECT_EQ(edit.alsoShownMaterial, std::nullopt);
    pressMaterialButton(target(), Material::A);
    pressMaterialButton(target(), Material::B);  // switching hides the other material again
    EXPECT_EQ(edit.currentMaterial, Material::B);
    EXPECT_EQ(edit.currentSlot, 20);
    EXPECT_EQ(edit.otherSlot, 14);
    EXPECT_EQ(edit.alsoShownMaterial, std::nullopt);
    EXPECT_EQ(history.undoIndex, 3);
}

TEST_F(SelectionTest, ColourStepsStopAtTheEndsAndAtLockedColours) {
    EXPECT_EQ(stepColourSlot(target(), -1), 0);  // slot 10 is the first
    EXPECT_EQ(history.undoIndex, -1);
    store.model->lockedA[1] = 255;
    EXPECT_EQ(stepColourSlot(target(), +1), 1);  // locked: nothing changes, still repainted
    EXPECT_EQ(edit.currentSlot, 10);
    EXPECT_EQ(history.undoIndex, -1);
    store.model->lockedA[1] = 0;
    EXPECT_EQ(stepColourSlot(target(), +1), 1);
    EXPECT_EQ(edit.currentSlot, 11);
    edit.currentSlot = 24;
    EXPECT_EQ(stepColourSlot(target(), +1), 1);  // onto the last slot
    EXPECT_EQ(edit.currentSlot, 25);
    EXPECT_EQ(stepColourSlot(target(), +1), 0);
    // The locks of the current material count, not those of the other.
    edit.currentMaterial = Material::B;
    store.model->lockedA[14] = 255;
    EXPECT_EQ(stepColourSlot(target(), -1), 1);
    EXPECT_EQ(edit.currentSlot, 24);
}

}  // namespace
}  // namespace cubrik
