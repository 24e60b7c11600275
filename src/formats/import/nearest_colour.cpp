// Colours of filled cells: cells near the surface search the triangles whose
// boxes reach them; deeper cells take, layer by layer inwards, the nearest of
// the points their outer neighbours found.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "formats/import/voxel_fill.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

using Vec = std::array<double, 3>;

Vec minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The nearest surface point a cell has found so far.
struct Nearest {
    float distance2 = std::numeric_limits<float>::infinity();
    std::int32_t triangle = -1;
    float weightB = 0, weightC = 0;  // barycentric; corner A has the rest
    float point[3] = {};
    bool behind = false;  // the cell's centre lies on the back (inner) side of the triangle
};

// The closest point of triangle abc to p, as barycentric weights of b and c.
std::array<double, 2> closestWeights(const Vec& a, const Vec& b, const Vec& c, const Vec& p) {
    const Vec ab = minus(b, a), ac = minus(c, a), ap = minus(p, a);
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return {0, 0};
    const Vec bp = minus(p, b);
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return {1, 0};
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return {d1 / (d1 - d3), 0};
    const Vec cp = minus(p, c);
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return {0, 1};
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return {0, d2 / (d2 - d6)};
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
        const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return {1 - w, w};
    }
    const double denominator = 1 / (va + vb + vc);
    return {vb * denominator, vc * denominator};
}

Vec corner(const float* t, int c) { return {t[3 * c], t[3 * c + 1], t[3 * c + 2]}; }

// Whether `candidate` at `distance2` should replace `best`. Two faces equally
// near (the walls two touching cells both export) go to the one the centre
// lies behind, the face of its own cell.
bool closer(double distance2, bool behind, const Nearest& best) {
    constexpr double kTie = 1e-6;
    if (distance2 < best.distance2 - kTie) return true;
    return distance2 <= best.distance2 + kTie && behind && !best.behind;
}

// The filled cells' nearest points, one record per filled cell (a model is
// mostly empty, and these records are the largest buffer of an import).
struct NearestOfFilled {
    std::vector<std::int32_t> slot;  // per cell: its record, or -1 when empty
    std::vector<Nearest> records;

    explicit NearestOfFilled(const std::vector<std::uint8_t>& filled) : slot(kCellCount, -1) {
        std::int32_t count = 0;
        for (int cell = 0; cell < kCellCount; ++cell)
            if (filled[cell] != 0) slot[cell] = count++;
        records.resize(static_cast<std::size_t>(count));
    }
    Nearest* at(int cell) { return slot[cell] < 0 ? nullptr : &records[static_cast<std::size_t>(slot[cell])]; }
};

void seedFromTriangle(const TriangleSoup& soup, std::int32_t index, NearestOfFilled& nearest) {
    const float* t = soup.positions.data() + 9 * static_cast<std::size_t>(index);
    const Vec a = corner(t, 0), b = corner(t, 1), c = corner(t, 2);
    const Vec ab = minus(b, a), ac = minus(c, a);
    const Vec normal{ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2], ab[0] * ac[1] - ab[1] * ac[0]};
    int low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double lo = std::min({a[axis], b[axis], c[axis]}), hi = std::max({a[axis], b[axis], c[axis]});
        // The cells whose centres lie within one cell of the triangle's box.
        low[axis] = std::max(0, static_cast<int>(std::ceil(lo - 1.5)));
        high[axis] = std::min(kGridSize - 1, static_cast<int>(std::floor(hi + 0.5)));
    }
    for (int z = low[2]; z <= high[2]; ++z)
        for (int y = low[1]; y <= high[1]; ++y)
            for (int x = low[0]; x <= high[0]; ++x) {
                Nearest* best = nearest.at(cellIndex(x, y, z));
                if (best == nullptr) continue;
                const Vec p{x + 0.5, y + 0.5, z + 0.5};
                const auto [wb, wc] = closestWeights(a, b, c, p);
                Vec q;
                for (int axis = 0; axis < 3; ++axis) q[axis] = a[axis] + wb * ab[axis] + wc * ac[axis];
                const Vec offset = minus(p, q);
                const double distance2 = dot(offset, offset);
                const bool behind = dot(offset, normal) < 0;
                if (!closer(distance2, behind, *best)) continue;
                *best = {static_cast<float>(distance2), index, static_cast<float>(wb), static_cast<float>(wc),
                        {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])}, behind};
            }
}

