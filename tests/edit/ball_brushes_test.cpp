// Carve and Build: where the ball goes, what it may change, its clipping, and
// where the vector and scalar stroke steps differ.
#include <gtest/gtest.h>

#include "edit/ball_brushes.h"
#include "front_view_scene.h"

namespace cubrik {
namespace {

using testing::FrontViewScene;
using testing::kCentreX;
using testing::kCentreY;

constexpr std::uint8_t kCodeA = 1;   // slot 10 of material A, the current colour
constexpr std::uint8_t kCodeB = 17;  // material B

TEST(BallStart, CarveOverTheBackgroundChangesNothing) {
    FrontViewScene scene(KernelVariant::Scalar);
    testing::fillCube(scene.model(), 40, 59, kCodeA);
    EXPECT_EQ(ballStart(scene.brush, kCentreX, kCentreY, 0), 0);
    EXPECT_EQ(scene.count(kCodeA), 20 * 20 * 20);
}

TEST(BallStart, BuildOverTheBackgroundUsesTheCentrePlane) {
    FrontViewScene scene(KernelVariant::Scalar);
    scene.model().brushSize = 2;
    EXPECT_EQ(ballStart(scene.brush, kCentreX, kCentreY, kCodeA), 1);
    EXPECT_EQ(scene.count(kCodeA), 27);  // size 2: the 3 x 3 x 3 block
    EXPECT_EQ(scene.model().cells[cellIndex(48, 48, 48)], kCodeA);
    EXPECT_EQ(scene.model().cells[cellIndex(50, 50, 50)], kCodeA);
    // Far outside the grid's projected box there is no centre.
    EXPECT_EQ(ballStart(scene.brush, 799, 0, kCodeA), 0);
    EXPECT_EQ(scene.count(kCodeA), 27);
}

TEST(BallStart, BuildFillsEmptyCellsOnlyAndSizeOneIsOneCell) {
    FrontViewScene scene(KernelVariant::Scalar);
    VoxelModel& model = scene.model();
    testing::fillCube(model, 48, 52, kCodeA + 2);
    testing::setCell(model, 50, 50, 50, kEmpty);
    testing::setCell(model, 49, 50, 50, kCodeB);
    scene.showInPick(10 + kViewLeft, 10, 50, 50, 50);
    model.brushSize = 1;
    EXPECT_EQ(ballStart(scene.brush, 10 + kViewLeft, 10, kCodeA), 1);
    EXPECT_EQ(scene.count(kCodeA), 1);
    model.brushSize = 4;
    EXPECT_EQ(ballStart(scene.brush, 10 + kViewLeft, 10, kCodeA), 1);
    EXPECT_EQ(model.cells[cellIndex(49, 50, 50)], kCodeB);
    EXPECT_EQ(scene.count(kCodeA + 2), 5 * 5 * 5 - 2);
    EXPECT_EQ(model.cells[cellIndex(50, 50, 47)], kCodeA);  // distance 3
    EXPECT_EQ(model.cells[cellIndex(50, 50, 46)], kEmpty);  // distance 4: strictly inside only
    EXPECT_EQ(model.cells[cellIndex(47, 47, 50)], kEmpty);  // distance sqrt 18
}

TEST(BallStart, CarveSparesTheOtherMaterialAndLockedColours) {
    FrontViewScene scene(KernelVariant::Scalar);
    VoxelModel& model = scene.model();
    model.lockedA[1] = 1;  // code 2
    testing::fillCube(model, 45, 55, kCodeA);
    testing::setCell(model, 50, 51, 50, 2);
    testing::setCell(model, 51, 50, 50, kCodeB);
    scene.showInPick(kCentreX, kCentreY, 50, 50, 50);
    EXPECT_EQ(ballStart(scene.brush, kCentreX, kCentreY, 0), 1);
    EXPECT_EQ(model.cells[cellIndex(50, 50, 50)], kEmpty);
    EXPECT_EQ(model.cells[cellIndex(50, 51, 50)], 2);
    EXPECT_EQ(model.cells[cellIndex(51, 50, 50)], kCodeB);
}

TEST(BallStart, BallsOnCornerCellsAreClippedToTheGrid) {
    FrontViewScene scene(KernelVariant::Scalar);
    testing::fillAll(scene.model(), kCodeA);
    scene.showInPick(100, 100, 0, 0, 0);
    scene.showInPick(200, 100, 99, 99, 99);
    ASSERT_EQ(ballStart(scene.brush, 100, 100, 0), 1);
    ASSERT_EQ(ballStart(scene.brush, 200, 100, 0), 1);
    // Per corner, offsets 0..2 on each axis with a squared length below 9:
    // all 27 but (2, 2, 1) in its three orders and (2, 2, 2).
    EXPECT_EQ(scene.count(kEmpty), 2 * 23);
}

// A carve step along row 300 whose twelve samples name cells 0, 3, 6, ...
// apart, on a model of random codes.
struct CarveStep : FrontViewScene {
    CarveStep() : FrontViewScene(KernelVariant::Scalar) {
        testing::fillRandom(model(), 7);
        for (int x = 100; x <= 400; ++x) showInPick(x, 300, (x - 100) / 3, 50, 60);
    }
};

TEST(BallStroke, VectorStepEqualsScalarStepWithTwelveSamples) {
    CarveStep vector, scalar;
    EXPECT_EQ(ballStrokeKernelSse2(vector.brush, 100, 300, 400, 300, 0, 5), 1);
    EXPECT_EQ(ballStrokeKernelScalar(scalar.brush, 100, 300, 400, 300, 0, 12), 1);
    EXPECT_TRUE(vector.sameCells(scalar));
    CarveStep untouched;
    EXPECT_FALSE(vector.sameCells(untouched));
}

TEST(BallStroke, UnmovedPointerReappliesOnlyInTheVectorVariant) {
    CarveStep vector, scalar, untouched;
    EXPECT_EQ(ballStrokeKernelSse2(vector.brush, 130, 300, 130, 300, 0, 0), 1);
    EXPECT_EQ(ballStrokeKernelScalar(scalar.brush, 130, 300, 130, 300, 0, 0), 1);
    EXPECT_FALSE(vector.sameCells(untouched));
    EXPECT_TRUE(scalar.sameCells(untouched));
}

TEST(BallStroke, OnlyTheVectorStepReportsNoCentre) {
    CarveStep vector, scalar, untouched;
    EXPECT_EQ(ballStrokeKernelSse2(vector.brush, 500, 100, 600, 200, 0, 12), 0);
    EXPECT_EQ(ballStrokeKernelScalar(scalar.brush, 500, 100, 600, 200, 0, 12), 1);
    EXPECT_TRUE(vector.sameCells(untouched));
    EXPECT_TRUE(scalar.sameCells(untouched));
}

}  // namespace
}  // namespace cubrik
