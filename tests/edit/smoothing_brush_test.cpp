// The neighbour count against a direct count, and the majority vote on a flat
// face with a bump and a pit, seen through hand-made pick read-backs.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "edit/smoothing_brush.h"
#include "stroke_fixture.h"
#include "support/neighbour_reference.h"
#include "support/pick_pixels.h"

namespace cubrik {
namespace {

TEST(CountNeighbours, MatchesTheDirectCountOnRandomGrids) {
    std::mt19937 random(11);
    std::vector<std::uint8_t> cells(kCellCount), scratch(kBrushScratchBytes), expected(kCellCount);
    for (int percentFilled : {5, 50, 95}) {
        std::uniform_int_distribution<int> percent(0, 99), code(1, kLastCode);
        for (auto& cell : cells) cell = percent(random) < percentFilled ? static_cast<std::uint8_t>(code(random)) : 0;
        testing::countNeighboursDirectly(cells.data(), expected.data());
        countNeighbours(cells.data(), scratch.data());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), scratch.begin())) << percentFilled;
    }
}

// The face z = 9 of a slab seen from the front: the solid pick shows it and
// the empty pick the layer before it, one cell per pixel. A bump stands on it
// at (21, 21) and a pit sinks into it at (31, 31).
struct BumpAndPit : testing::Stroke {
    BumpAndPit(int brushSize, float brushRadiusPx, std::uint8_t bumpCode, std::uint8_t pitCode)
        : Stroke(brushSize, brushRadiusPx) {
        fillSlab(10, kFirstCodeA);
        testing::preparePickFace(buffers.previousPick, 40, 40, 9);
        testing::preparePickFace(buffers.currentPick, 40, 40, 10);
        testing::setCell(model, 21, 21, 10, bumpCode);
        testing::setPickPixel(buffers.previousPick, 21, 21, 21, 21, 10);
        testing::setPickPixel(buffers.currentPick, 21, 21, 21, 21, 11);
        testing::setCell(model, 31, 31, 9, pitCode);
        if (pitCode == kEmpty) {
            testing::setPickPixel(buffers.previousPick, 31, 31, 31, 31, 8);
            testing::setPickPixel(buffers.currentPick, 31, 31, 31, 31, 9);
        }
        countNeighbours(model.cells, buffers.brushScratch.get());
    }

    std::uint8_t bump() const { return model.cells[cellIndex(21, 21, 10)]; }
    std::uint8_t pit() const { return model.cells[cellIndex(31, 31, 9)]; }
};

TEST(Smoothing, WearsDownABumpFillsAPitAndKeepsAFlatFace) {
    // Size 4 at 16 pixels: the start's disc has radius 12 about (25, 25) and
    // the step's radius 13, clear of the slab's worn edges.
    BumpAndPit face(4, 16.0f, kFirstCodeA, kEmpty);
    EXPECT_EQ(face.buffers.brushScratch[cellIndex(21, 21, 10)], 10);
    EXPECT_EQ(face.buffers.brushScratch[cellIndex(31, 31, 9)], 17);
    EXPECT_EQ(face.buffers.brushScratch[cellIndex(5, 5, 9)], 18);
    EXPECT_EQ(face.buffers.brushScratch[cellIndex(5, 5, 10)], 9);
    smoothingStart(face.brush, 25, 25);
    EXPECT_EQ(face.bump(), kEmpty);
    EXPECT_EQ(face.pit(), targetCode(face.edit));
    EXPECT_EQ(face.filledInLayer(9), 1600);
    EXPECT_EQ(face.filledInLayer(10), 0);
    // The counts stay those of the stroke start: passing again changes nothing.
    smoothingStep(face.brush, 25, 25, 26, 26);
    smoothingStep(face.brush, 26, 26, 25, 25);
    EXPECT_EQ(face.filledInLayer(9), 1600);
    EXPECT_EQ(face.filledInLayer(10), 0);
}

// Size 2 at 4 pixels: step radius 2, so a vertical step down column 21
// samples columns 19, 21, 23 on every second row from 21.
TEST(Smoothing, StepVisitsEverySecondRowAndColumn) {
    BumpAndPit face(2, 4.0f, kFirstCodeA, kEmpty);
    testing::setCell(face.model, 22, 31, 9, kEmpty);  // a second pit, off the sampled columns
    countNeighbours(face.model.cells, face.buffers.brushScratch.get());
    smoothingStep(face.brush, 21, 21, 21, 33);
    EXPECT_EQ(face.bump(), kEmpty);
    EXPECT_EQ(face.pit(), kEmpty);  // column 31 is not under the brush
    smoothingStep(face.brush, 31, 21, 31, 31);
    EXPECT_EQ(face.pit(), targetCode(face.edit));
    EXPECT_EQ(face.model.cells[cellIndex(22, 31, 9)], kEmpty);
}

TEST(Smoothing, NeverPaintsAFilledCellNorRemovesTheOtherMaterial) {
    // The pit holds a cell of the hidden material B, which the empty pick
    // shows as empty; the bump is of material B too.
    BumpAndPit face(4, 16.0f, kFirstCodeB, kFirstCodeB + 4);
    testing::setPickPixel(face.buffers.currentPick, 31, 31, 31, 31, 9);
    smoothingStart(face.brush, 25, 25);
    EXPECT_EQ(face.bump(), kFirstCodeB);
    EXPECT_EQ(face.pit(), kFirstCodeB + 4);

    BumpAndPit sizeOne(1, 80.0f, kFirstCodeA, kEmpty);
    smoothingStart(sizeOne.brush, 31, 31);
    EXPECT_EQ(sizeOne.pit(), targetCode(sizeOne.edit));
    EXPECT_EQ(sizeOne.bump(), kFirstCodeA);
}

}  // namespace
}  // namespace cubrik
