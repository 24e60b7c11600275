#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

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
    EXPECT_EQ(undoCount(history), 0);
    EXPECT_EQ(undo(history, model(), edit, flags), 0);
    EXPECT_EQ(redo(history, model(), edit, flags), 0);
}

TEST_F(UndoHistoryTest, KeepsTheTwentyLatestSnapshots) {
    change(100);
    for (int step = 1; step <= 21; ++step) pushThenChange(step);  // push k saves state k-1
    EXPECT_EQ(history.undoIndex, 19);
    EXPECT_EQ(undoCount(history), 20);
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

TEST_F(UndoHistoryTest, AFullHistoryKeepsRecyclingItsOldestStep) {
    for (int step = 1; step <= 45; ++step) pushThenChange(step);
    for (int i = 0; i < 7; ++i) undo(history, model(), edit, flags);
    EXPECT_EQ(undoCount(history), 20);
    EXPECT_EQ(model().cells[0], 38);
}

bool sameState(const VoxelModel& a, const EditState& ea, const VoxelModel& b, const EditState& eb) {
    return std::memcmp(&a, &b, sizeof a) == 0 && ea.currentTool == eb.currentTool &&
           ea.currentMaterial == eb.currentMaterial && ea.alsoShownMaterial == eb.alsoShownMaterial &&
           ea.currentSlot == eb.currentSlot && ea.otherSlot == eb.otherSlot;
}

TEST_F(UndoHistoryTest, AThousandStrokesUndoToTheFirstModelAndRedoToTheLast) {
    setUndoDepth(history, 1000, flags);
    std::mt19937 random(7);
    testing::fillSphere(model(), 40);
    const auto first = std::make_unique<VoxelModel>(model());
    const EditState firstEdit = edit;
    for (int step = 0; step < 1000; ++step) {
        pushUndo(history, model(), edit, flags);
        testing::strokeLikeChange(model(), random());
        edit.currentSlot = kFirstSlot + step % 16;
    }
    const auto last = std::make_unique<VoxelModel>(model());
    const EditState lastEdit = edit;
    std::size_t stepBytes = 0;
    for (const UndoSlot& slot : history.slots) stepBytes += slot.toNext.capacity() + sizeof slot;
    EXPECT_LT(stepBytes, 64u << 20) << "ordinary steps are kept small";

    for (int i = 0; i < 1000; ++i) ASSERT_EQ(undo(history, model(), edit, flags), 1);
    EXPECT_EQ(undo(history, model(), edit, flags), 0);
    EXPECT_TRUE(sameState(model(), edit, *first, firstEdit));
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(redo(history, model(), edit, flags), 1);
    EXPECT_EQ(redo(history, model(), edit, flags), 0);
    EXPECT_TRUE(sameState(model(), edit, *last, lastEdit));
}

TEST_F(UndoHistoryTest, ASmallerDepthDropsTheOldestStepsThenTheFarthestRedo) {
    setUndoDepth(history, 100, flags);
    for (int step = 1; step <= 30; ++step) pushThenChange(step);
    setUndoDepth(history, 20, flags);
    EXPECT_EQ(undoCount(history), 20);
    while (undo(history, model(), edit, flags) == 1) {
    }
    EXPECT_EQ(model().cells[0], 10);  // the state the 11th push saved

    for (int i = 0; i < 15; ++i) redo(history, model(), edit, flags);  // 15 to undo, 5 to redo
    setUndoDepth(history, 3, flags);
    EXPECT_EQ(history.undoIndex, -1);
    EXPECT_EQ(undoCount(history), 3);
    while (redo(history, model(), edit, flags) == 1) {
    }
    EXPECT_EQ(model().cells[0], 28);  // redo now ends with the state the 29th push saved
}

// Whole snapshots handled exactly as the history is meant to behave, to hold
// the compact history against: the live state is changed between operations
// as strokes and frames change it, with and without a push first.
struct WholeSnapshots {
    struct Slot {
        std::unique_ptr<VoxelModel> model;
        EditState edit;
    };
    std::vector<Slot> slots;
    int undoIndex = -1;
    int depth = kUndoDepth;

    void push(const VoxelModel& model, const EditState& edit) {
        slots.resize(undoIndex + 1);
        slots.push_back({std::make_unique<VoxelModel>(model), edit});
        ++undoIndex;
        if (static_cast<int>(slots.size()) > depth) {
            slots.erase(slots.begin());
            --undoIndex;
        }
    }
    int exchange(int j, VoxelModel& model, EditState& edit) {
        std::swap(*slots[j].model, model);
        std::swap(slots[j].edit, edit);
        return 1;
    }
    int undo(VoxelModel& model, EditState& edit) { return undoIndex < 0 ? 0 : exchange(undoIndex--, model, edit); }
    int redo(VoxelModel& model, EditState& edit) {
        return undoIndex + 1 >= static_cast<int>(slots.size()) ? 0 : exchange(++undoIndex, model, edit);
    }
};

TEST_F(UndoHistoryTest, BehavesAsWholeSnapshotsThroughRandomEditing) {
    std::mt19937 random(11);
    testing::fillSphere(model(), 30);
    WholeSnapshots reference;
    auto referenceModel = std::make_unique<VoxelModel>(model());
    EditState referenceEdit = edit;
    for (int op = 0; op < 600; ++op) {
        if (op % 150 == 149) {  // deeper for a while, then back, dropping steps
            reference.depth = reference.depth == 20 ? 40 : 20;
            setUndoDepth(history, reference.depth, flags);
            while (static_cast<int>(reference.slots.size()) > reference.depth && reference.undoIndex >= 0) {
                reference.slots.erase(reference.slots.begin());
                --reference.undoIndex;
            }
            reference.slots.resize(std::min<std::size_t>(reference.slots.size(), reference.depth));
        }
        // Runs of undos and redos, so that slots are refilled with changed states.
        const int kind = static_cast<int>(random() % 20);
        if (kind < 5) {
            pushUndo(history, model(), edit, flags);
            reference.push(*referenceModel, referenceEdit);
        } else if (kind < 12) {
            ASSERT_EQ(undo(history, model(), edit, flags), reference.undo(*referenceModel, referenceEdit));
        } else if (kind < 18) {
            ASSERT_EQ(redo(history, model(), edit, flags), reference.redo(*referenceModel, referenceEdit));
        }
        if (random() % 3 != 0) {  // the stroke after its push, or frames after an undo
            const std::uint32_t seed = random();
            testing::strokeLikeChange(model(), seed);
            testing::strokeLikeChange(*referenceModel, seed);
            edit.currentTool = referenceEdit.currentTool = static_cast<Tool>(op % 8);
        }
        ASSERT_EQ(history.undoIndex, reference.undoIndex) << "operation " << op;
        ASSERT_EQ(undoCount(history), static_cast<int>(reference.slots.size())) << "operation " << op;
        ASSERT_TRUE(sameState(model(), edit, *referenceModel, referenceEdit)) << "operation " << op;
    }
}

}  // namespace
}  // namespace cubrik
