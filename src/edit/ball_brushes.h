#pragma once
// Carve (target 0) and Build (target > 0): every cell strictly inside a ball
// of radius brushSize cells about a cell found under the cursor, so these
// tools dig into or build out of the model by more than one layer.

#include "edit/brush.h"

namespace cubrik {

// Stroke start at window pixel (x, y). Carve centres on the visible surface
// cell of the PickSolid read; Build on the empty cell of the PickEmpty read,
// or else on the centre plane. Returns 1 when a ball was applied, 0 when no
// centre was found.
int ballStart(BrushContext& brush, int x, int y, int target);

// A stroke step from (x0, y0) to (x1, y1): balls about `count` evenly spaced
// points after the first. Returns 1.
int ballStrokeKernelScalar(BrushContext& brush, int x0, int y0, int x1, int y1, int target, int count);

// The same step sampled at twelve points whatever `count`, the union of the
// balls applied in one scan of their joint box. Returns 0 when no sample has
// a centre, else 1.
int ballStrokeKernelSse2(BrushContext& brush, int x0, int y0, int x1, int y1, int target, int count);

}  // namespace cubrik
