#pragma once
// Spray, Paint, Peel and Coat: they change the cells the pick read-back of the
// stroke start shows under a circular screen brush, one cell per pixel, always
// through brushRemap. Window coordinates: x from the left, y from the top.

#include "edit/brush.h"

namespace cubrik {

// Paint, Peel (target 0) and Coat at the stroke start: the disc of the brush
// about (x, y), or with brush size 1 the pixel itself. Returns 1.
int surfaceStart(BrushContext& brush, int x, int y, int target);

// One stroke step of Paint, Peel or Coat over the area from the previous point
// (x0, y0) to (x1, y1). Returns 1.
int surfaceStep(BrushContext& brush, int x0, int y0, int x1, int y1, int target);

// Draws the spray noise of a new stroke into brushScratch: one value 0..15
// per cell, eight per draw of sprayRandom, lowest four bits first.
void fillSprayNoise(EditingBuffers& buffers);

// Spray at the stroke start, after fillSprayNoise: the further a pixel lies
// from the centre, the higher the noise its cell needs to change. Returns 1.
int sprayStart(BrushContext& brush, int x, int y);

// One Spray step: three sweeps of narrowing radius, each letting more cells
// through. Returns 1.
int sprayStep(BrushContext& brush, int x0, int y0, int x1, int y1);

}  // namespace cubrik
