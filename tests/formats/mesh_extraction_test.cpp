#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "formats/mesh_extraction.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

using Point = std::array<float, 3>;
using Quad = std::array<int, 4>;

class MeshExtraction : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(initMeshExtraction(extractor), 1); }

    const QuadMesh& extract(Material material, bool smooth = false) {
        if (smooth) refreshCornerCodes(store.model->cells, *store.cornerCodes);
        const MeshSource source{*store.model, *store.cornerCodes, table, smooth};
        EXPECT_EQ(extractQuadMesh(extractor, source, material), 1);
        return extractor.mesh;
    }
    void set(int x, int y, int z, std::uint8_t code) { testing::setCell(*store.model, x, y, z, code); }

    std::vector<Point> vertices() const {
        std::vector<Point> out;
        for (int v = 0; v < vertexCount(extractor.mesh); ++v) out.push_back(point(extractor.mesh.positions, v));
        return out;
    }
    std::vector<Quad> faces() const {
        std::vector<Quad> out;
        const auto& q = extractor.mesh.quads;
        for (int f = 0; f < faceCount(extractor.mesh); ++f)
            out.push_back({q[4 * f], q[4 * f + 1], q[4 * f + 2], q[4 * f + 3]});
        return out;
    }
    std::vector<Point> normals() const {
        std::vector<Point> out;
        for (int f = 0; f < faceCount(extractor.mesh); ++f) out.push_back(point(extractor.mesh.faceNormals, f));
        return out;
    }
    // How many vertices sit at `p`.
    int verticesAt(const Point& p) const {
        int n = 0;
        for (const Point& v : vertices()) n += v == p;
        return n;
    }
    static Point point(const std::vector<float>& array, int i) {
        return {array[3 * i], array[3 * i + 1], array[3 * i + 2]};
    }

    ModelStore store = testing::makeStore();
    SmoothingTable& table = store.smoothingTable;
    MeshExtractor extractor;
};

