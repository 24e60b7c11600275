// Spray, Paint, Peel and Coat on hand-made pick read-backs: one layer per
// stroke, the remap's protections, and the spray's noise and zones.
#include <gtest/gtest.h>

#include <cstring>

#include "edit/surface_brushes.h"
#include "stroke_fixture.h"
#include "support/pick_pixels.h"

namespace cubrik {
namespace {

using testing::Stroke;

// Presses at (20, 20) and sweeps back and forth past it.
void strokeBackAndForth(Stroke& stroke, int target) {
    surfaceStart(stroke.brush, 20, 20, target);
    surfaceStep(stroke.brush, 20, 20, 30, 24, target);
    surfaceStep(stroke.brush, 30, 24, 10, 20, target);
    surfaceStep(stroke.brush, 10, 20, 20, 20, target);
}

// Size 3 at 6 pixels: r = trunc(0.7667 * 6) = 4.
TEST(SurfaceBrushes, PeelAndCoatChangeOneLayerHoweverOftenTheBrushPasses) {
    Stroke stroke(3, 6.0f);
    stroke.fillSlab(6, kFirstCodeA);
    testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 5);  // the solid front face
    strokeBackAndForth(stroke, 0);
    strokeBackAndForth(stroke, 0);
    const int peeled = 1600 - stroke.filledInLayer(5);
    EXPECT_GT(peeled, 100);
    EXPECT_EQ(stroke.filledInLayer(4), 1600);
    EXPECT_EQ(stroke.model.cells[cellIndex(30, 24, 5)], 0);
    EXPECT_EQ(stroke.model.cells[cellIndex(20, 30, 5)], kFirstCodeA);

    // Coat the same path over the empty cells in front: as many cells as Peel took.
    testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 6);
    strokeBackAndForth(stroke, targetCode(stroke.edit));
    strokeBackAndForth(stroke, targetCode(stroke.edit));
    EXPECT_EQ(stroke.filledInLayer(6), peeled);
    EXPECT_EQ(stroke.filledInLayer(7), 0);
}

TEST(SurfaceBrushes, OtherMaterialAndLockedColoursSurvivePaintAndPeel) {
    Stroke stroke(12, 80.0f);  // covers the whole 40 x 40 face
    stroke.fillSlab(1, kFirstCodeA);
    for (int y = 0; y < 40; ++y)
        for (int x = 20; x < 40; ++x) testing::setCell(stroke.model, x, y, 0, kFirstCodeB + 2);
    for (int x = 0; x < 40; ++x) testing::setCell(stroke.model, x, 0, 0, kFirstCodeA + 3);
    stroke.model.lockedA[3] = 1;
    stroke.edit.currentSlot = kFirstSlot + 6;
    testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 0);

    auto expectProtected = [&](std::uint8_t paintedCode) {
        EXPECT_EQ(stroke.model.cells[cellIndex(5, 5, 0)], paintedCode);
        EXPECT_EQ(stroke.model.cells[cellIndex(25, 5, 0)], kFirstCodeB + 2);
        EXPECT_EQ(stroke.model.cells[cellIndex(5, 0, 0)], kFirstCodeA + 3);   // locked A
        EXPECT_EQ(stroke.model.cells[cellIndex(25, 0, 0)], kFirstCodeA + 3);  // locked A over B's half
    };
    surfaceStart(stroke.brush, 20, 20, targetCode(stroke.edit));
    expectProtected(kFirstCodeA + 6);
    surfaceStep(stroke.brush, 20, 20, 21, 22, 0);
    expectProtected(kEmpty);
}

TEST(SurfaceBrushes, SizeOneTouchesThePixelAndThenAThinLine) {
    Stroke stroke(1, 9.0f);  // r = trunc(0.1 * 9) = 0
    stroke.fillSlab(1, kFirstCodeA);
    testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 0);
    surfaceStart(stroke.brush, 2, 2, 0);
    EXPECT_EQ(stroke.filledInLayer(0), 1599);
    surfaceStep(stroke.brush, 2, 2, 5, 8, 0);  // rows 2..8 at x 2, 2, 3, 3, 4, 4, 5
    EXPECT_EQ(stroke.filledInLayer(0), 1593);
    EXPECT_EQ(stroke.model.cells[cellIndex(3, 5, 0)], 0);
}

TEST(SprayNoise, FollowsThePublishedSequenceLowNibbleFirst) {
    XorShift128 random;
    EXPECT_EQ(random.next(), 3701687786u);
    EXPECT_EQ(random.next(), 458299110u);
    EXPECT_EQ(random.next(), 2500872618u);

    EditingBuffers buffers;
    ASSERT_EQ(allocateEditingBuffers(buffers, KernelVariant::Sse2), 1);
    fillSprayNoise(buffers);
    const std::uint8_t firstDraws[16] = {10, 14, 5, 4, 3, 10, 12, 13, 6, 14, 6, 1, 1, 5, 11, 1};
    EXPECT_EQ(std::memcmp(buffers.brushScratch.get(), firstDraws, 16), 0);
    // The next stroke goes on from draw 125,001: the sequence is never reseeded.
    XorShift128 continued;
    for (int i = 0; i < 125000; ++i) continued.next();
    const std::uint32_t next = continued.next();
    fillSprayNoise(buffers);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffers.brushScratch[i], (next >> (4 * i)) & 15);
}

// Size 3 at 16 pixels: r = 12, so r / sqrt 6 and r / sqrt 3 lie between 4
// and 5 and between 6 and 7 pixels from the centre.
TEST(Spray, StartThresholdsFallOffFromTheCentre) {
    for (auto [noise, lastChanged] : {std::pair{11, 4}, {13, 6}, {14, 11}}) {
        Stroke stroke(3, 16.0f);
        stroke.fillSlab(1, kFirstCodeA);
        testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 0);
        std::memset(stroke.buffers.brushScratch.get(), noise, kCellCount);
        sprayStart(stroke.brush, 20, 20);
        EXPECT_EQ(stroke.model.cells[cellIndex(20 + lastChanged, 20, 0)], targetCode(stroke.edit)) << noise;
        EXPECT_EQ(stroke.model.cells[cellIndex(20 + lastChanged + 1, 20, 0)], kFirstCodeA) << noise;
    }
}

// The step's radii: trunc(12.27 / sqrt 6) = 5, trunc(12.27 / sqrt 3) = 7, 12.
TEST(Spray, StepSweepsThreeRadiiWithThresholdsTwelveToFourteen) {
    for (auto [noise, lastRow] : {std::pair{11, -1}, {12, 5}, {13, 7}, {14, 12}}) {
        Stroke stroke(3, 16.0f);
        stroke.fillSlab(1, kFirstCodeA);
        testing::preparePickFace(stroke.buffers.currentPick, 40, 40, 0);
        std::memset(stroke.buffers.brushScratch.get(), noise, kCellCount);
        sprayStep(stroke.brush, 10, 20, 30, 20);
        for (int row = 0; row <= 13; ++row) {
            const std::uint8_t expected = row <= lastRow ? targetCode(stroke.edit) : kFirstCodeA;
            EXPECT_EQ(stroke.model.cells[cellIndex(15, 20 + row, 0)], expected) << noise << " row " << row;
        }
    }
}

}  // namespace
}  // namespace cubrik
