#pragma once
// Punch: removes every cell whose centre, projected with the current view,
// falls inside a square on the screen about the cursor, visible or not. The
// square's half-size is trunc(brushRadiusPx) pixels.

#include "edit/brush.h"

namespace cubrik {

// Vector variant: projects every cell on the fly in single precision; the
// square includes its bounds and a stroke step sweeps it continuously.
int punchPrepareSse2(BrushContext& brush);  // nothing to do; returns 1
int punchStampSse2(BrushContext& brush, int x, int y);
int punchStrokeKernelSse2(BrushContext& brush, int x0, int y0, int x1, int y1, int count);

// Scalar variant: projects once per stroke, in double precision, into
// projectedCells and rowBounds, which the whole stroke then uses; the square
// excludes its bounds and a stroke step is `count` separate stamps.
int punchPrepareScalar(BrushContext& brush);  // returns 1
int punchStampScalar(BrushContext& brush, int x, int y);
// Returns the last stamp's result, or 0 when count < 1.
int punchStrokeKernelScalar(BrushContext& brush, int x0, int y0, int x1, int y1, int count);

}  // namespace cubrik
