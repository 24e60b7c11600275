#pragma once
// Most frames show the same model as the one before (the view turns, the
// cursor moves). The display pass keeps the quads of its last walk together
// with everything they were made from, and a frame with the same inputs draws
// the kept quads instead of walking the grid. The inputs are compared in full,
// not by a hash, so a change can never be mistaken for no change.

#include <cstdint>
#include <memory>
#include <vector>

#include "render/face_walk.h"

namespace cubrik {

struct DisplayCache {
    std::unique_ptr<std::uint8_t[]> cells;  // the cells of the kept walk
    bool cellsKept = false;                 // `cells` holds them (it may outlive `valid`)
    ColourTable colours{};
    bool showA = false;
    bool showB = false;
    VisibleSlab visible{};
    bool smooth = false;
    bool valid = false;           // the kept quads and batch sizes belong to the key above
    std::vector<int> batchSizes;  // quads of each batch, in drawing order
    std::uint64_t walks = 0;      // display walks done, for tests and benchmarks
};

// Returns 1 with the cell copy allocated and room for `maxBatches` sizes, else 0.
int allocateDisplayCache(DisplayCache& cache, int maxBatches);

// Whether the kept cells are those `walk` reads.
bool displayCacheHasCells(const DisplayCache& cache, const FaceWalk& walk);

// Whether the kept quads show what a display walk `walk` would produce, given
// whether the kept cells are its cells.
bool displayCacheMatches(const DisplayCache& cache, const FaceWalk& walk, bool sameCells);

// Records the inputs of `walk` as those of the kept quads and marks them
// valid. The cells are copied only when they are not already kept, so a frame
// that changes only the display state (the cut-away moving a layer) copies
// nothing.
void keepDisplayInputs(DisplayCache& cache, const FaceWalk& walk, bool sameCells);

}  // namespace cubrik
