#pragma once
// Most frames show the same model as the one before (the view turns, the
// cursor moves), and most edits change a few cells. The display pass keeps
// the quads of its walk a row of cells at a time, together with the cells,
// their row masks and the display state they were made from. A frame with the
// same inputs draws the kept quads; after an edit only the rows whose cells
// or neighbours changed are walked again. The inputs are compared in full,
// not by a hash, so a change can never be mistaken for no change.

#include <cstdint>
#include <memory>
#include <vector>

#include "render/face_walk.h"
#include "render/quad_batch.h"

namespace cubrik {

// Rows first..end - 1 (index y + 100 z) whose quads lie one after another.
struct RowSpan {
    int first, end;
};

struct DisplayCache {
    std::unique_ptr<std::uint8_t[]> cells;  // the cells of the kept quads
    std::unique_ptr<RowMasks> masks;        // their row masks
    ColourTable colours{};
    bool showA = false;
    bool showB = false;
    VisibleSlab visible{};
    bool smooth = false;
    bool occlusion = false;
    bool valid = false;  // the kept quads and rows belong to the inputs above
    // Where each row's quads lie in the renderer's display arrays. A row
    // walked again goes to the free space after `used`; the spans say in
    // which order the rows' runs are drawn, the order of a whole walk.
    std::unique_ptr<std::int32_t[]> rowFirst;
    std::unique_ptr<std::uint16_t[]> rowCount;
    std::vector<RowSpan> spans;
    int used = 0;
    std::unique_ptr<std::uint8_t[]> marked;  // per row: to walk again
    std::uint64_t walks = 0;                 // whole display walks, for tests and benchmarks
    std::uint64_t rowWalks = 0;              // rows walked again after edits
};

// Returns 1 with every buffer allocated, else 0.
int allocateDisplayCache(DisplayCache& cache);

// Whether the kept quads were made with the display state of `walk`; its
// cells may differ.
bool displayStateMatches(const DisplayCache& cache, const FaceWalk& walk);

// Walks every row of `walk` into `quads` and keeps it all with its inputs.
// When the quads do not fit, they are handed to `draw` as the walk goes and
// nothing is kept; returns 0 then, else 1.
int walkAllRows(DisplayCache& cache, const FaceWalk& walk, QuadArrays& quads, int quadCapacity,
                const FlushBatch& draw);

// Compares the cells of `walk` with the kept ones; takes over the changed
// rows (cells and masks) and marks them and their neighbours for walking
// again. Returns the number of rows marked.
int markChangedRows(DisplayCache& cache, const FaceWalk& walk);

// Walks the marked rows again into the free space of `quads`. Returns 1, or 0
// when the space or the number of spans would run out (a whole walk is due).
int walkMarkedRows(DisplayCache& cache, const FaceWalk& walk, QuadArrays& quads);

// Hands the kept quads to `draw` in drawing order, in batches of at most
// `quadCapacity`.
void drawKeptRows(const DisplayCache& cache, const QuadArrays& quads, int quadCapacity, const FlushBatch& draw);

}  // namespace cubrik
