#pragma once
// The renderer's face walk written literally from its rules: every cell with
// its six neighbours, the corner codes refreshed for the whole grid. The real
// walk must give the same quads in the same batches; the benchmarks time it
// against this.

#include "model/smoothing.h"
#include "render/face_walk.h"

namespace cubrik::testing {

void referenceWalkFaces(const FaceWalk& walk, CornerCodeGrid& cornerCodes, QuadBatch& batch,
                        const FlushBatch& flush);

}  // namespace cubrik::testing
