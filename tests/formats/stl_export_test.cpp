// The binary STL: its bytes for one cell, and closed as slicers judge it on
// the shapes that are hard to close: cells meeting only along an edge or at a
// corner, the full grid, a checkerboard, random cells and the examples.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <random>

#include "formats/stl_export.h"
#include "support/file_bytes.h"
#include "support/mesh_export_fixture.h"

namespace cubrik {
namespace {

using Point = std::array<float, 3>;

struct Triangle {
    Point normal;
    Point corner[3];
};

float floatAt(const std::string& bytes, std::size_t at) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

std::vector<Triangle> readStl(const std::string& bytes) {
    std::vector<Triangle> triangles;
    if (bytes.size() < 84) return triangles;
    const std::uint32_t count = static_cast<std::uint8_t>(bytes[80]) | static_cast<std::uint8_t>(bytes[81]) << 8 |
                                static_cast<std::uint8_t>(bytes[82]) << 16 |
                                static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[83])) << 24;
    EXPECT_EQ(bytes.size(), 84 + 50 * std::size_t{count});
    for (std::size_t at = 84; at + 50 <= bytes.size(); at += 50) {
        Triangle t;
        for (int axis = 0; axis < 3; ++axis) t.normal[axis] = floatAt(bytes, at + 4 * axis);
        for (int c = 0; c < 3; ++c)
            for (int axis = 0; axis < 3; ++axis) t.corner[c][axis] = floatAt(bytes, at + 12 + 12 * c + 4 * axis);
        EXPECT_EQ(bytes[at + 48], 0);
        EXPECT_EQ(bytes[at + 49], 0);
        triangles.push_back(t);
    }
    return triangles;
}

std::array<double, 3> cross(const Point& a, const Point& b, const Point& c) {
    const double u[3] = {double{b[0]} - a[0], double{b[1]} - a[1], double{b[2]} - a[2]};
    const double v[3] = {double{c[0]} - a[0], double{c[1]} - a[1], double{c[2]} - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// Slicers match triangles by their corners' positions, pairing the uses of
// each edge in file order. Every pair must run opposite ways: then each edge
// is used an even number of times, half each way, no T-junction leaves an edge
// alone, and no triangle is turned against its neighbours. Every stored normal
// must be the unit normal of the corners as wound. Returns the enclosed volume.
double expectClosed(const std::vector<Triangle>& triangles) {
    std::map<std::pair<Point, Point>, bool> waiting;  // an edge by its lower corner first: whether it ran that way
    int unpaired = 0, samePairs = 0, wrongNormals = 0;
    double volume = 0;
    for (const Triangle& t : triangles) {
        const auto n = cross(t.corner[0], t.corner[1], t.corner[2]);
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        EXPECT_GT(length, 0.0) << "a triangle without area";
        for (int axis = 0; axis < 3; ++axis)
            if (std::fabs(n[axis] / length - t.normal[axis]) > 1e-5) ++wrongNormals;
        // a . ((b - a) x (c - a)) = a . (b x c), six times the signed volume of the tetrahedron to the origin.
        volume += (t.corner[0][0] * n[0] + t.corner[0][1] * n[1] + t.corner[0][2] * n[2]) / 6;
        for (int c = 0; c < 3; ++c) {
            const Point& a = t.corner[c];
            const Point& b = t.corner[(c + 1) % 3];
            const bool forward = a < b;
            const auto key = forward ? std::make_pair(a, b) : std::make_pair(b, a);
            const auto found = waiting.find(key);
            if (found == waiting.end()) {
                waiting.emplace(key, forward);
                ++unpaired;
            } else {
                samePairs += found->second == forward;
                waiting.erase(found);
                --unpaired;
            }
        }
    }
    EXPECT_EQ(unpaired, 0);
    EXPECT_EQ(samePairs, 0);
    EXPECT_EQ(wrongNormals, 0);
    return volume;
}

class StlExport : public testing::MeshExportTest {
protected:
    std::string exportBytes(bool smooth, double cellMillimetres = 1.0) {
        std::string reason;
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth, cellMillimetres};
        EXPECT_EQ(exportStl(extractor, source, dir / "m.stl", reason), 1) << reason;
        return testing::readBytes(dir / "m.stl");
    }
    // Closed smooth and flat; flat, the volume is that of the filled cells.
    void checkClosed(const std::string& what) {
        SCOPED_TRACE(what);
        int filled = 0;
        for (std::uint8_t cell : store.model->cells) filled += cell != kEmpty;
        EXPECT_NEAR(expectClosed(readStl(exportBytes(false))), filled, 1e-6 * filled);
        EXPECT_GT(expectClosed(readStl(exportBytes(true))), 0.0);
    }
};

TEST_F(StlExport, OneCellAtTwoMillimetresStandsZUpWithOutwardNormals) {
    set(0, 0, 0, 5);
    const std::string bytes = exportBytes(false, 2.0);
    ASSERT_EQ(bytes.size(), 84u + 12 * 50);
    EXPECT_EQ(bytes.substr(0, 5), "Cubri");  // never "solid", which marks a text STL
    EXPECT_EQ(bytes.substr(80, 4), std::string("\x0c\0\0\0", 4));
    // Lattice (X, Y, Z) is (2X, 200 - 2Z, 2Y) mm; each face: its normal, then its corners as wound.
    const int faces[6][5][3] = {
        {{-1, 0, 0}, {0, 200, 0}, {0, 198, 0}, {0, 198, 2}, {0, 200, 2}},
        {{1, 0, 0}, {2, 200, 0}, {2, 200, 2}, {2, 198, 2}, {2, 198, 0}},
        {{0, 0, -1}, {0, 200, 0}, {2, 200, 0}, {2, 198, 0}, {0, 198, 0}},
        {{0, 0, 1}, {0, 200, 2}, {0, 198, 2}, {2, 198, 2}, {2, 200, 2}},
        {{0, 1, 0}, {0, 200, 0}, {0, 200, 2}, {2, 200, 2}, {2, 200, 0}},
        {{0, -1, 0}, {0, 198, 0}, {2, 198, 0}, {2, 198, 2}, {0, 198, 2}},
    };
    const std::vector<Triangle> triangles = readStl(bytes);
    for (int f = 0; f < 6; ++f)
        for (int half = 0; half < 2; ++half) {
            const Triangle& t = triangles[2 * f + half];
            const int corners[3] = {1, 2 + half, 3 + half};  // split along the 0-2 diagonal
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(t.normal[axis], faces[f][0][axis]) << f;
                for (int c = 0; c < 3; ++c) EXPECT_EQ(t.corner[c][axis], faces[f][corners[c]][axis]) << f << c;
            }
        }
}

