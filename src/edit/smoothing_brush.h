#pragma once
// Smoothing: a majority vote over each cell's 3 x 3 x 3 block, counted once at
// the stroke start. Under the brush, empty cells in front of the surface
// (currentPick) fill up when most of their block is filled, and surface cells
// (previousPick) are removed when most of theirs is empty.

#include <cstdint>

#include "edit/brush.h"

namespace cubrik {

// For every cell, how many of the 27 cells of its block are filled (any code
// but 0, either material; outside the grid counts as empty). Uses all of the
// 104^3 bytes of scratch and leaves the counts in its first 1,000,000 bytes
// at the cell index.
void countNeighbours(const std::uint8_t* cells, std::uint8_t* scratch);

// The stroke start, with the counts in brushScratch: every second pixel of the
// brush disc about (x, y), or with brush size 1 the pixel itself. Returns 1.
int smoothingStart(BrushContext& brush, int x, int y);

// One stroke step: every second pixel of the area swept from (x0, y0) to
// (x1, y1). Returns 1.
int smoothingStep(BrushContext& brush, int x0, int y0, int x1, int y1);

}  // namespace cubrik
