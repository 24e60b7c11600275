#pragma once
// One bit per cell for every row of the grid, so the face walk can find the
// cells with a visible face by whole-row bit operations and never visit
// empty or buried cells.

#include <cstdint>

#include "model/cut_away.h"
#include "model/kernel_variant.h"

namespace cubrik {

// The 100 cells of a row along x: bit x of (lo, hi), bits 100..127 clear.
struct RowBits {
    std::uint64_t lo, hi;
};

// Rows y = -1..100 and z = -1..100, so the neighbours of a border row are
// rows of zeros.
inline constexpr int kMaskSide = 102;
constexpr int maskRow(int y, int z) { return (y + 1) + kMaskSide * (z + 1); }

struct RowMasks {
    RowBits displayed[kMaskSide * kMaskSide];  // filled and shown by the display rule
    RowBits filled[kMaskSide * kMaskSide];     // filled with any material, bit x + 1 for cell x
};

// The cells of row (y, z) that `slab` leaves in view.
RowBits visibleRow(const VisibleSlab& slab, int y, int z);

// Fills the masks of the 100 x 100 inner rows from `cells`; the border rows
// stay as they are (zero from allocation). `filled` is only written when
// `withFilled` is set. Cells outside `slab` count as empty in both.
void buildRowMasks(const std::uint8_t* cells, bool showA, bool showB, bool withFilled, const VisibleSlab& slab,
                   KernelVariant variant, RowMasks& masks);

}  // namespace cubrik
