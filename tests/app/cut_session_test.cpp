// The cut-away replayed headless in an 800 x 600 window: which layer a click
// reaches, that no tool, mirror image or selection command changes a hidden
// cell, and what the view shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::Cell;
using testing::cellAt;

constexpr const char* kClickCentre = "ldown 432 300\nlup 432 300\n";

// A solid block of colour 2 (code 2) from 20 to 79 on every axis.
ModelStore solidBlock() {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 20, 20, 20, 79, 79, 79, 2);
    return block;
}

// The coordinates along `axis` of the cells that differ.
std::set<int> changedLayers(const VoxelModel& before, const VoxelModel& after, int axis) {
    std::set<int> layers;
    for (int i = 0; i < kCellCount; ++i)
        if (before.cells[i] != after.cells[i]) {
            const Cell c = cellAt(i);
            layers.insert(axis == 0 ? c.x : axis == 1 ? c.y : c.z);
        }
    return layers;
}

class CutSessionTest : public testing::VariantSessionTest {
protected:
    // The layers along `axis` that `lines` change in the block.
    std::set<int> layersChangedBy(const std::string& lines, int axis = 2) {
        const ModelStore block = solidBlock();
        return changedLayers(*block.model, *run(*block.model, lines).model, axis);
    }
};

TEST_P(CutSessionTest, AClickReachesTheLayerTheCutShowsAndNoFurther) {
    using Layers = std::set<int>;
    EXPECT_EQ(layersChangedBy(std::string("key U\nkey A\n") + kClickCentre), Layers{49});
    EXPECT_EQ(layersChangedBy(std::string("key U\nkey J\nkey J\nkey J\nkey A\n") + kClickCentre), Layers{46});
    EXPECT_EQ(layersChangedBy(std::string("key U\nkey K\nkey K\nkey A\n") + kClickCentre), Layers{51});
    const Layers carved = layersChangedBy(std::string("key U\nkey E\n") + kClickCentre);
    ASSERT_FALSE(carved.empty());
    EXPECT_LE(*carved.rbegin(), 49);
    EXPECT_GT(carved.size(), 1u);
    EXPECT_EQ(layersChangedBy(std::string("key U\nkey L\nkey E\n") + kClickCentre), Layers{49});
    EXPECT_EQ(layersChangedBy(std::string("key U\nkey U\nkey A\n") + kClickCentre), Layers{79});
    // From the left the eye is on the -x side: the cells x >= 50 stay.
    EXPECT_EQ(layersChangedBy(std::string("key 3\nkey U\nkey A\n") + kClickCentre, 0), Layers{50});
}

