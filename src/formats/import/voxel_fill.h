#pragma once
// The voxelizer's steps on a soup already in grid units (a cell is one unit,
// the grid spans 0..100 each way). Each marks cells in a grid of kCellCount
// flags and returns false only when `stop` says to; `stop` also hears how
// much (0..1) is done.

#include <cstdint>
#include <functional>
#include <vector>

#include "formats/import/triangle_soup.h"

namespace cubrik {

using StopCheck = std::function<bool(double done)>;

// Marks the cells whose centres the mesh winds round, casting one ray along x
// per row of centres. A row whose crossings do not balance (it slipped through
// a gap) takes the majority of its balanced neighbour rows. Sets `closed` to
// false when too many rows failed to balance for the mesh to be a solid.
bool fillInside(const TriangleSoup& soup, std::vector<std::uint8_t>& filled, bool& closed, const StopCheck& stop);

// Marks the cells the surface passes through. A face lying on a cell boundary
// marks the cell behind it only, so a shell of cube faces comes back one cell thick.
bool markSurface(const TriangleSoup& soup, std::vector<std::uint8_t>& filled, const StopCheck& stop);

// The colour, 0xRRGGBB, of the surface point nearest to each filled cell's
// centre; `colourOf` gets kCellCount entries, meaningful where `filled` is set.
bool nearestColours(const TriangleSoup& soup, const std::vector<std::uint8_t>& filled,
                    std::vector<std::uint32_t>& colourOf, const StopCheck& stop);

}  // namespace cubrik
