#include "formats/stl_export.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/export_text.h"

namespace cubrik {
namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kTriangleSize = 50;  // normal, three corners, a 16-bit attribute
// A header that begins with "solid" makes some readers take the file for text.
constexpr char kHeaderText[] = "Cubrik binary STL, millimetres, z up";

using Point = const float*;

bool samePoint(Point a, Point b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// Lattice (X, Y, Z) in millimetres: the model's up, Y, becomes z and its
// front, high Z, faces -y, as in the .vox export (a rotation, so the winding
// still faces out).
std::vector<float> millimetrePositions(const QuadMesh& mesh, double cellMillimetres) {
    std::vector<float> out(mesh.positionsLength);
    for (std::size_t i = 0; i < mesh.positionsLength; i += 3) {
        const float* p = mesh.positions.data() + i;
        out[i] = static_cast<float>(p[0] * cellMillimetres);
        out[i + 1] = static_cast<float>((kGridSize - p[2]) * cellMillimetres);
        out[i + 2] = static_cast<float>(p[1] * cellMillimetres);
    }
    return out;
}

// (b - a) x (c - a) in double precision: exact for corners on eighths of a
// 1 mm cell, so it agrees with what readers work out in single precision.
std::array<double, 3> crossProduct(Point a, Point b, Point c) {
    const double u[3] = {double{b[0]} - a[0], double{b[1]} - a[1], double{b[2]} - a[2]};
    const double v[3] = {double{c[0]} - a[0], double{c[1]} - a[1], double{c[2]} - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// Three different corners in a line: a triangle that has to stay (its edges
// pair with its neighbours') but whose normal no reader can work out.
bool isSliver(Point a, Point b, Point c) {
    const auto n = crossProduct(a, b, c);
    return n[0] == 0 && n[1] == 0 && n[2] == 0 && !samePoint(a, b) && !samePoint(b, c) && !samePoint(c, a);
}

// Calls `emit(a, b, c)` for the triangles of every face, face by face. The
// faces come cell by cell, so where two cells meet only along an edge, the two
// faces of one cell there come before both of the other's: readers that pair
// the four triangles at such an edge in file order pair them within each cell,
// as two closed shells. A quad is split along its 0-2 diagonal, or along 1-3
// where corners 1 and 3 met in one point (so that both halves vanish rather
// than form two opposite triangles) or where that avoids a sliver. A triangle
// with two corners in one point is left out: it has no area, and its two
// other edges cancel each other, so every remaining edge keeps its partner.
template <class Emit>
void forEachTriangle(const QuadMesh& mesh, const std::vector<float>& points, Emit emit) {
    for (std::size_t q = 0; q < mesh.quadsLength; q += 4) {
        Point p[4];
        for (int c = 0; c < 4; ++c) p[c] = points.data() + 3 * static_cast<std::size_t>(mesh.quads[q + c]);
        const bool slivers02 = isSliver(p[0], p[1], p[2]) || isSliver(p[0], p[2], p[3]);
        const bool slivers13 = isSliver(p[1], p[2], p[3]) || isSliver(p[1], p[3], p[0]);
        const int first = samePoint(p[1], p[3]) || (slivers02 && !slivers13) ? 1 : 0;
        const Point triangles[2][3] = {{p[first], p[first + 1], p[first + 2]},
                                       {p[first], p[first + 2], p[(first + 3) % 4]}};
        for (const auto& t : triangles)
            if (!samePoint(t[0], t[1]) && !samePoint(t[1], t[2]) && !samePoint(t[2], t[0])) emit(t[0], t[1], t[2]);
    }
}

// The unit normal of the corners as written; (0, 0, 0) for a sliver.
void unitNormal(Point a, Point b, Point c, float (&normal)[3]) {
    const auto n = crossProduct(a, b, c);
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int axis = 0; axis < 3; ++axis) normal[axis] = length > 0 ? static_cast<float>(n[axis] / length) : 0.0f;
}

void writeStl(ExportText& text, MeshExtractor& extractor, const MeshSource& source) {
    extractSolidMesh(extractor, source);
    const QuadMesh& mesh = extractor.mesh;
    const std::vector<float> points = millimetrePositions(mesh, source.cellMillimetres);
    std::uint32_t triangles = 0;
    forEachTriangle(mesh, points, [&](Point, Point, Point) { ++triangles; });

    char header[kHeaderSize + 4] = {};
    std::memcpy(header, kHeaderText, sizeof kHeaderText - 1);
    storeLe32(header + kHeaderSize, triangles);
    text.buffer.append(header, sizeof header);
    forEachTriangle(mesh, points, [&](Point a, Point b, Point c) {
        char record[kTriangleSize];
        float normal[3];
        unitNormal(a, b, c, normal);
        char* at = record;
        for (const float* v : {static_cast<const float*>(normal), a, b, c})
            for (int axis = 0; axis < 3; ++axis) at = storeFloat(at, v[axis]);
        storeLe16(at, 0);
        text.buffer.append(record, kTriangleSize);
        handOn(text);
    });
}

}  // namespace

int exportStl(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return writeExportFile(path, source, reason, [&](ExportText& text) { writeStl(text, extractor, source); });
}

}  // namespace cubrik