TEST_F(MeshExtraction, OneCellGivesTheWorkedExample) {
    set(0, 0, 0, 5);
    const QuadMesh& mesh = extract(Material::A);
    EXPECT_EQ(vertices(), (std::vector<Point>{{0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {0, 0, 0},
                                              {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}}));
    EXPECT_EQ(faces(), (std::vector<Quad>{{3, 2, 1, 0}, {7, 6, 5, 4}, {3, 7, 4, 2},
                                          {0, 1, 5, 6}, {3, 0, 6, 7}, {2, 4, 5, 1}}));
    EXPECT_EQ(normals(), (std::vector<Point>{{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}}));
    ASSERT_EQ(mesh.faceColoursLength, 6u);
    for (int f = 0; f < 6; ++f) EXPECT_EQ(mesh.faceColours[f], 5);
    for (int c = 0; c <= kPaletteSize; ++c) EXPECT_EQ(mesh.facesPerColour[c], c == 5 ? 6 : 0) << c;
}

TEST_F(MeshExtraction, TheOtherMaterialCountsAsEmptySpace) {
    set(10, 10, 10, 3);        // material A, colour 3
    set(11, 10, 10, 16 + 4);   // material B, colour 4
    const QuadMesh& a = extract(Material::A);
    EXPECT_EQ(vertexCount(a), 8);
    EXPECT_EQ(faceCount(a), 6);
    EXPECT_EQ(a.facesPerColour[3], 6);
    EXPECT_EQ(normals()[1], (Point{1, 0, 0}));  // the face towards the B cell
    const QuadMesh& b = extract(Material::B);
    EXPECT_EQ(vertexCount(b), 8);
    EXPECT_EQ(faceCount(b), 6);
    EXPECT_EQ(b.facesPerColour[4], 6);
    EXPECT_EQ(normals()[0], (Point{-1, 0, 0}));

    store.model->cells[cellIndex(11, 10, 10)] = 0;
    const QuadMesh& none = extract(Material::B);
    EXPECT_EQ(vertexCount(none), 0);
    EXPECT_EQ(faceCount(none), 0);
}

TEST_F(MeshExtraction, TwoColoursSharingAFaceShareItsVerticesButNotTheFace) {
    set(0, 0, 0, 1);
    set(1, 0, 0, 2);
    const QuadMesh& mesh = extract(Material::A);
    EXPECT_EQ(vertexCount(mesh), 12);
    EXPECT_EQ(faceCount(mesh), 10);
    EXPECT_EQ(mesh.facesPerColour[1], 5);
    EXPECT_EQ(mesh.facesPerColour[2], 5);
}

TEST_F(MeshExtraction, CellsTouchingOnlyAtAnEdgeOrACornerKeepSeparateVertices) {
    set(0, 0, 0, 1);
    set(1, 1, 0, 1);
    EXPECT_EQ(vertexCount(extract(Material::A)), 16);
    EXPECT_EQ(faceCount(extractor.mesh), 12);
    EXPECT_EQ(verticesAt({1, 1, 0}), 2);
    EXPECT_EQ(verticesAt({1, 1, 1}), 2);

    store.model->cells[cellIndex(1, 1, 0)] = 0;
    set(1, 1, 1, 1);
    EXPECT_EQ(vertexCount(extract(Material::A)), 16);
    EXPECT_EQ(faceCount(extractor.mesh), 12);
    EXPECT_EQ(verticesAt({1, 1, 1}), 2);
}

TEST_F(MeshExtraction, ACellJoiningTwoOthersThroughFacesMakesThemShareVertices) {
    set(0, 0, 0, 1);
    set(1, 0, 0, 1);
    set(1, 1, 0, 1);
    EXPECT_EQ(vertexCount(extract(Material::A)), 16);
    EXPECT_EQ(faceCount(extractor.mesh), 14);
    EXPECT_EQ(verticesAt({1, 1, 0}), 1);
}

TEST_F(MeshExtraction, FourCellsMeetingOnlyAtEdgesGetFourVerticesAtTheirCommonPoint) {
    set(0, 0, 0, 1);
    set(1, 1, 0, 1);
    set(1, 0, 1, 1);
    set(0, 1, 1, 1);
    EXPECT_EQ(vertexCount(extract(Material::A)), 32);
    EXPECT_EQ(faceCount(extractor.mesh), 24);
    EXPECT_EQ(verticesAt({1, 1, 1}), 4);
}

TEST_F(MeshExtraction, CellsOnTheBorderEmitTheirOuterFaces) {
    set(99, 99, 99, 16);
    extract(Material::A);
    EXPECT_EQ(faceCount(extractor.mesh), 6);
    EXPECT_EQ(verticesAt({100, 100, 100}), 1);

    testing::fillAll(*store.model, 7);  // many blocks of growth
    const QuadMesh& mesh = extract(Material::A);
    EXPECT_EQ(faceCount(mesh), 6 * 100 * 100);
    EXPECT_EQ(vertexCount(mesh), 101 * 101 * 101 - 99 * 99 * 99);
    EXPECT_EQ(mesh.facesPerColour[7], 60000);
    EXPECT_EQ(mesh.positions.size() % (3 * kMeshBlock), 0u);
    EXPECT_GT(mesh.positions.size(), mesh.positionsLength);
}

TEST_F(MeshExtraction, SmoothModeMovesCornersAsTheSmoothDisplayDoes) {
    set(0, 0, 0, 1);
    set(1, 0, 0, 1);
    extract(Material::A, true);
    // A 2 x 1 x 1 block becomes a box of 1.5 x 0.5 x 0.5 cells with the same centre.
    for (const Point& v : vertices()) {
        EXPECT_TRUE(v[0] == 0.25f || v[0] == 1.0f || v[0] == 1.75f) << v[0];
        EXPECT_TRUE(v[1] == 0.25f || v[1] == 0.75f) << v[1];
        EXPECT_TRUE(v[2] == 0.25f || v[2] == 0.75f) << v[2];
    }
    EXPECT_EQ(normals()[0], (Point{-1, 0, 0}));
}

TEST_F(MeshExtraction, SmoothModeKeepsTheFacesAndGivesOutwardUnitNormals) {
    testing::fillSphere(*store.model, 12);
    const QuadMesh& flat = extract(Material::B);
    const std::vector<int> flatQuads(flat.quads.begin(), flat.quads.begin() + flat.quadsLength);
    const QuadMesh& mesh = extract(Material::B, true);
    EXPECT_EQ(std::vector<int>(mesh.quads.begin(), mesh.quads.begin() + mesh.quadsLength), flatQuads);
    const std::vector<Point> v = vertices();
    const std::vector<Quad> f = faces();
    const std::vector<Point> n = normals();
    for (std::size_t i = 0; i < f.size(); ++i) {
        EXPECT_NEAR(n[i][0] * n[i][0] + n[i][1] * n[i][1] + n[i][2] * n[i][2], 1.0, 1e-5);
        float outward = 0;  // from the sphere's centre to the face's centre, along the normal
        for (int axis = 0; axis < 3; ++axis) {
            const float centre = (v[f[i][0]][axis] + v[f[i][1]][axis] + v[f[i][2]][axis] + v[f[i][3]][axis]) / 4;
            outward += (centre - 50) * n[i][axis];
        }
        if (v[f[i][0]][0] > 50.5f) {  // not the flat cut at x = 50
            EXPECT_GT(outward, 0) << i;
        }
    }
}

TEST_F(MeshExtraction, ASmoothFaceWhoseCornersCollapseHasANullNormal) {
    // A table that pulls each corner of a lone cell half a cell towards its
    // centre, so all eight meet in one point.
    for (auto& offset : table.offset) offset[0] = offset[1] = offset[2] = 0;
    for (int bit = 0; bit < 8; ++bit)
        for (int axis = 0; axis < 3; ++axis) table.offset[1 << bit][axis] = (bit >> axis & 1) ? 4 : -4;
    set(0, 0, 0, 1);
    extract(Material::A, true);
    for (const Point& v : vertices()) EXPECT_EQ(v, (Point{0.5f, 0.5f, 0.5f}));
    for (const Point& n : normals()) EXPECT_EQ(n, (Point{0, 0, 0}));
}

TEST_F(MeshExtraction, RunningOutOfMemoryThrowsAndTheNextExtractionStartsAfresh) {
    testing::fillAll(*store.model, 2);
    extractor.growthLimitBytes = 1 << 20;
    EXPECT_THROW(extract(Material::A), std::bad_alloc);
    extractor.growthLimitBytes = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(faceCount(extract(Material::A)), 60000);
    EXPECT_EQ(vertexCount(extractor.mesh), 60002);
}

}  // namespace
}  // namespace cubrik
