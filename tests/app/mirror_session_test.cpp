// Mirror editing replayed headless in the front view of an 800 x 600 window,
// in the kernel variant this machine picks and in the scalar one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::Cell;
using testing::cellAt;

int mirrored(int i, int position) { return position - i; }

bool symmetricAbout(const VoxelModel& model, int axis, int position) {
    for (int i = 0; i < kCellCount; ++i) {
        Cell c = cellAt(i);
        int* coordinate[3] = {&c.x, &c.y, &c.z};
        *coordinate[axis] = mirrored(*coordinate[axis], position);
        if (*coordinate[axis] < 0 || *coordinate[axis] > 99) continue;
        if (model.cells[i] != model.cells[cellIndex(c.x, c.y, c.z)]) return false;
    }
    return true;
}

// A stroke from (x0, y) to (x1, y) in whole pixels of the window.
std::string stroke(int x0, int x1, int y) {
    return "ldown " + std::to_string(x0) + " " + std::to_string(y) + "\nmove " + std::to_string(x1) + " " +
           std::to_string(y) + "\nlup " + std::to_string(x1) + " " + std::to_string(y) + "\n";
}

using MirrorSessionTest = testing::VariantSessionTest;

// A block symmetric about every middle plane, with a bump on each side of
// the x plane for Smoothing to wear down.
ModelStore symmetricBlock() {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    testing::setCell(*block.model, 36, 50, 70, 1);
    testing::setCell(*block.model, 63, 50, 70, 1);
    return block;
}

TEST_P(MirrorSessionTest, EveryToolMirrorsAStrokeAndKeepsItsOwnSideAsWithoutTheMirror) {
    const ModelStore block = symmetricBlock();
    for (const char key : std::string("QAWSEDRF")) {
        // Left of the middle, far enough that the brush never crosses it.
        const std::string lines = std::string("key ") + key + "\nkey H\n" + stroke(368, 380, 298);
        const ModelStore single = run(*block.model, lines);
        const ModelStore both = run(*block.model, "menu 40061\n" + lines);
        EXPECT_TRUE(symmetricAbout(*both.model, 0, 99)) << key;
        bool changed = false;
        for (int i = 0; i < kCellCount; ++i) {
            changed |= both.model->cells[i] != block.model->cells[i];
            if (cellAt(i).x < 50) {
                ASSERT_EQ(both.model->cells[i], single.model->cells[i]) << key << " cell " << i;
            }
        }
        EXPECT_TRUE(changed) << key;
    }
}

TEST_P(MirrorSessionTest, ThreePlanesMakeEightBallsAndUndoTakesThemAllBack) {
    const ModelStore empty = testing::makeStore();
    const std::string build = "menu 40061\nmenu 40062\nmenu 40063\nkey D\nldown 380 250\nlup 380 250\n";
    const ModelStore built = run(*empty.model, build);
    for (int axis = 0; axis < 3; ++axis) EXPECT_TRUE(symmetricAbout(*built.model, axis, 99)) << axis;
    int octants = 0;
    for (int i = 0; i < kCellCount; ++i)
        if (built.model->cells[i]) {
            const Cell c = cellAt(i);
            octants |= 1 << ((c.x < 50) + 2 * (c.y < 50) + 4 * (c.z < 50));
        }
    EXPECT_EQ(octants, 0xff);  // a ball in each of the eight corners' octants
    const ModelStore undone = run(*empty.model, build + "key ctrl+z\n");
    EXPECT_EQ(std::memcmp(undone.model->cells, empty.model->cells, kCellCount), 0);
}

