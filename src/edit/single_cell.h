#pragma once
// Cell mode's edit: one cell, and its mirror images, set to a code or emptied.

#include <cstdint>

#include "edit/cell_change_rule.h"
#include "edit/mirror.h"
#include "model/voxel_model.h"

namespace cubrik {

// Whether setting `cell` to `code` changes it: a cell is added only where the
// cell is empty, and emptied (code 0) only where it is filled and the rule
// lets it change.
inline bool cellChangeTakes(const VoxelModel& model, int cell, std::uint8_t code, const CellChangeRule& rule) {
    const std::uint8_t now = model.cells[cell];
    return code != kEmpty ? now == kEmpty && rule.allows(cell, now) : now != kEmpty && rule.allows(cell, now);
}

// Whether setting `cell` and its images would change any cell.
bool anyCellChange(const VoxelModel& model, int cell, std::uint8_t code, const CellChangeRule& rule,
                   const MirrorImages& mirror);

// Sets `cell` and each of its images to `code` where cellChangeTakes, each
// judged by its own contents. Returns the number of cells changed.
int setCellMirrored(VoxelModel& model, int cell, std::uint8_t code, const CellChangeRule& rule,
                    const MirrorImages& mirror);

}  // namespace cubrik