TEST_F(StlExport, BothMaterialsMakeOneSolidWithoutAWallBetween) {
    set(10, 10, 10, 5);
    set(11, 10, 10, 20);
    const std::vector<Triangle> triangles = readStl(exportBytes(false));
    EXPECT_EQ(triangles.size(), 20u);
    EXPECT_NEAR(expectClosed(triangles), 2.0, 1e-9);
}

TEST_F(StlExport, CellsMeetingOnlyAtAnEdgeOrACornerAreClosed) {
    for (const auto& other : {std::array{11, 11, 10}, std::array{10, 11, 11}, std::array{11, 10, 11},
                              std::array{9, 11, 10}, std::array{11, 11, 11}, std::array{9, 11, 9}}) {
        testing::fillAll(*store.model, kEmpty);
        set(10, 10, 10, 3);
        set(other[0], other[1], other[2], 20);
        checkClosed("with " + std::to_string(other[0]) + " " + std::to_string(other[1]) + " " +
                    std::to_string(other[2]));
    }
}

TEST_F(StlExport, ExtremeModelsAreClosed) {
    testing::fillAll(*store.model, 7);
    checkClosed("full grid");
    testing::fillAll(*store.model, kEmpty);
    testing::fillCheckerboard(*store.model, 16, 7);
    checkClosed("checkerboard");
    testing::fillAll(*store.model, kEmpty);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> code(0, kLastCode);
    for (int z = 88; z < kGridSize; ++z)
        for (int y = 0; y < 12; ++y)
            for (int x = 40; x < 52; ++x)
                set(x, y, z, static_cast<std::uint8_t>(code(random) % 3 == 0 ? code(random) : 0));
    checkClosed("random cells against the border");
}

TEST_F(StlExport, ExamplesAreClosed) {
    for (const char* name : {"penguin.cbk", "doughnut.cbk"}) {
        load(std::filesystem::path(CUBRIK_EXAMPLES_DIR) / name);
        checkClosed(name);
    }
}

}  // namespace
}  // namespace cubrik
