#pragma once
// Turns a triangle soup into cells: scaled so that its longest side spans N
// cells and centred in the grid, filled where cell centres lie inside it (or
// only where its surface passes), each cell coloured from the nearest point of
// the surface and mapped to the nearest of the 32 palette colours.
// Pure arithmetic: no files, no window.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/import/triangle_soup.h"
#include "model/voxel_model.h"

namespace cubrik {

inline constexpr int kDefaultImportCells = kGridSize;

struct VoxelizeOptions {
    int cells = kDefaultImportCells;  // the cells the longest side spans, 1..100
    bool surface = false;             // only the cells the surface passes through
};

// Lets a window follow and stop the work from another thread; either may be null.
struct ImportControl {
    std::atomic<int>* permille = nullptr;  // 0..1000 as the work goes
    const std::atomic<bool>* cancel = nullptr;
};

// The cells each way the mesh with bounding box `size` takes when its longest
// side spans `cells` cells; zeros for an empty or non-finite box.
std::array<int, 3> importedExtent(const std::array<double, 3>& size, int cells);

// The soup's bounding box size; zeros when it has no triangles.
std::array<double, 3> soupSize(const TriangleSoup& soup);

// Fills `cells` (kCellCount codes) with the mesh. A mesh that is not closed is
// taken as a surface whatever `options` say. The soup's positions are moved
// into grid units on the way. Returns 1, or 0 with `reason` and `cells`
// untouched: no triangles, a non-finite or degenerate coordinate, no cell
// reached, or cancelled.
int voxelizeMesh(TriangleSoup& soup, const VoxelizeOptions& options, const Rgb (&paletteA)[kPaletteSize],
                 const Rgb (&paletteB)[kPaletteSize], std::vector<std::uint8_t>& cells, std::string& reason,
                 const ImportControl& control = {});

}  // namespace cubrik
