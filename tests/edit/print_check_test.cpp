// The print check on hand-built models, and its parts and overhangs against
// a per-cell search on a sparse random model.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "edit/print_check.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

using testing::fillBox;

TEST(PrintCheck, ABlockAboveTheOneOnTheBedFloatsAndHangsOverNothing) {
    ModelStore store = testing::makeStore();
    fillBox(*store.model, 10, 3, 10, 14, 7, 14, 1);   // on the bed: its lowest layer is the model's
    fillBox(*store.model, 30, 20, 30, 31, 22, 32, 2);
    const PrintCheck check = checkForPrinting(*store.model, 1.0);
    EXPECT_EQ(check.parts, 2);
    ASSERT_EQ(check.floating.size(), 1u);
    EXPECT_EQ(check.floating[0].cells, 18);
    EXPECT_EQ(check.floating[0].box, boxSpanning({30, 20, 30}, {31, 22, 32}));
    EXPECT_EQ(check.floatingCells.size(), 18u);
    EXPECT_EQ(check.floatingCells.front(), cellIndex(30, 20, 30));
    EXPECT_EQ(check.overhang.cells, 6);  // the floating block's lowest layer
    EXPECT_EQ(check.overhang.box, boxSpanning({30, 20, 30}, {31, 20, 32}));
    EXPECT_EQ(check.thin.cells, 0);
    EXPECT_EQ(check.filled.box, boxSpanning({10, 3, 10}, {31, 22, 32}));
    EXPECT_TRUE(check.foundProblems());
}

TEST(PrintCheck, AWallIsThinWhileItsCellsTogetherMeasureUnderTheMinimum) {
    ModelStore store = testing::makeStore();
    fillBox(*store.model, 0, 0, 5, 9, 9, 5, 1);     // one cell thick along z
    fillBox(*store.model, 20, 0, 5, 29, 9, 6, 1);   // two cells thick
    EXPECT_EQ(checkForPrinting(*store.model, 0.5).thin.cells, 100);
    EXPECT_EQ(checkForPrinting(*store.model, 0.5).thin.box, boxSpanning({0, 0, 5}, {9, 9, 5}));
    EXPECT_EQ(checkForPrinting(*store.model, 0.5, 1.01).thin.cells, 300);
    EXPECT_EQ(checkForPrinting(*store.model, 0.8).thin.cells, 0);  // 0.8 mm is no thinner than 0.8 mm
}

TEST(PrintCheck, CellsOverADiagonalNeighbourOrOnTheLowestLayerAreHeld) {
    ModelStore store = testing::makeStore();
    fillBox(*store.model, 10, 40, 10, 19, 44, 19, 3);  // the bed is the model's lowest layer, not the grid's
    testing::setCell(*store.model, 20, 45, 20, 3);      // diagonally over the block's corner
    testing::setCell(*store.model, 21, 46, 21, 3);      // and over that
    const PrintCheck check = checkForPrinting(*store.model, 1.0);
    EXPECT_EQ(check.parts, 3);
    EXPECT_EQ(check.floating.size(), 2u);  // the two single cells touch the block only at corners
    EXPECT_EQ(check.overhang.cells, 0);
    testing::setCell(*store.model, 25, 45, 25, 3);      // two cells off
    EXPECT_EQ(checkForPrinting(*store.model, 1.0).overhang.cells, 1);

    ModelStore resting = testing::makeStore();
    fillBox(*resting.model, 40, 0, 40, 59, 19, 59, 5);
    EXPECT_FALSE(checkForPrinting(*resting.model, 1.0).foundProblems());
    EXPECT_FALSE(checkForPrinting(*testing::makeStore().model, 1.0).foundProblems());
}

// Parts by a breadth-first search, overhangs cell by cell.
TEST(PrintCheck, PartsAndOverhangsAgreeWithACellByCellSearch) {
    ModelStore store = testing::makeStore();
    std::mt19937 random(11);
    for (auto& cell : store.model->cells) cell = random() % 4 == 0 ? 7 : kEmpty;
    const VoxelModel& model = *store.model;
    const auto filled = [&](int x, int y, int z) {
        return x >= 0 && y >= 0 && z >= 0 && x < kGridSize && y < kGridSize && z < kGridSize &&
               model.cells[cellIndex(x, y, z)] != kEmpty;
    };
    int parts = 0, overhangs = 0;
    std::vector<bool> seen(kCellCount);
    for (int start = 0; start < kCellCount; ++start) {
        if (model.cells[start] == kEmpty || seen[start]) continue;
        ++parts;
        std::vector<int> next{start};
        seen[start] = true;
        while (!next.empty()) {
            const auto [x, y, z] = coordinatesOf(next.back());
            next.pop_back();
            const int around[6][3] = {{x - 1, y, z}, {x + 1, y, z}, {x, y - 1, z}, {x, y + 1, z}, {x, y, z - 1}, {x, y, z + 1}};
            for (const auto& n : around)
                if (filled(n[0], n[1], n[2]) && !seen[cellIndex(n[0], n[1], n[2])]) {
                    seen[cellIndex(n[0], n[1], n[2])] = true;
                    next.push_back(cellIndex(n[0], n[1], n[2]));
                }
        }
    }
    for (int cell = 0; cell < kCellCount; ++cell) {
        const auto [x, y, z] = coordinatesOf(cell);
        bool held = y == 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dz = -1; dz <= 1; ++dz) held = held || filled(x + dx, y - 1, z + dz);
        overhangs += model.cells[cell] != kEmpty && !held;
    }
    const PrintCheck check = checkForPrinting(model, 1.0);
    EXPECT_EQ(check.parts, parts);
    EXPECT_EQ(check.overhang.cells, overhangs);
}

}  // namespace
}  // namespace cubrik
