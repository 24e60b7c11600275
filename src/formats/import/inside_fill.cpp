// Solid fill by winding number along rows of cell centres. Each triangle is
// tested only against the rows inside its y-z bounding box, so a million small
// triangles cost little more than reading them.
#include <algorithm>
#include <cmath>

#include "formats/import/voxel_fill.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

struct Crossing {
    float x;
    std::int32_t row;  // y + 100 z
    std::int32_t entering;  // +1 where the ray enters the solid, -1 where it leaves
};

struct Point2 {
    double y, z;
};

// Which side of the edge a -> b the point p lies on, never 0: a point on the
// line counts as moved by (e, e^2) for a vanishing e. The edge is evaluated
// from its lower end whichever way the triangle runs, so two triangles sharing
// it get exactly opposite answers and a ray through it counts once.
int edgeSide(Point2 a, Point2 b, Point2 p) {
    int flip = 1;
    if (b.y < a.y || (b.y == a.y && b.z < a.z)) {
        std::swap(a, b);
        flip = -1;
    }
    const double e = (b.y - a.y) * (p.z - a.z) - (b.z - a.z) * (p.y - a.y);
    double side = e;
    if (side == 0) side = -(b.z - a.z);
    if (side == 0) side = b.y - a.y;
    return side > 0 ? flip : side < 0 ? -flip : 0;
}

// The crossings of one triangle with the rows of centres it covers.
void crossTriangle(const float* t, std::vector<Crossing>& out) {
    const double minY = std::min({t[1], t[4], t[7]}), maxY = std::max({t[1], t[4], t[7]});
    const double minZ = std::min({t[2], t[5], t[8]}), maxZ = std::max({t[2], t[5], t[8]});
    const int y0 = std::max(0, static_cast<int>(std::ceil(minY - 0.5)));
    const int y1 = std::min(kGridSize - 1, static_cast<int>(std::floor(maxY - 0.5)));
    const int z0 = std::max(0, static_cast<int>(std::ceil(minZ - 0.5)));
    const int z1 = std::min(kGridSize - 1, static_cast<int>(std::floor(maxZ - 0.5)));
    const Point2 a{t[1], t[2]}, b{t[4], t[5]}, c{t[7], t[8]};
    for (int z = z0; z <= z1; ++z)
        for (int y = y0; y <= y1; ++y) {
            const Point2 p{y + 0.5, z + 0.5};
            const int sideAB = edgeSide(a, b, p), sideBC = edgeSide(b, c, p), sideCA = edgeSide(c, a, p);
            if (sideAB == 0 || sideAB != sideBC || sideBC != sideCA) continue;
            // Barycentric weights from the unperturbed edge values give the crossing's x.
            const double wc = (b.y - a.y) * (p.z - a.z) - (b.z - a.z) * (p.y - a.y);
            const double wa = (c.y - b.y) * (p.z - b.z) - (c.z - b.z) * (p.y - b.y);
            const double wb = (a.y - c.y) * (p.z - c.z) - (a.z - c.z) * (p.y - c.y);
            const double sum = wa + wb + wc;
            double x = sum != 0 ? (wa * t[0] + wb * t[3] + wc * t[6]) / sum : (t[0] + t[3] + t[6]) / 3.0;
            // Counter-clockwise in y-z means the normal points along +x: the ray leaves there.
            out.push_back({static_cast<float>(x), y + kGridSize * z, sideAB > 0 ? -1 : 1});
        }
}

}  // namespace

bool fillInside(const TriangleSoup& soup, std::vector<std::uint8_t>& filled, bool& closed, const StopCheck& stop) {
    constexpr int kRows = kGridSize * kGridSize;
    std::vector<Crossing> crossings;
    const std::size_t count = soup.triangleCount();
    for (std::size_t i = 0; i < count; ++i) {
        if ((i & 0x3ff) == 0 && stop(0.5 * static_cast<double>(i) / static_cast<double>(count))) return false;
        crossTriangle(soup.positions.data() + 9 * i, crossings);
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& l, const Crossing& r) { return l.row != r.row ? l.row < r.row : l.x < r.x; });

    // 0 no crossings, 1 balanced, 2 not balanced.
    std::vector<std::uint8_t> rowState(kRows, 0);
    int crossedRows = 0, unbalancedRows = 0;
    for (std::size_t start = 0; start < crossings.size();) {
        const int row = crossings[start].row;
        std::size_t end = start;
        int total = 0;
        while (end < crossings.size() && crossings[end].row == row) total += crossings[end++].entering;
        ++crossedRows;
        rowState[row] = total == 0 ? 1 : 2;
        unbalancedRows += total != 0;
        const int y = row % kGridSize, z = row / kGridSize;
        int winding = 0;
        int rest = total;  // the winding counted from the far end, for rows that do not balance
        std::size_t next = start;
        for (int x = 0; x < kGridSize; ++x) {
            while (next < end && crossings[next].x < x + 0.5f) {
                winding += crossings[next].entering;
                rest -= crossings[next].entering;
                ++next;
            }
            // An unbalanced row keeps only what both ends agree is inside, until its neighbours vote.
            const bool inside = total == 0 ? winding != 0 : winding != 0 && rest != 0;
            if (inside) filled[static_cast<std::size_t>(cellIndex(x, y, z))] = 1;
        }
        start = end;
    }
    if (stop(0.9)) return false;

    for (int row = 0; row < kRows; ++row) {
        if (rowState[row] != 2) continue;
        const int y = row % kGridSize, z = row / kGridSize;
        const int neighbours[4][2] = {{y - 1, z}, {y + 1, z}, {y, z - 1}, {y, z + 1}};
        for (int x = 0; x < kGridSize; ++x) {
            int votes = 0, voters = 0;
            for (const auto& n : neighbours) {
                if (n[0] < 0 || n[0] >= kGridSize || n[1] < 0 || n[1] >= kGridSize) continue;
                if (rowState[n[0] + kGridSize * n[1]] == 2) continue;
                ++voters;
                votes += filled[static_cast<std::size_t>(cellIndex(x, n[0], n[1]))];
            }
            if (voters > 0) filled[static_cast<std::size_t>(cellIndex(x, y, z))] = 2 * votes > voters;
        }
    }
    // A closed mesh balances on nearly every row; an open one fails on most rows it crosses.
    closed = crossedRows > 0 && unbalancedRows * 10 <= crossedRows;
    return true;
}

}  // namespace cubrik