// Mirror Z puts each change's image across the cut; with the cut on, every
// tool's stroke through the middle leaves the hidden half z >= 50 as it was.
TEST_P(CutSessionTest, NoToolOrMirrorImageChangesAHiddenCell) {
    const ModelStore block = solidBlock();
    for (const char key : std::string("QAWSEDRF")) {
        const std::string lines = std::string("menu 40063\nkey U\nkey ") + key + "\nkey V\n" +
                                  "ldown 410 290\nmove 455 310\nlup 455 310\n";
        const ModelStore after = run(*block.model, lines);
        const std::set<int> layers = changedLayers(*block.model, *after.model, 2);
        if (!layers.empty()) {
            EXPECT_LE(*layers.rbegin(), 49) << key;
        }
        if (std::string("AWEF").find(key) != std::string::npos) {
            EXPECT_FALSE(layers.empty()) << key;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, CutSessionTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Scalar" : "Chosen"; });

using CutSelectionTest = testing::SessionTest;

std::string pixelOf(Cell c) {
    const auto [x, y] = testing::projectedCentre(c);
    return std::to_string(static_cast<int>(x)) + " " + std::to_string(599 - static_cast<int>(y));
}

// The box runs through the whole depth, hidden cells included; Delete takes
// the ones in view.
TEST_F(CutSelectionTest, DeleteEmptiesOnlyTheSelectedCellsInView) {
    const ModelStore block = solidBlock();
    const std::string select = "key U\nkey B\nldown " + pixelOf({35, 40, 49}) + "\nmove " + pixelOf({45, 55, 49}) +
                               "\nlup " + pixelOf({45, 55, 49}) + "\n";
    const ModelStore deleted = run(*block.model, select + "key delete\n");
    int low[2] = {99, 99}, high[2] = {0, 0};
    for (int i = 0; i < kCellCount; ++i)
        if (deleted.model->cells[i] != block.model->cells[i]) {
            const Cell c = cellAt(i);
            ASSERT_LE(c.z, 49);
            low[0] = std::min(low[0], c.x), high[0] = std::max(high[0], c.x);
            low[1] = std::min(low[1], c.y), high[1] = std::max(high[1], c.y);
        }
    EXPECT_LE(std::abs(low[0] - 35) + std::abs(high[0] - 45) + std::abs(low[1] - 40) + std::abs(high[1] - 55), 2);
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        const bool selected = c.x >= low[0] && c.x <= high[0] && c.y >= low[1] && c.y <= high[1] && c.z <= 49;
        ASSERT_EQ(deleted.model->cells[i], selected ? 0 : block.model->cells[i]) << i;
    }
}

// Copy takes what is in view and Paste puts down nothing on a hidden cell; a
// flip that would put filled cells on hidden ones changes nothing; a move
// takes only the cells in view, but without a selection the whole model.
TEST_F(CutSelectionTest, PasteFlipsAndMovesLeaveHiddenCellsAlone) {
    ModelStore start = testing::makeStore();
    testing::fillBox(*start.model, 40, 40, 45, 59, 59, 54, 3);
    const std::string select = "key U\nkey B\nldown " + pixelOf({40, 40, 49}) + "\nmove " + pixelOf({59, 59, 49}) +
                               "\nlup " + pixelOf({59, 59, 49}) + "\n";
    const auto unchanged = [&](const ModelStore& after) {
        return std::memcmp(after.model->cells, start.model->cells, kCellCount) == 0;
    };
    // The copied box runs through the whole depth: back in place, z 45..49 land on
    // themselves and the empty copies of the hidden 50..54 leave them alone.
    EXPECT_TRUE(unchanged(run(*start.model, select + "key ctrl+c\nkey delete\nkey ctrl+v\n")));
    EXPECT_TRUE(unchanged(run(*start.model, select + "menu 40073\n")));  // flip Z: 45..49 onto 54..50
    const ModelStore moved = run(*start.model, select + "menu 40081\n");  // +X
    EXPECT_EQ(changedLayers(*start.model, *moved.model, 0), (std::set<int>{40, 60}));
    EXPECT_EQ(changedLayers(*start.model, *moved.model, 2), (std::set<int>{45, 46, 47, 48, 49}));
    const ModelStore whole = run(*start.model, "key U\nmenu 40085\n");  // +Z, nothing selected
    EXPECT_EQ(changedLayers(*start.model, *whole.model, 2), (std::set<int>{45, 55}));
}

// The front view with the cut on: the cut face shows the block's inside
// colour, and the plane is outlined where it crosses the grid.
TEST_F(CutSelectionTest, TheViewShowsTheInsideAndTheOutlineOfThePlane) {
    ModelStore shelled = testing::makeStore();
    testing::fillBox(*shelled.model, 20, 20, 20, 79, 79, 79, 1);  // red shell
    testing::fillBox(*shelled.model, 21, 21, 21, 78, 78, 78, 5);  // green inside
    const auto frame = [&](const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\n" + lines + "paint\ngrab $DIR/frame.tga\n", writeModel(*shelled.model)), "");
        return grab("frame.tga");
    };
    const testing::Grab plain = frame(""), cut = frame("key U\n");
    EXPECT_GT(plain.at(432, 300) >> 16 & 0xff, 200u);  // red
    EXPECT_LT(plain.at(432, 300) >> 8 & 0xff, 60u);
    EXPECT_GT(cut.at(432, 300) >> 8 & 0xff, 200u);  // green
    EXPECT_LT(cut.at(432, 300) >> 16 & 0xff, 60u);
    // Left of the block the outline's edge crosses the view's centre row in
    // white or dark grey dashes; nothing of the kind without the cut.
    const auto dashes = [](const testing::Grab& frame) {
        int count = 0;
        for (int x = 64; x < 280; ++x) count += frame.at(x, 300) == 0xffffff || frame.at(x, 300) == 0x262626;
        return count;
    };
    EXPECT_GT(dashes(cut), 0);
    EXPECT_EQ(dashes(plain), 0);
}

}  // namespace
}  // namespace cubrik
