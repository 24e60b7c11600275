#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <string>

#include "model/material.h"
#include "render/face_walk.h"
#include "render/quad_batch.h"
#include "support/model_builders.h"
#include "support/quad_recorder.h"

namespace cubrik {
namespace {

using testing::recordWalk;
using testing::RecordedQuads;
using Point = std::array<float, 3>;

struct Walker {
    ModelStore store = testing::makeStore();
    ColourTable colours{};

    VoxelModel& model() { return *store.model; }

    FaceWalk walk(FacePass pass, bool smooth, bool showA = true, bool showB = true,
                  KernelVariant variant = KernelVariant::Scalar, VisibleSlab visible = {}) {
        buildColourTable(model(), colours);
        FaceWalk w;
        w.pass = pass;
        w.cells = model().cells;
        w.showA = showA;
        w.showB = showB;
        w.visible = visible;
        w.smooth = smooth;
        w.smoothingTable = &store.smoothingTable;
        w.colourTable = &colours;
        w.variant = variant;
        return w;
    }

    RecordedQuads record(FacePass pass, bool smooth, bool showA = true, bool showB = true) {
        return recordWalk(walk(pass, smooth, showA, showB), 32768);
    }
};

Point vertexOf(const RecordedQuads& quads, int quad, int corner) {
    const float* v = quads.vertex(quad, corner);
    return {v[0], v[1], v[2]};
}

std::set<Point> vertexSet(const RecordedQuads& quads) {
    std::set<Point> points;
    for (int q = 0; q < quads.count(); ++q)
        for (int c = 0; c < 4; ++c) points.insert(vertexOf(quads, q, c));
    return points;
}

std::vector<KernelVariant> availableVariants() {
    std::vector<KernelVariant> variants{KernelVariant::Scalar};
    if (kernelVariantAvailable(KernelVariant::Sse2)) variants.push_back(KernelVariant::Sse2);
    return variants;
}

// --- The real walk against the literal per-cell loop ---------------------

struct ModelCase {
    std::string name;
    std::function<void(VoxelModel&)> fill;
    bool showA, showB;
    int capacity;  // small capacities put batch boundaries everywhere
    VisibleSlab visible{};  // what the cut-away leaves in view
};

void fillSparse(VoxelModel& model) {
    std::mt19937 random(7);
    for (auto& cell : model.cells) cell = random() % 10 == 0 ? static_cast<std::uint8_t>(1 + random() % 32) : 0;
}

// Cells on every face, edge and corner of the grid and across the 64-bit
// word boundary of a row.
void fillBoundary(VoxelModel& model) {
    const int edges[] = {0, 1, 62, 63, 64, 65, 98, 99};
    int code = 1;
    for (int a : edges)
        for (int b : edges) {
            testing::setCell(model, a, b, 0, static_cast<std::uint8_t>(code));
            testing::setCell(model, 99, a, b, static_cast<std::uint8_t>(33 - code));
            testing::setCell(model, b, 99, a, static_cast<std::uint8_t>(code));
            testing::setCell(model, a, b, 50, static_cast<std::uint8_t>(17));
            code = code % 32 + 1;
        }
}

class FastWalkMatchesLiteralLoop : public ::testing::TestWithParam<ModelCase> {};

TEST_P(FastWalkMatchesLiteralLoop, SameQuadsInTheSameBatches) {
    const ModelCase& c = GetParam();
    Walker w;
    c.fill(w.model());
    for (FacePass pass : {FacePass::Display, FacePass::PickSolid, FacePass::PickEmpty})
        for (bool smooth : {false, true}) {
            const RecordedQuads expected =
                recordWalk(w.walk(pass, smooth, c.showA, c.showB, KernelVariant::Scalar, c.visible), c.capacity, true);
            for (KernelVariant variant : availableVariants()) {
                const RecordedQuads actual =
                    recordWalk(w.walk(pass, smooth, c.showA, c.showB, variant, c.visible), c.capacity);
                EXPECT_TRUE(testing::sameQuads(actual, expected))
                    << "pass " << static_cast<int>(pass) << (smooth ? " smooth" : " flat") << " variant "
                    << static_cast<int>(variant) << ": " << actual.count() << " quads in "
                    << actual.batchSizes.size() << " batches, expected " << expected.count() << " in "
                    << expected.batchSizes.size();
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Models, FastWalkMatchesLiteralLoop,
    ::testing::Values(ModelCase{"random", [](VoxelModel& m) { testing::fillRandom(m, 1); }, true, true, 32768},
                      ModelCase{"randomOnlyA", [](VoxelModel& m) { testing::fillRandom(m, 2); }, true, false, 1000},
                      ModelCase{"randomOnlyB", [](VoxelModel& m) { testing::fillRandom(m, 3); }, false, true, 32768},
                      ModelCase{"sparse", fillSparse, true, true, 32768},
                      ModelCase{"sphere", [](VoxelModel& m) { testing::fillSphere(m, 45); }, true, true, 32768},
                      ModelCase{"sphereOnlyA", [](VoxelModel& m) { testing::fillSphere(m, 30); }, true, false, 97},
                      ModelCase{"checkerboard", [](VoxelModel& m) { testing::fillCheckerboard(m, 20, 3); }, true,
                                true, 7},
                      ModelCase{"fullGrid", [](VoxelModel& m) { testing::fillAll(m, 20); }, true, true, 32768},
                      ModelCase{"boundary", fillBoundary, true, true, 11},
                      ModelCase{"empty", [](VoxelModel&) {}, true, true, 32768},
                      // The cut-away: rows masked across the 64-bit word, whole rows, a single layer.
                      ModelCase{"randomCutX", [](VoxelModel& m) { testing::fillRandom(m, 4); }, true, true, 32768,
                                {0, 40, 70}},
                      ModelCase{"sphereCutY", [](VoxelModel& m) { testing::fillSphere(m, 45); }, true, false, 32768,
                                {1, 0, 49}},
                      ModelCase{"fullGridLayerZ", [](VoxelModel& m) { testing::fillAll(m, 20); }, true, true, 32768,
                                {2, 63, 63}}),
    [](const ::testing::TestParamInfo<ModelCase>& info) { return info.param.name; });

// --- Face rules ---------------------------------------------------------

TEST(FaceRules, ASingleCellGivesSixCubeFacesInTableOrder) {
    Walker w;
    w.model().paletteA[0] = {1.0f, 0.5f, 0.0f};
    testing::setCell(w.model(), 50, 50, 50, 1);
    const RecordedQuads quads = w.record(FacePass::Display, false);
    ASSERT_EQ(quads.count(), 6);
    // -x first: corners (x, y, z), (x, y, z + 1), (x, y + 1, z + 1), (x, y + 1, z), world = lattice - 50.
    EXPECT_EQ(vertexOf(quads, 0, 0), (Point{0, 0, 0}));
    EXPECT_EQ(vertexOf(quads, 0, 1), (Point{0, 0, 1}));
    EXPECT_EQ(vertexOf(quads, 0, 2), (Point{0, 1, 1}));
    EXPECT_EQ(vertexOf(quads, 0, 3), (Point{0, 1, 0}));
    // +z last: (x, y, z + 1), (x + 1, y, z + 1), (x + 1, y + 1, z + 1), (x, y + 1, z + 1).
    EXPECT_EQ(vertexOf(quads, 5, 0), (Point{0, 0, 1}));
    EXPECT_EQ(vertexOf(quads, 5, 1), (Point{1, 0, 1}));
    EXPECT_EQ(vertexOf(quads, 5, 2), (Point{1, 1, 1}));
    EXPECT_EQ(vertexOf(quads, 5, 3), (Point{0, 1, 1}));
    const float expectedNormals[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int q = 0; q < 6; ++q)
        for (int v = 0; v < 4; ++v)
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(quads.normal(q)[3 * v + i], expectedNormals[q][i]) << q;
                // Palette components 1.0 and 0.5 become the bytes 255 and 127.
                EXPECT_EQ(quads.colour(q)[3 * v + i], (std::array<int, 3>{255, 127, 0}[i])) << q;
            }
}

// Each corner of a face darkens by the cells beside it in the layer in front:
// two filled sides occlude it fully, one side a level; an open corner keeps
// the colour exactly. The quad starts on its darker diagonal.
TEST(FaceRules, OcclusionLevelsAndTheDiagonalTheQuadStartsOn) {
    struct Case {
        int sides[2][3];        // filled cells of the layer z = 51
        Point first;            // where the +z face of cell (50, 50, 50) starts
        int levels[4];          // from `first`, counter-clockwise
    };
    const Case cases[] = {{{{49, 50, 51}, {50, 49, 51}}, {0, 0, 1}, {3, 1, 0, 1}},
                          {{{51, 50, 51}, {50, 49, 51}}, {1, 0, 1}, {3, 1, 0, 1}}};
    for (const Case& c : cases) {
        Walker w;
        w.model().paletteA[0] = {1.0f, 0.5f, 0.0f};
        testing::setCell(w.model(), 50, 50, 50, 1);
        for (const auto& cell : c.sides) testing::setCell(w.model(), cell[0], cell[1], cell[2], 1);
        FaceWalk walk = w.walk(FacePass::Display, false);
        walk.occlusion = true;
        const RecordedQuads quads = recordWalk(walk, 32768);
        int front = -1;
        for (int q = 0; q < quads.count(); ++q)
            if (quads.normal(q)[2] == 1 && vertexOf(quads, q, 0)[2] == 1) front = q;  // the only +z face at z = 1
        ASSERT_GE(front, 0);
        EXPECT_EQ(vertexOf(quads, front, 0), c.first);
        for (int v = 0; v < 4; ++v) {
            const int shade = kOcclusionShade[c.levels[v]];
            EXPECT_EQ(quads.colour(front)[3 * v], 255 * shade >> 8) << v;
            EXPECT_EQ(quads.colour(front)[3 * v + 1], 127 * shade >> 8) << v;
        }
    }
}

TEST(FaceRules, AHiddenMaterialCountsAsEmpty) {
    Walker w;
    testing::setCell(w.model(), 50, 50, 50, 1);   // material A
    testing::setCell(w.model(), 51, 50, 50, 17);  // material B beside it
    EXPECT_EQ(w.record(FacePass::Display, false, false, true).count(), 6);   // only B
    EXPECT_EQ(w.record(FacePass::Display, false, true, true).count(), 10);   // the shared face is inside
    const RecordedQuads onlyA = w.record(FacePass::Display, false, true, false);
    ASSERT_EQ(onlyA.count(), 6);  // the face towards B is drawn, on the A cell
    EXPECT_EQ(vertexOf(onlyA, 1, 0), (Point{1, 0, 0}));
    // To the pick pass the hidden B cell is an empty cell in front of A.
    const RecordedQuads empty = w.record(FacePass::PickEmpty, false, true, false);
    ASSERT_EQ(empty.count(), 6);
    EXPECT_EQ(empty.colour(3)[0], 102);  // cell (51, 50, 50), after the -z, -y, +x neighbours
}

TEST(FaceRules, GridBoundaryFacesArePickedSolidButNeverAsEmpty) {
    Walker w;
    testing::setCell(w.model(), 0, 50, 50, 1);
    for (FacePass pass : {FacePass::Display, FacePass::PickSolid}) {
        const RecordedQuads quads = w.record(pass, false);
        ASSERT_EQ(quads.count(), 6);
        EXPECT_EQ(vertexOf(quads, 0, 0), (Point{-50, 0, 0}));
    }
    const RecordedQuads empty = w.record(FacePass::PickEmpty, false);
    EXPECT_EQ(empty.count(), 5);
    for (int q = 0; q < empty.count(); ++q) {
        int onBoundary = 0;
        for (int c = 0; c < 4; ++c) onBoundary += vertexOf(empty, q, c)[0] == -50.0f;
        EXPECT_LT(onBoundary, 4) << q;
    }
}

TEST(FaceRules, PickEmptyDrawsTheEmptyNeighboursFacesReversed) {
    Walker w;
    testing::setCell(w.model(), 50, 50, 50, 1);
    const RecordedQuads quads = w.record(FacePass::PickEmpty, false);
    ASSERT_EQ(quads.count(), 6);
    // In traversal order: (50, 50, 49) with its +z face, then (50, 49, 50), (49, 50, 50),
    // (51, 50, 50), (50, 51, 50) and (50, 50, 51).
    const std::uint8_t expectedColours[6][3] = {{100, 100, 98},  {100, 98, 100},  {98, 100, 100},
                                                {102, 100, 100}, {100, 102, 100}, {100, 100, 102}};
    for (int q = 0; q < 6; ++q)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(quads.colour(q)[i], expectedColours[q][i]) << q;
    // The +z face of (50, 50, 49) in reverse:
    // (x, y + 1, z + 1), (x + 1, y + 1, z + 1), (x + 1, y, z + 1), (x, y, z + 1).
    EXPECT_EQ(vertexOf(quads, 0, 0), (Point{0, 1, 0}));
    EXPECT_EQ(vertexOf(quads, 0, 1), (Point{1, 1, 0}));
    EXPECT_EQ(vertexOf(quads, 0, 2), (Point{1, 0, 0}));
    EXPECT_EQ(vertexOf(quads, 0, 3), (Point{0, 0, 0}));
}

TEST(FaceRules, AFullGridDrawsItsSixtyThousandBoundaryFacesInTwoBatches) {
    Walker w;
    testing::fillAll(w.model(), 5);
    const RecordedQuads quads = w.record(FacePass::Display, false);
    EXPECT_EQ(quads.count(), 60000);
    ASSERT_EQ(quads.batchSizes.size(), 2u);
    EXPECT_GT(quads.batchSizes[0], 32768 - 6);
}

TEST(QuadCapacity, FollowsTheDriversPreferredVertexCount) {
    EXPECT_EQ(quadCapacityFor(3000), 32768);  // llvmpipe
    EXPECT_EQ(quadCapacityFor(100000), 32768);
    EXPECT_EQ(quadCapacityFor(0), 32768);
    EXPECT_EQ(quadCapacityFor(1048576), 262144);
    EXPECT_EQ(quadCapacityFor(2097152), 524288);
    EXPECT_EQ(quadCapacityFor(2097156), 131072);
}

TEST(KernelVariantChoice, CubrikScalarForcesTheScalarKernels) {
    const char* before = std::getenv("CUBRIK_SCALAR");
    const std::string saved = before ? before : "";
    setenv("CUBRIK_SCALAR", "1", 1);
    EXPECT_EQ(chooseKernelVariant(), KernelVariant::Scalar);
    unsetenv("CUBRIK_SCALAR");
    EXPECT_EQ(chooseKernelVariant(),
              kernelVariantAvailable(KernelVariant::Sse2) ? KernelVariant::Sse2 : KernelVariant::Scalar);
    if (before) setenv("CUBRIK_SCALAR", saved.c_str(), 1);
}

// --- Smoothed shapes ----------------------------------------------------

TEST(SmoothShapes, ASingleCellBecomesAHalfSizeCubeAboutTheSameCentre) {
    Walker w;
    testing::setCell(w.model(), 50, 50, 50, 1);
    testing::setCell(w.model(), 0, 0, 0, 2);  // the grid's outside counts as empty
    const RecordedQuads quads = w.record(FacePass::Display, true);
    ASSERT_EQ(quads.count(), 12);
    std::set<Point> expected;
    for (float x : {0.25f, 0.75f})
        for (float y : {0.25f, 0.75f})
            for (float z : {0.25f, 0.75f}) {
                expected.insert({x, y, z});
                expected.insert({x - 50, y - 50, z - 50});
            }
    EXPECT_EQ(vertexSet(quads), expected);
}

TEST(SmoothShapes, ATwoCellBarBecomesABoxOfOneAndAHalfByAHalf) {
    Walker w;
    testing::setCell(w.model(), 50, 50, 50, 1);
    testing::setCell(w.model(), 51, 50, 50, 1);
    std::set<Point> expected;
    for (float x : {0.25f, 1.0f, 1.75f})
        for (float y : {0.25f, 0.75f})
            for (float z : {0.25f, 0.75f}) expected.insert({x, y, z});
    EXPECT_EQ(vertexSet(w.record(FacePass::Display, true)), expected);
}

TEST(SmoothShapes, ABlockKeepsItsFlatFacesAndRoundsItsEdgesAndCorners) {
    Walker w;
    for (int z = 20; z < 30; ++z)
        for (int y = 20; y < 30; ++y)
            for (int x = 20; x < 30; ++x) testing::setCell(w.model(), x, y, z, 4);
    const std::set<Point> points = vertexSet(w.record(FacePass::Display, true));
    EXPECT_TRUE(points.count({25 - 50.f, 25 - 50.f, 30 - 50.f}));        // flat face: stays
    EXPECT_TRUE(points.count({20.25f - 50, 25 - 50.f, 29.75f - 50}));    // edge: a quarter in on two axes
    EXPECT_TRUE(points.count({20.25f - 50, 20.25f - 50, 29.75f - 50}));  // corner: on all three
    EXPECT_FALSE(points.count({20 - 50.f, 25 - 50.f, 30 - 50.f}));
}

TEST(SmoothShapes, APointWithSevenFilledCellsMovesThreeEighthsTowardsTheEmptyOne) {
    Walker w;
    for (int z = 50; z < 52; ++z)
        for (int y = 50; y < 52; ++y)
            for (int x = 50; x < 52; ++x)
                if (x + y + z < 153) testing::setCell(w.model(), x, y, z, 9);
    EXPECT_TRUE(vertexSet(w.record(FacePass::Display, true)).count({1.375f, 1.375f, 1.375f}));
}

TEST(SmoothShapes, AHiddenMaterialStillShapesTheSurfaceBesideIt) {
    Walker w;
    testing::setCell(w.model(), 50, 50, 50, 1);
    testing::setCell(w.model(), 51, 50, 50, 17);
    const RecordedQuads onlyA = w.record(FacePass::Display, true, true, false);
    ASSERT_EQ(onlyA.count(), 6);
    // The +x face lies on the plane shared with the hidden cell, and stays there
    // as it would in the middle of the two-cell bar.
    for (int c = 0; c < 4; ++c) EXPECT_EQ(vertexOf(onlyA, 1, c)[0], 1.0f);
}

TEST(SmoothShapes, PickFacesSitOnTheDisplayedSurface) {
    Walker w;
    testing::fillSphere(w.model(), 12);
    const RecordedQuads display = w.record(FacePass::Display, true);
    const RecordedQuads solid = w.record(FacePass::PickSolid, true);
    EXPECT_TRUE(testing::sameBits(display.vertices, solid.vertices));
    EXPECT_EQ(vertexSet(w.record(FacePass::PickEmpty, true)), vertexSet(display));
}

}  // namespace
}  // namespace cubrik
