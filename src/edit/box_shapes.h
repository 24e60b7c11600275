#pragma once
// The shapes the Edit menu makes in the selection box: the whole box, the
// ellipsoid it holds, or the cylinder it holds along one axis; and Hollow.
// A cell is inside the ellipsoid when u² + v² + w² ≤ 1, where
// u = (2x − x0 − x1) / (x1 − x0 + 1) and v, w likewise for y and z; the
// cylinder drops its axis's term. The sums are taken exactly, in integers.

#include <cstdint>
#include <vector>

#include "edit/cell_change_rule.h"
#include "model/cell_box.h"
#include "model/voxel_model.h"

namespace cubrik {

enum class ShapeKind { Box, Ellipsoid, Cylinder };

struct BoxShape {
    CellBox box;
    ShapeKind kind = ShapeKind::Box;
    int axis = 2;  // the cylinder's axis
};

// What becomes of the shape's cells: every one takes the code, or only the
// filled ones (Paint).
enum class ShapeEdit { Fill, Paint };

// The number of cells the edit would change; the cells the rule protects and
// those already of `code` are not counted.
int countShapeChanges(const VoxelModel& model, const BoxShape& shape, ShapeEdit edit, std::uint8_t code,
                      const CellChangeRule& rule);

// Makes the change countShapeChanges counts. Returns the number of cells changed.
int applyShape(VoxelModel& model, const BoxShape& shape, ShapeEdit edit, std::uint8_t code, const CellChangeRule& rule);

// The filled cells of the box that Hollow empties: those the rule lets change
// whose six neighbours are all filled (outside the grid counts as empty).
std::vector<int> cellsToHollow(const VoxelModel& model, const CellBox& box, const CellChangeRule& rule);

}  // namespace cubrik
