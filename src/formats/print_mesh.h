#pragma once
// What the formats for printing (STL, 3MF) share: the surface in millimetres
// standing z up, cut into triangles that stay closed where cells meet only
// along an edge or at a corner, and the colours a model uses.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/mesh_extraction.h"

namespace cubrik {

using Point = const float*;

inline bool samePoint(Point a, Point b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// Lattice (X, Y, Z) in millimetres: the model's up, Y, becomes z and its
// front, high Z, faces -y, as in the .vox export (a rotation, so the winding
// still faces out).
std::vector<float> millimetrePositions(const QuadMesh& mesh, double cellMillimetres);

// (b - a) x (c - a) in double precision: exact for corners on eighths of a
// 1 mm cell, so it agrees with what readers work out in single precision.
std::array<double, 3> crossProduct(Point a, Point b, Point c);

// Three different corners in a line: a triangle that has to stay (its edges
// pair with its neighbours') but whose normal no reader can work out.
bool isSliver(Point a, Point b, Point c);

// Calls `emit(a, b, c, face)` with the vertex numbers of the triangles of
// every face, face by face. The faces come cell by cell, so where two cells
// meet only along an edge, the two faces of one cell there come before both
// of the other's: readers that pair the four triangles at such an edge in
// file order pair them within each cell, as two closed shells. A quad is split
// along its 0-2 diagonal, or along 1-3 where corners 1 and 3 met in one point
// (so that both halves vanish rather than form two opposite triangles) or
// where that avoids a sliver. A triangle with two corners in one point is left
// out: it has no area, and its two other edges cancel each other, so every
// remaining edge keeps its partner.
template <class Emit>
void forEachTriangle(const QuadMesh& mesh, const std::vector<float>& points, Emit emit) {
    const auto at = [&](std::int32_t vertex) { return points.data() + 3 * static_cast<std::size_t>(vertex); };
    for (std::size_t q = 0; q < mesh.quadsLength; q += 4) {
        const std::int32_t* v = mesh.quads.data() + q;
        const Point p[4] = {at(v[0]), at(v[1]), at(v[2]), at(v[3])};
        const bool slivers02 = isSliver(p[0], p[1], p[2]) || isSliver(p[0], p[2], p[3]);
        const bool slivers13 = isSliver(p[1], p[2], p[3]) || isSliver(p[1], p[3], p[0]);
        const int first = samePoint(p[1], p[3]) || (slivers02 && !slivers13) ? 1 : 0;
        const int triangles[2][3] = {{first, first + 1, first + 2}, {first, first + 2, (first + 3) % 4}};
        for (const auto& t : triangles)
            if (!samePoint(p[t[0]], p[t[1]]) && !samePoint(p[t[1]], p[t[2]]) && !samePoint(p[t[2]], p[t[0]]))
                emit(v[t[0]], v[t[1]], v[t[2]], q / 4);
    }
}

// The codes 1..32 of the cells the model holds, in order: the colours a print
// uses, one part each when split by colour.
std::vector<std::uint8_t> codesInUse(const VoxelModel& model);

// "A01" for colour 1 of material A: how files and parts are named by colour.
std::string colourName(std::uint8_t code);

}  // namespace cubrik
