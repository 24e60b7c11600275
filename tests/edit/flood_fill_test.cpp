// The scanline flood fill against a plain breadth-first search, on tangled
// regions of two codes, with cells the change rule hides bounding it.
#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <vector>

#include "edit/flood_fill.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

// The cells a breadth-first search reaches from `start` through cells of its
// code that `shown` marks.
std::vector<bool> reachable(const VoxelModel& model, int start, const std::vector<std::uint8_t>& shown) {
    std::vector<bool> seen(kCellCount);
    std::queue<int> next;
    seen[start] = true;
    next.push(start);
    while (!next.empty()) {
        const int cell = next.front();
        next.pop();
        const int x = cell % 100, y = cell / 100 % 100, z = cell / 10000;
        const int steps[6][2] = {{x > 0, -1}, {x < 99, 1}, {y > 0, -100}, {y < 99, 100}, {z > 0, -10000}, {z < 99, 10000}};
        for (const auto& [inside, step] : steps) {
            const int n = cell + step;
            if (inside && !seen[n] && shown[n] && model.cells[n] == model.cells[start]) {
                seen[n] = true;
                next.push(n);
            }
        }
    }
    return seen;
}

TEST(FloodFill, ReachesWhatABreadthFirstSearchReachesAndNoMore) {
    ModelStore store = testing::makeStore();
    std::mt19937 random(5);
    CellChangeRule rule;
    rule.codeMayChange.fill(true);
    rule.shown = VisibleSlab{0, 0, 80};  // a cut hides x > 80
    std::vector<std::uint8_t> shown(kCellCount);
    for (int i = 0; i < kCellCount; ++i) {
        store.model->cells[i] = static_cast<std::uint8_t>(random() % 10 < 9 ? 1 + random() % 2 : 0);
        shown[i] = rule.shown.holdsIndex(i);
    }
    const int starts[] = {cellIndex(50, 50, 50), cellIndex(0, 50, 99), cellIndex(80, 3, 57)};
    for (const int start : starts) store.model->cells[start] = 2;
    ModelStore before = testing::makeStore();
    *before.model = *store.model;
    for (const int start : starts) {
        *store.model = *before.model;
        const std::vector<bool> region = reachable(*before.model, start, shown);
        const int filled = floodFill(*store.model, start, 9, rule);
        int expected = 0;
        for (int i = 0; i < kCellCount; ++i) {
            ASSERT_EQ(store.model->cells[i], region[i] ? 9 : before.model->cells[i]) << i;
            expected += region[i];
        }
        EXPECT_EQ(filled, expected);
        EXPECT_GT(filled, 1000) << start;  // the codes percolate: a tangled region, not a handful of cells
    }
}

// Rows that run to x = 99 or from x = 0 end there: the cell next in memory
// belongs to another row and, not joined by a face, keeps its code.
TEST(FloodFill, ARunStopsAtTheGridsSideAlongX) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    testing::fillBox(m, 50, 5, 5, 99, 5, 5, 1);
    testing::setCell(m, 0, 6, 5, 1);
    testing::fillBox(m, 0, 20, 5, 49, 20, 5, 1);
    testing::setCell(m, 99, 19, 5, 1);
    CellChangeRule rule;
    rule.codeMayChange.fill(true);
    EXPECT_EQ(floodFill(m, cellIndex(60, 5, 5), 2, rule), 50);
    EXPECT_EQ(floodFill(m, cellIndex(10, 20, 5), 2, rule), 50);
    EXPECT_EQ(m.cells[cellIndex(0, 6, 5)], 1);
    EXPECT_EQ(m.cells[cellIndex(99, 19, 5)], 1);
}

}  // namespace
}  // namespace cubrik
