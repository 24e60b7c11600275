#pragma once
// The bucket fill: a cell and every cell face-connected to it through cells
// of the same code take a new code, through the whole grid, hidden inside
// cells included.

#include <cstdint>

#include "edit/cell_change_rule.h"
#include "edit/mirror.h"
#include "model/voxel_model.h"

namespace cubrik {

// Fills the region of `start`'s code from `start` with `code`; the rule's
// protected cells bound it. Returns the number of cells changed: 0 when the
// start cell is empty, already of `code` or protected.
int floodFill(VoxelModel& model, int start, std::uint8_t code, const CellChangeRule& rule);

// floodFill from `start`, then from each mirror image of it, each judged by
// its own contents after the fills before it. Returns the cells changed.
int floodFillMirrored(VoxelModel& model, int start, std::uint8_t code, const CellChangeRule& rule,
                      const MirrorImages& mirror);

}  // namespace cubrik