// Key M over the front face of cell x = 49 puts the x plane through that
// cell: a Carve at the right edge mirrors about x -> 98 - x, and the cells at
// x = 99, whose image would be x = -1, go alone. The middle comes back with 40065.
TEST_P(MirrorSessionTest, PlanesMoveToTheCellUnderTheCursorAndBackToTheMiddle) {
    ModelStore slab = testing::makeStore();
    testing::fillBox(*slab.model, 0, 30, 30, 99, 69, 69, 1);
    const auto [faceX, faceY] = testing::projectedCentre({49, 50, 69});
    const auto [edgeX, edgeY] = testing::projectedCentre({98, 50, 69});
    const std::string moveToCell = "move " + std::to_string(static_cast<int>(faceX)) + " " +
                                   std::to_string(599 - static_cast<int>(faceY)) + "\nkey M\nmenu 40061\n";
    const std::string carve = "key E\nkey V\n" + stroke(static_cast<int>(edgeX), static_cast<int>(edgeX),
                                                         599 - static_cast<int>(edgeY));
    const ModelStore moved = run(*slab.model, moveToCell + carve);
    int alone = 0, pairs = 0;
    for (int i = 0; i < kCellCount; ++i) {
        if (moved.model->cells[i] != 0 || slab.model->cells[i] == 0) continue;
        const Cell c = cellAt(i);
        if (c.x == 99) {
            ++alone;
        } else {
            EXPECT_EQ(moved.model->cells[cellIndex(98 - c.x, c.y, c.z)], 0);
            ++pairs;
        }
    }
    EXPECT_GT(alone, 0);
    EXPECT_GT(pairs, 0);
    EXPECT_TRUE(symmetricAbout(*run(*slab.model, moveToCell + "menu 40065\n" + carve).model, 0, 99));
}

// A block from x 10 to 19 is ten cells wide: 40066 puts the x plane between
// cells 14 and 15, so a one-cell Paint at x = 10 paints x = 19 too.
TEST_P(MirrorSessionTest, PlanesThroughTheModelsCentreMirrorAnEvenWidthCellForCell) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 10, 40, 40, 19, 59, 59, 5);
    const auto [x, y] = testing::projectedCentre({10, 50, 59});
    const std::string paint = "menu 40066\nmenu 40061\nkey A\nkey C\nkey C\n" +
                              stroke(static_cast<int>(x), static_cast<int>(x), 599 - static_cast<int>(y));
    const ModelStore painted = run(*block.model, paint);
    std::vector<int> changed;
    for (int i = 0; i < kCellCount; ++i)
        if (painted.model->cells[i] != block.model->cells[i]) changed.push_back(i);
    EXPECT_EQ(changed, (std::vector<int>{cellIndex(10, 50, 59), cellIndex(19, 50, 59)}));
}

// Colour 2 is locked and the other material stands on the right: painting
// their mirror images on the left leaves them as painting them directly would.
TEST_P(MirrorSessionTest, ImagesKeepLockedColoursAndTheOtherMaterial) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 49, 69, 69, 1);
    testing::fillBox(*block.model, 50, 30, 30, 69, 49, 69, 2);
    testing::fillBox(*block.model, 50, 50, 30, 69, 69, 69, 17);
    const std::string lockColour2ChooseColour3 = "rdown 30 209\nrup 30 209\nldown 30 238\nlup 30 238\n";
    const ModelStore painted = run(*block.model, lockColour2ChooseColour3 + "menu 40061\nkey A\nkey V\nkey V\nkey V\n" +
                                                     stroke(370, 385, 240) + stroke(370, 385, 360));
    int changedLeft = 0;
    for (int i = 0; i < kCellCount; ++i) {
        if (painted.model->cells[i] == block.model->cells[i]) continue;
        ASSERT_LT(cellAt(i).x, 50) << i;
        ++changedLeft;
    }
    EXPECT_GT(changedLeft, 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, MirrorSessionTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Scalar" : "Chosen"; });

// In the front view the x plane stands edge-on through the middle of the
// grid: a red line down the view's centre column, and none without it.
using MirrorDrawingTest = testing::SessionTest;

TEST_F(MirrorDrawingTest, TheXPlaneIsOutlinedInRedOnlyWhileItIsOn) {
    const auto redRows = [&](const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\n" + lines + "paint\ngrab $DIR/frame.tga\n"), "");
        const testing::Grab frame = grab("frame.tga");
        int rows = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 428; x <= 436; ++x) {
                const std::uint32_t rgb = frame.at(x, y);
                if ((rgb >> 16 & 0xff) > 180 && (rgb >> 8 & 0xff) < 110 && (rgb & 0xff) < 110) {
                    ++rows;
                    break;
                }
            }
        return rows;
    };
    EXPECT_GT(redRows("menu 40061\n"), 300);
    EXPECT_EQ(redRows(""), 0);
}

}  // namespace
}  // namespace cubrik
