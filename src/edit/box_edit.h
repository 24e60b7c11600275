#pragma once
// What the Edit and Model menus do to a box of cells: copy, delete, paste,
// flip, turn, move and centre. Nothing here falls off the grid: an operation
// whose result would leave it changes nothing and says so by returning false.
// While the cut-away hides cells, the functions given the slab in view (or a
// rule holding it) work on the cells in view only and never change a hidden
// one: they lift only cells in view, put nothing down on a hidden cell, and
// change nothing (and say so) when a filled cell would have to land on one.
// The slab defaults to the whole grid. The flips, turns and moves call
// `beforeChange` (when given) once they know they will change the cells,
// before the first one changes: the place for an undo step.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit/cell_change_rule.h"
#include "model/cell_box.h"
#include "model/cut_away.h"
#include "model/voxel_model.h"

namespace cubrik {

// Cells copied from a box, with where they came from.
struct BoxCells {
    CellBox from;
    std::vector<std::uint8_t> cells;  // x fastest, then y, then z
};

using BeforeChange = std::function<void()>;

// The cells the rule would not let change are copied as empty ones, so a
// copy takes what deleteCells with the same rule empties.
BoxCells copyCells(const VoxelModel& model, const CellBox& box, const CellChangeRule& rule = anyCodeWithin());

// Empties every cell of the box the rule lets change.
void deleteCells(VoxelModel& model, const CellBox& box, const CellChangeRule& rule = anyCodeWithin());

// The number of filled cells in the box.
int filledCount(const VoxelModel& model, const CellBox& box);

// Writes the copied cells that are not empty with their min corner at `at`;
// the empty ones leave the target alone. Returns the pasted box, or nothing
// (and no change) when it would reach outside the grid.
std::optional<CellBox> pasteCells(VoxelModel& model, const BoxCells& copied, std::array<int, 3> at,
                                  const VisibleSlab& visible = {});

// Mirrors the box's cells along `axis`: index i goes to min + max - i.
// Returns false, with no change, when a filled cell would land on a hidden one.
bool flipCells(VoxelModel& model, const CellBox& box, int axis, const VisibleSlab& visible = {},
               const BeforeChange& beforeChange = {});

// Where turnCells and moveCells would put the box, or nothing when that
// leaves the grid.
std::optional<CellBox> turnedBox(const CellBox& box, int axis);
std::optional<CellBox> movedBox(const CellBox& box, std::array<int, 3> offset);

// Turns the box's cells a quarter counter-clockwise about `axis`, looking from
// the positive axis toward the centre, about the box's centre (the new min
// corner rounded down). The cells the box leaves become empty and the turned
// box takes the turned contents. Returns the turned box, or nothing (and no
// change) when it would leave the grid or land a filled cell on a hidden one.
std::optional<CellBox> turnCells(VoxelModel& model, const CellBox& box, int axis, const VisibleSlab& visible = {},
                                 const BeforeChange& beforeChange = {});

// Moves the box's cells by `offset`: the cells it leaves become empty, the
// cells it lands on take its contents. Returns the moved box, or nothing (and
// no change) when it would leave the grid or land a filled cell on a hidden one.
std::optional<CellBox> moveCells(VoxelModel& model, const CellBox& box, std::array<int, 3> offset,
                                 const VisibleSlab& visible = {}, const BeforeChange& beforeChange = {});

// The smallest box holding every filled cell of `box`, or nothing when none is filled.
std::optional<CellBox> filledBounds(const VoxelModel& model, const CellBox& box);

// The offset that centres `bounds` in the grid; an odd leftover leaves the
// smaller gap on the lower side.
std::array<int, 3> centringOffset(const CellBox& bounds);

// A private text form of copied cells for the system clipboard, so another
// window of the program can paste them, and its reader: nothing for text that
// is not one exactly.
std::string formatBoxCells(const BoxCells& copied);
std::optional<BoxCells> parseBoxCells(const std::string& text);

}  // namespace cubrik
