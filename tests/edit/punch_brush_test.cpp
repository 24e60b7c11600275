// Punch in a real front view: tunnels through hidden cells, the square's
// bounds in each variant, and the swept area of a vector stroke step.
#include <gtest/gtest.h>

#include "edit/punch_brush.h"
#include "front_view_scene.h"

namespace cubrik {
namespace {

using testing::FrontViewScene;
using testing::kCentreX;
using testing::kCentreY;

constexpr std::uint8_t kCodeA = 1, kCodeB = 17;

class PunchVariants : public ::testing::TestWithParam<KernelVariant> {};

TEST_P(PunchVariants, StampTunnelsThroughABlockAndSparesTheOtherMaterial) {
    FrontViewScene scene(GetParam());
    VoxelModel& model = scene.model();
    testing::fillCube(model, 40, 59, kCodeA);
    for (int z = 40; z <= 59; ++z) testing::setCell(model, 50, 50, z, kCodeB);
    const ToolKernels kernels = toolKernelsFor(GetParam());
    ASSERT_EQ(kernels.punchPrepare(scene.brush), 1);
    ASSERT_EQ(kernels.punchStamp(scene.brush, kCentreX, kCentreY), 1);
    for (int z = 40; z <= 59; ++z) {
        EXPECT_EQ(model.cells[cellIndex(49, 49, z)], kEmpty) << z;
        EXPECT_EQ(model.cells[cellIndex(50, 49, z)], kEmpty) << z;
        EXPECT_EQ(model.cells[cellIndex(49, 50, z)], kEmpty) << z;
        EXPECT_EQ(model.cells[cellIndex(50, 50, z)], kCodeB) << z;
        EXPECT_EQ(model.cells[cellIndex(46, 49, z)], kCodeA) << z;  // 3.5 cells off: 13 pixels or more
        EXPECT_EQ(model.cells[cellIndex(49, 53, z)], kCodeA) << z;
    }
}

TEST_P(PunchVariants, StampOverTheBackgroundChangesNothing) {
    FrontViewScene scene(GetParam());
    testing::fillCube(scene.model(), 40, 59, kCodeA);
    const ToolKernels kernels = toolKernelsFor(GetParam());
    kernels.punchPrepare(scene.brush);
    kernels.punchStamp(scene.brush, 150, kCentreY);
    EXPECT_EQ(scene.count(kCodeA), 20 * 20 * 20);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, PunchVariants, ::testing::Values(KernelVariant::Scalar, KernelVariant::Sse2));

// Cell (49, 49, 49) alone; its centre projects to window pixel (429, 297)
// counted from the bottom: 432 - 2.13 and 300 - 2.13.
bool stampRemovesCentreCell(KernelVariant variant, int x, int frameBufferRow) {
    FrontViewScene scene(variant);
    scene.model().brushRadiusPx = 3.9f;  // half-size 3
    testing::setCell(scene.model(), 49, 49, 49, kCodeA);
    const ToolKernels kernels = toolKernelsFor(variant);
    kernels.punchPrepare(scene.brush);
    kernels.punchStamp(scene.brush, x, 600 - 1 - frameBufferRow);
    return scene.model().cells[cellIndex(49, 49, 49)] == kEmpty;
}

TEST(PunchStamp, ScalarSquareIsOnePixelNarrowerOnEachSide) {
    for (auto [x, row] : {std::pair{429 + 3, 297}, {429 - 3, 297}, {429, 297 + 3}, {429, 297 - 3}}) {
        EXPECT_TRUE(stampRemovesCentreCell(KernelVariant::Sse2, x, row)) << x << ", " << row;
        EXPECT_FALSE(stampRemovesCentreCell(KernelVariant::Scalar, x, row)) << x << ", " << row;
    }
    EXPECT_TRUE(stampRemovesCentreCell(KernelVariant::Scalar, 429 + 2, 297 - 2));
    EXPECT_FALSE(stampRemovesCentreCell(KernelVariant::Sse2, 429 + 4, 297));
}

struct RandomScene : FrontViewScene {
    explicit RandomScene(KernelVariant variant) : FrontViewScene(variant) {
        testing::fillRandom(model(), 11);
        toolKernelsFor(variant).punchPrepare(brush);
    }
};

TEST(PunchStroke, VectorHorizontalStepRemovesTheBoxBetweenTheSquares) {
    RandomScene step(KernelVariant::Sse2), stamps(KernelVariant::Sse2), untouched(KernelVariant::Sse2);
    EXPECT_EQ(punchStrokeKernelSse2(step.brush, 400, 250, 470, 250, 1), 1);
    for (int x = 400; x <= 470; ++x) punchStampSse2(stamps.brush, x, 250);
    EXPECT_TRUE(step.sameCells(stamps));
    EXPECT_FALSE(step.sameCells(untouched));
}

TEST(PunchStroke, VectorDiagonalStepKeepsToTheBandAlongTheSegment) {
    FrontViewScene scene(KernelVariant::Sse2);
    VoxelModel& model = scene.model();
    model.brushRadiusPx = 5.0f;
    testing::fillAll(model, kCodeA);
    // From frame-buffer (332, 200) to (532, 400): the band is 10 pixels wide
    // either side of the diagonal, so the box corner at (531, 200) is spared.
    punchStrokeKernelSse2(scene.brush, 332, 399, 532, 199, 1);
    EXPECT_EQ(model.cells[cellIndex(49, 49, 99)], kEmpty);   // (429, 297), on the diagonal
    EXPECT_EQ(model.cells[cellIndex(69, 30, 99)], kCodeA);  // (531, 200)
}

TEST(PunchStroke, ScalarStepIsCountSeparateStamps) {
    RandomScene step(KernelVariant::Scalar), stamps(KernelVariant::Scalar), untouched(KernelVariant::Scalar);
    EXPECT_EQ(punchStrokeKernelScalar(step.brush, 400, 250, 470, 250, 0), 0);
    EXPECT_TRUE(step.sameCells(untouched));
    EXPECT_EQ(punchStrokeKernelScalar(step.brush, 400, 250, 470, 250, 2), 1);
    punchStampScalar(stamps.brush, 435, 250);
    punchStampScalar(stamps.brush, 470, 250);
    EXPECT_TRUE(step.sameCells(stamps));
}

}  // namespace
}  // namespace cubrik
