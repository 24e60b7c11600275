#include "formats/import/voxelize.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "formats/import/voxel_fill.h"
#include "formats/palette_match.h"

namespace cubrik {
namespace {

// An extent this close to a whole number of cells is taken as one, so that a
// model exported from whole cells lands on whole cells again.
constexpr double kWholeCellTolerance = 1e-3;

struct Placement {
    double low[3];
    double scale;
    double offset[3];  // grid position of the box's low corner
};

// Whether some triangle lies flat on the box's low side along each axis, as
// the faces of exported cells do.
std::array<bool, 3> flatOnLowSide(const TriangleSoup& soup, const double (&low)[3], double scale) {
    std::array<bool, 3> flat{};
    for (std::size_t t = 0; t < soup.positions.size(); t += 9)
        for (int axis = 0; axis < 3; ++axis) {
            bool onLow = true;
            for (int c = 0; c < 3; ++c) onLow = onLow && (soup.positions[t + 3 * c + axis] - low[axis]) * scale <= kWholeCellTolerance;
            flat[axis] = flat[axis] || onLow;
        }
    return flat;
}

// Scales the longest side to `cells` and centres the box. A box of a whole
// odd number of cells with a flat face on its side would put that face
// through cell centres; it goes half a cell lower instead, where a centred
// model's cells are (an extent e starts at cell (100 - e) / 2, rounded down).
int placeMesh(const TriangleSoup& soup, int cells, Placement& placement, std::string& reason) {
    double low[3] = {INFINITY, INFINITY, INFINITY}, high[3] = {-INFINITY, -INFINITY, -INFINITY};
    for (std::size_t i = 0; i < soup.positions.size(); i += 3)
        for (int axis = 0; axis < 3; ++axis) {
            const double value = soup.positions[i + axis];
            if (!std::isfinite(value)) {
                reason = "it has a coordinate that is not a finite number";
                return 0;
            }
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
    const double longest = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    const double magnitude = std::max({std::abs(low[0]), std::abs(low[1]), std::abs(low[2]), std::abs(high[0]),
                                       std::abs(high[1]), std::abs(high[2])});
    if (!std::isfinite(longest) || !(longest > magnitude * 1e-6)) {
        reason = !std::isfinite(longest) ? "its coordinates are too far apart to measure"
                                         : "it is degenerate: all its points are at one place";
        return 0;
    }
    placement.scale = cells / longest;
    const std::array<bool, 3> flat = flatOnLowSide(soup, low, placement.scale);
    for (int axis = 0; axis < 3; ++axis) {
        const double extent = (high[axis] - low[axis]) * placement.scale;
        const double whole = std::round(extent);
        placement.low[axis] = low[axis];
        placement.offset[axis] = flat[axis] && std::abs(extent - whole) <= kWholeCellTolerance
                                     ? std::floor((kGridSize - whole) / 2)
                                     : (kGridSize - extent) / 2;
    }
    return 1;
}

void moveIntoGrid(TriangleSoup& soup, const Placement& placement) {
    for (std::size_t i = 0; i < soup.positions.size(); i += 3)
        for (int axis = 0; axis < 3; ++axis) {
            float& value = soup.positions[i + axis];
            value = static_cast<float>((value - placement.low[axis]) * placement.scale + placement.offset[axis]);
        }
}

// Whether every triangle has the same colour: the nearest-point search is
// then not needed.
bool singleColour(const TriangleSoup& soup) {
    if (!soup.textureOf.empty()) return false;
    return std::all_of(soup.colours.begin(), soup.colours.end(),
                       [&](std::uint32_t colour) { return colour == soup.colours.front(); });
}

}  // namespace

std::array<double, 3> soupSize(const TriangleSoup& soup) {
    if (soup.positions.empty()) return {0, 0, 0};
    std::array<double, 3> low{INFINITY, INFINITY, INFINITY}, high{-INFINITY, -INFINITY, -INFINITY};
    for (std::size_t i = 0; i < soup.positions.size(); i += 3)
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min<double>(low[axis], soup.positions[i + axis]);
            high[axis] = std::max<double>(high[axis], soup.positions[i + axis]);
        }
    return {high[0] - low[0], high[1] - low[1], high[2] - low[2]};
}

std::array<int, 3> importedExtent(const std::array<double, 3>& size, int cells) {
    const double longest = std::max({size[0], size[1], size[2]});
    if (!std::isfinite(longest) || !(longest > 0)) return {0, 0, 0};
    std::array<int, 3> extent{};
    for (int axis = 0; axis < 3; ++axis)
        extent[axis] = std::clamp(static_cast<int>(std::ceil(size[axis] / longest * cells - kWholeCellTolerance)), 1, cells);
    return extent;
}

int voxelizeMesh(TriangleSoup& soup, const VoxelizeOptions& options, const Rgb (&paletteA)[kPaletteSize],
                 const Rgb (&paletteB)[kPaletteSize], std::vector<std::uint8_t>& cells, std::string& reason,
                 const ImportControl& control) {
    if (soup.triangleCount() == 0) {
        reason = "it holds no triangles";
        return 0;
    }
    if (soup.triangleCount() > kMostImportedTriangles) {
        reason = "it has " + std::to_string(soup.triangleCount()) + " triangles, more than the " +
                 std::to_string(kMostImportedTriangles) + " an import takes";
        return 0;
    }
    Placement placement{};
    if (!placeMesh(soup, std::clamp(options.cells, 1, kGridSize), placement, reason)) return 0;
    moveIntoGrid(soup, placement);

    // The phases share the progress: filling the first half, colouring the second.
    const auto phase = [&](double from, double to) {
        return [&control, from, to](double done) {
            if (control.permille != nullptr) control.permille->store(static_cast<int>(1000 * (from + (to - from) * done)));
            return control.cancel != nullptr && control.cancel->load();
        };
    };
    const auto cancelled = [&] {
        reason = "the import was cancelled";
        return 0;
    };
    std::vector<std::uint8_t> filled(kCellCount, 0);
    bool surface = options.surface;
    if (!surface) {
        bool closed = false;
        if (!fillInside(soup, filled, closed, phase(0, 0.5))) return cancelled();
        surface = !closed || std::none_of(filled.begin(), filled.end(), [](std::uint8_t f) { return f != 0; });
        if (surface) std::fill(filled.begin(), filled.end(), 0);
    }
    if (surface && !markSurface(soup, filled, phase(0, 0.5))) return cancelled();
    if (std::none_of(filled.begin(), filled.end(), [](std::uint8_t f) { return f != 0; })) {
        reason = "it lands in no cell";
        return 0;
    }

    std::vector<std::uint8_t> codes(kCellCount, kEmpty);
    if (singleColour(soup)) {
        const std::uint8_t code = soup.colours.empty() ? static_cast<std::uint8_t>(kFirstCodeA)
                                                       : nearestPaletteCode(soup.colours.front(), paletteA, paletteB);
        for (int cell = 0; cell < kCellCount; ++cell)
            if (filled[cell] != 0) codes[cell] = code;
    } else {
        std::vector<std::uint32_t> colourOf;
        if (!nearestColours(soup, filled, colourOf, phase(0.5, 1))) return cancelled();
        std::unordered_map<std::uint32_t, std::uint8_t> codeOf;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (filled[cell] == 0) continue;
            const auto found = codeOf.find(colourOf[cell]);
            codes[cell] = found != codeOf.end() ? found->second
                                                 : codeOf[colourOf[cell]] = nearestPaletteCode(colourOf[cell], paletteA, paletteB);
        }
    }
    cells.swap(codes);
    return 1;
}

}  // namespace cubrik