// Carries the found points inwards through the filled cells no triangle box reached.
void spreadInwards(NearestOfFilled& nearest) {
    std::vector<std::uint8_t> settled(nearest.records.size(), 0);
    std::vector<int> layer;
    for (int cell = 0; cell < kCellCount; ++cell)
        if (const Nearest* found = nearest.at(cell); found != nullptr && found->triangle >= 0) {
            settled[static_cast<std::size_t>(nearest.slot[cell])] = 1;
            layer.push_back(cell);
        }
    std::vector<int> next;
    while (!layer.empty()) {
        next.clear();
        for (const int cell : layer) {
            const int x = cell % kGridSize, y = cell / kGridSize % kGridSize, z = cell / (kGridSize * kGridSize);
            const int around[6][3] = {{x - 1, y, z}, {x + 1, y, z}, {x, y - 1, z}, {x, y + 1, z}, {x, y, z - 1}, {x, y, z + 1}};
            for (const auto& n : around) {
                if (std::min({n[0], n[1], n[2]}) < 0 || std::max({n[0], n[1], n[2]}) >= kGridSize) continue;
                const int neighbour = cellIndex(n[0], n[1], n[2]);
                Nearest* to = nearest.at(neighbour);
                if (to == nullptr || settled[static_cast<std::size_t>(nearest.slot[neighbour])] == 1) continue;
                const Nearest& from = *nearest.at(cell);
                const Vec offset{n[0] + 0.5 - from.point[0], n[1] + 0.5 - from.point[1], n[2] + 0.5 - from.point[2]};
                const double distance2 = dot(offset, offset);
                if (to->triangle < 0) next.push_back(neighbour);
                if (distance2 < to->distance2) {
                    *to = from;
                    to->distance2 = static_cast<float>(distance2);
                }
            }
        }
        for (const int cell : next) settled[static_cast<std::size_t>(nearest.slot[cell])] = 1;
        layer.swap(next);
    }
}

std::uint32_t sampleColour(const TriangleSoup& soup, const Nearest& at) {
    const std::size_t t = static_cast<std::size_t>(at.triangle);
    const float weights[3] = {1 - at.weightB - at.weightC, at.weightB, at.weightC};
    float rgb[3] = {255, 255, 255};
    if (!soup.colours.empty()) {
        for (int channel = 0; channel < 3; ++channel) {
            float sum = 0;
            for (int c = 0; c < 3; ++c) sum += weights[c] * static_cast<float>((soup.colours[3 * t + c] >> (16 - 8 * channel)) & 0xff);
            rgb[channel] = sum;
        }
    }
    if (!soup.textureOf.empty() && soup.textureOf[t] >= 0) {
        const Picture& picture = soup.textures[static_cast<std::size_t>(soup.textureOf[t])];
        double u = 0, v = 0;
        for (int c = 0; c < 3; ++c) {
            u += weights[c] * soup.uvs[6 * t + 2 * c];
            v += weights[c] * soup.uvs[6 * t + 2 * c + 1];
        }
        if (!std::isfinite(u) || !std::isfinite(v)) u = v = 0;
        // Texture coordinates repeat; v runs up the picture, whose rows run down.
        u -= std::floor(u);
        v -= std::floor(v);
        const int column = std::min(picture.width - 1, static_cast<int>(u * picture.width));
        const int row = std::min(picture.height - 1, static_cast<int>((1 - v) * picture.height));
        const std::uint8_t* texel = picture.rgba.data() + 4 * (static_cast<std::size_t>(row) * picture.width + column);
        for (int channel = 0; channel < 3; ++channel) rgb[channel] *= texel[channel] / 255.0f;
    }
    std::uint32_t packed = 0;
    for (const float channel : rgb)
        packed = packed << 8 | static_cast<std::uint32_t>(std::clamp(std::lround(channel), 0L, 255L));
    return packed;
}

}  // namespace

bool nearestColours(const TriangleSoup& soup, const std::vector<std::uint8_t>& filled,
                    std::vector<std::uint32_t>& colourOf, const StopCheck& stop) {
    NearestOfFilled nearest(filled);
    const std::size_t count = soup.triangleCount();
    for (std::size_t i = 0; i < count; ++i) {
        if ((i & 0x3ff) == 0 && stop(static_cast<double>(i) / static_cast<double>(count))) return false;
        seedFromTriangle(soup, static_cast<std::int32_t>(i), nearest);
    }
    spreadInwards(nearest);
    colourOf.assign(kCellCount, 0);
    for (int cell = 0; cell < kCellCount; ++cell)
        if (const Nearest* found = nearest.at(cell); found != nullptr && found->triangle >= 0)
            colourOf[cell] = sampleColour(soup, *found);
    return true;
}

}  // namespace cubrik
