#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "model/undo_history.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(createUndoHistory(history, flags), 1); }

    // A change that the state remembers: cell 0 holds the step number.
    void change(int step) {
        model().cells[0] = static_cast<std::uint8_t>(step);
        edit.currentTool = static_cast<Tool>(step % 8);
    }
    void pushThenChange(int step) {
        pushUndo(history, model(), edit, flags);
        change(step);
    }
    VoxelModel& model() { return *store.model; }

    ModelStore store = testing::makeStore();
    EditState edit;
    DocumentFlags flags;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, CreationMarksTheMenuStaleWithNothingToUndo) {
    EXPECT_EQ(flags.undoMenuStale, 1);
    EXPECT_EQ(history.undoIndex, -1);
    EXPECT_EQ(history.undoCount, 0);
    EXPECT_EQ(undo(history, model(), edit, flags), 0);
    EXPECT_EQ(redo(history, model(), edit, flags), 0);
}

TEST_F(UndoHistoryTest, KeepsTheTwentyLatestSnapshots) {
    change(100);
    for (int step = 1; step <= 21; ++step) pushThenChange(step);  // push k saves state k-1
    EXPECT_EQ(history.undoIndex, 19);
    EXPECT_EQ(history.undoCount, 20);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(undo(history, model(), edit, flags), 1);
    EXPECT_EQ(undo(history, model(), edit, flags), 0);
    EXPECT_EQ(model().cells[0], 1);  // the state the second push saved
    EXPECT_EQ(edit.currentTool, Tool::Paint);
}

TEST_F(UndoHistoryTest, APushAfterUndoDropsWhatRedoCouldBringBack) {
    pushThenChange(1);
    ASSERT_EQ(undo(history, model(), edit, flags), 1);
    pushThenChange(2);
    EXPECT_EQ(redo(history, model(), edit, flags), 0);
    EXPECT_EQ(model().cells[0], 2);
}

TEST_F(UndoHistoryTest, UndoRestoresTheSelectionAlongWithTheCells) {
    edit.currentTool = Tool::Build;
    pushUndo(history, model(), edit, flags);  // the tool key pushes first
    edit.currentTool = Tool::Spray;
    ASSERT_EQ(undo(history, model(), edit, flags), 1);
    EXPECT_EQ(edit.currentTool, Tool::Build);
}

TEST_F(UndoHistoryTest, UndoThenRedoGivesBackExactlyTheStateBeforeTheUndo) {
    testing::fillRandom(model(), 3);
    pushUndo(history, model(), edit, flags);
    testing::fillRandom(model(), 4);
    model().rotation[2] = 0.75;
    model().brushSize = 11;
    edit = EditState{Tool::Coat, Material::B, Material::A, 17, 12};
    auto before = std::make_unique<VoxelModel>(model());
    const EditState editBefore = edit;

    ASSERT_EQ(undo(history, model(), edit, flags), 1);
    EXPECT_NE(std::memcmp(before.get(), &model(), sizeof(VoxelModel)), 0);
    flags.undoMenuStale = 0;
    ASSERT_EQ(redo(history, model(), edit, flags), 1);

    EXPECT_EQ(std::memcmp(before.get(), &model(), sizeof(VoxelModel)), 0);
    EXPECT_EQ(edit.currentTool, editBefore.currentTool);
    EXPECT_EQ(edit.currentMaterial, editBefore.currentMaterial);
    EXPECT_EQ(edit.alsoShownMaterial, editBefore.alsoShownMaterial);
    EXPECT_EQ(edit.currentSlot, editBefore.currentSlot);
    EXPECT_EQ(edit.otherSlot, editBefore.otherSlot);
    EXPECT_EQ(flags.undoMenuStale, 1);
    EXPECT_FALSE(canRedo(history));
    EXPECT_TRUE(canUndo(history));
}

TEST_F(UndoHistoryTest, RedoWalksForwardThroughSeveralUndos) {
    for (int step = 1; step <= 5; ++step) pushThenChange(step);
    for (int i = 0; i < 3; ++i) undo(history, model(), edit, flags);
    EXPECT_EQ(model().cells[0], 2);
    EXPECT_EQ(redo(history, model(), edit, flags), 1);
    EXPECT_EQ(redo(history, model(), edit, flags), 1);
    EXPECT_EQ(model().cells[0], 4);
    EXPECT_EQ(redo(history, model(), edit, flags), 1);
    EXPECT_EQ(model().cells[0], 5);
    EXPECT_EQ(redo(history, model(), edit, flags), 0);
}

TEST_F(UndoHistoryTest, AFullHistoryRecyclesBuffersWithoutMovingThem) {
    std::set<UndoSnapshot*> before(history.undoSlots.begin(), history.undoSlots.end());
    before.insert(history.scratch);
    for (int step = 1; step <= 45; ++step) pushThenChange(step);
    for (int i = 0; i < 7; ++i) undo(history, model(), edit, flags);
    std::set<UndoSnapshot*> after(history.undoSlots.begin(), history.undoSlots.end());
    after.insert(history.scratch);
    EXPECT_EQ(before, after);
    EXPECT_EQ(model().cells[0], 38);
}

}  // namespace
}  // namespace cubrik
