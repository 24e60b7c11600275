// Carve, Build, Smoothing and Punch replayed headless in the front view of
// an 800 x 600 window, in the kernel variant this machine picks and in the
// scalar one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::Cell;
using testing::cellAt;
using testing::projectedCentre;

class ModelSpaceSessionTest : public testing::VariantSessionTest {
protected:
    bool scalar() const { return GetParam(); }

    // Runs `lines` after a first frame with `model` and returns the cells
    // whose codes changed.
    std::set<Cell> changedCells(const VoxelModel& model, const std::string& lines, ModelStore* out = nullptr) {
        ModelStore result = run(model, lines);
        std::set<Cell> changed;
        for (int i = 0; i < kCellCount; ++i)
            if (result.model->cells[i] != model.cells[i]) changed.insert(cellAt(i));
        if (out) *out = std::move(result);
        return changed;
    }
};

std::set<Cell> ball(Cell centre, int size, const VoxelModel& model, std::uint8_t onlyCode) {
    std::set<Cell> cells;
    for (int z = std::max(centre.z - size, 0); z <= std::min(centre.z + size, 99); ++z)
        for (int y = std::max(centre.y - size, 0); y <= std::min(centre.y + size, 99); ++y)
            for (int x = std::max(centre.x - size, 0); x <= std::min(centre.x + size, 99); ++x) {
                const int d = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y) +
                              (z - centre.z) * (z - centre.z);
                if (d < size * size && model.cells[cellIndex(x, y, z)] == onlyCode) cells.insert({x, y, z});
            }
    return cells;
}

TEST_P(ModelSpaceSessionTest, CarveRemovesTheBallAboutAVisibleFaceCell) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    testing::fillBox(*block.model, 30, 30, 60, 69, 40, 69, 17);  // material B below the press
    const std::set<Cell> removed = changedCells(*block.model, "key E\nkey V\nkey V\nldown 400 320\nlup 400 320\n");
    ASSERT_FALSE(removed.empty());
    double sumX = 0, sumY = 0;
    for (const Cell& c : removed) sumX += c.x, sumY += c.y;
    const Cell centre{static_cast<int>(std::lround(sumX / removed.size())),
                      static_cast<int>(std::lround(sumY / removed.size())), 69};
    EXPECT_EQ(removed, ball(centre, 5, *block.model, 1));
}

TEST_P(ModelSpaceSessionTest, BuildOnAnEmptyModelAtTheProjectedCentreFillsTheCentreBall) {
    ModelStore empty = testing::makeStore();
    ModelStore out;
    const std::set<Cell> added = changedCells(*empty.model, "key D\nldown 432 299\nlup 432 299\n", &out);
    EXPECT_EQ(added, ball({49, 49, 49}, 3, *empty.model, 0));
    EXPECT_EQ(out.model->cells[cellIndex(49, 49, 49)], 1);
}

// A lone bump in front of a flat face goes, a one-cell pit fills, and the
// flat face around them stays.
TEST_P(ModelSpaceSessionTest, SmoothingRemovesABumpFillsAPitAndLeavesAFlatFace) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    testing::setCell(*block.model, 50, 50, 70, 1);
    testing::setCell(*block.model, 52, 50, 69, 0);
    const std::set<Cell> changed = changedCells(*block.model, "key R\nkey H\nldown 439 298\nlup 439 298\n");
    EXPECT_EQ(changed, (std::set<Cell>{{50, 50, 70}, {52, 50, 69}}));
}

// Every cell of material A whose centre falls in the square about the pointer
// goes, hidden or not; a cell within a hundredth of a pixel of a border may go
// either way. The scalar square leaves out its border.
TEST_P(ModelSpaceSessionTest, PunchTunnelsThroughTheBlockAndSparesTheOtherMaterial) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    testing::fillBox(*block.model, 45, 30, 30, 45, 69, 69, 17);
    const int x = 420, y = 300, half = 12;  // brush size 3 in a 600 pixel high window
    const double row = 600 - y - 1;
    const std::set<Cell> removed = changedCells(*block.model, "key F\nldown 420 300\nlup 420 300\n");
    const double inner = scalar() ? half - 1 : half;  // whole pixels inside the square
    int checked = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        if (block.model->cells[i] != 1) {
            EXPECT_FALSE(removed.count(c));
            continue;
        }
        const auto [wx, wy] = projectedCentre(c);
        const double dx = std::fabs(std::trunc(wx) - x), dy = std::fabs(std::trunc(wy) - row);
        const bool nearBorder = std::fabs(wx - std::round(wx)) < 0.01 || std::fabs(wy - std::round(wy)) < 0.01;
        if (nearBorder) continue;
        EXPECT_EQ(removed.count(c) == 1, dx <= inner && dy <= inner) << c.x << " " << c.y << " " << c.z;
        ++checked;
    }
    EXPECT_GT(checked, 50000);
    EXPECT_TRUE(removed.count({47, 49, 30}) && removed.count({47, 49, 69}));  // through the whole block
}

INSTANTIATE_TEST_SUITE_P(Variants, ModelSpaceSessionTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Scalar" : "Chosen"; });

}  // namespace
}  // namespace cubrik
