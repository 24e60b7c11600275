#pragma once
// The normals of a batch of smoothed quads, computed after the corners. The
// vector variant works on four quads at once with the same single-precision
// operations in the same order, so both variants give the same bits.

#include "model/kernel_variant.h"
#include "render/quad_batch.h"

namespace cubrik {

// Sets the normal of each of the batch's `count` quads to smoothedNormal of its corners.
void fillSmoothNormals(QuadBatch& batch, KernelVariant variant);

}  // namespace cubrik
