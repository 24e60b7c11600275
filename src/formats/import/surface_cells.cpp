// The cells a surface passes through, by the separating-axis test of each
// triangle against each cell of its bounding box.
#include <algorithm>
#include <array>
#include <cmath>

#include "formats/import/voxel_fill.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

using Vec = std::array<double, 3>;

Vec minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Slightly under half a cell: a triangle that only touches a cell's boundary
// does not mark it.
constexpr double kHalf = 0.5 - 1e-4;

// Whether the triangle v (relative to the cell's centre) overlaps the cube of
// half-side kHalf. The plane is tried first: it alone turns away most cells
// of a large triangle's box.
bool overlapsCell(const Vec (&v)[3]) {
    const Vec edges[3] = {minus(v[1], v[0]), minus(v[2], v[1]), minus(v[0], v[2])};
    const auto separates = [&](const Vec& axis) {
        const double p0 = dot(v[0], axis), p1 = dot(v[1], axis), p2 = dot(v[2], axis);
        const double r = kHalf * (std::abs(axis[0]) + std::abs(axis[1]) + std::abs(axis[2]));
        return std::min({p0, p1, p2}) > r || std::max({p0, p1, p2}) < -r;
    };
    if (separates(cross(edges[0], edges[1]))) return false;
    for (int axis = 0; axis < 3; ++axis) {
        Vec unit{};
        unit[axis] = 1;
        if (separates(unit)) return false;
        for (const Vec& edge : edges)
            if (separates(cross(unit, edge))) return false;
    }
    return true;
}

void markTriangle(const float* t, std::vector<std::uint8_t>& filled) {
    Vec v[3];
    for (int c = 0; c < 3; ++c) v[c] = {t[3 * c], t[3 * c + 1], t[3 * c + 2]};
    // A face flat on a cell boundary (as every face of an exported cell is)
    // belongs to the cell behind it: nudge it a quarter cell inwards.
    const Vec normal = cross(minus(v[1], v[0]), minus(v[2], v[0]));
    for (int axis = 0; axis < 3; ++axis) {
        const double level = std::round(v[0][axis]);
        const auto onLevel = [&](const Vec& corner) { return std::abs(corner[axis] - level) <= 1e-3; };
        if (!onLevel(v[0]) || !onLevel(v[1]) || !onLevel(v[2]) || normal[axis] == 0) continue;
        for (Vec& corner : v) corner[axis] -= normal[axis] > 0 ? 0.25 : -0.25;
    }
    int low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double lo = std::min({v[0][axis], v[1][axis], v[2][axis]});
        const double hi = std::max({v[0][axis], v[1][axis], v[2][axis]});
        low[axis] = std::max(0, static_cast<int>(std::floor(lo)));
        high[axis] = std::min(kGridSize - 1, static_cast<int>(std::floor(hi)));
    }
    // Along each row only the cells the plane comes within reach of, so a
    // large slanted triangle costs its area, not its box's volume.
    const Vec n = cross(minus(v[1], v[0]), minus(v[2], v[0]));
    const double reach = 0.5 * (std::abs(n[0]) + std::abs(n[1]) + std::abs(n[2]));
    for (int z = low[2]; z <= high[2]; ++z)
        for (int y = low[1]; y <= high[1]; ++y) {
            int first = low[0], last = high[0];
            if (std::abs(n[0]) > 1e-3 * reach) {
                // n . (c - v0) within +-reach, for centres c = (x + 0.5, y + 0.5, z + 0.5).
                const double rest = n[1] * (y + 0.5 - v[0][1]) + n[2] * (z + 0.5 - v[0][2]);
                const double a = (-reach - rest) / n[0] + v[0][0] - 0.5, b = (reach - rest) / n[0] + v[0][0] - 0.5;
                first = std::max(first, static_cast<int>(std::floor(std::min(a, b))));
                last = std::min(last, static_cast<int>(std::ceil(std::max(a, b))));
            }
            for (int x = first; x <= last; ++x) {
                std::uint8_t& cell = filled[static_cast<std::size_t>(cellIndex(x, y, z))];
                if (cell != 0) continue;
                const Vec centre{x + 0.5, y + 0.5, z + 0.5};
                const Vec local[3] = {minus(v[0], centre), minus(v[1], centre), minus(v[2], centre)};
                if (overlapsCell(local)) cell = 1;
            }
        }
}

}  // namespace

bool markSurface(const TriangleSoup& soup, std::vector<std::uint8_t>& filled, const StopCheck& stop) {
    const std::size_t count = soup.triangleCount();
    for (std::size_t i = 0; i < count; ++i) {
        if ((i & 0x3ff) == 0 && stop(static_cast<double>(i) / static_cast<double>(count))) return false;
        markTriangle(soup.positions.data() + 9 * i, filled);
    }
    return true;
}

}  // namespace cubrik
