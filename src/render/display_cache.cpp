#include "render/display_cache.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace cubrik {
namespace {

constexpr int kRows = kGridSize * kGridSize;
// Each walk of changed rows splits a span in up to three; past this many a
// whole walk lays the rows out in one again, so a frame stays a few draws.
constexpr int kMaxSpans = 512;

void handOverRange(const QuadArrays& quads, int first, int end, int quadCapacity, const FlushBatch& draw) {
    for (int at = first; at < end; at += quadCapacity) {
        QuadBatch batch = batchAt(quads, at, quadCapacity);
        batch.count = std::min(quadCapacity, end - at);
        draw(batch);
    }
}

// Puts rows a..b - 1, now lying one after another, into the drawing order.
void replaceSpans(std::vector<RowSpan>& spans, int a, int b) {
    auto first = std::find_if(spans.begin(), spans.end(), [&](const RowSpan& s) { return s.end > a; });
    auto last = std::find_if(first, spans.end(), [&](const RowSpan& s) { return s.end >= b; });
    const RowSpan before{first->first, a}, after{b, last->end};
    const auto at = spans.erase(first, last + 1);
    RowSpan pieces[3];
    int count = 0;
    if (before.first < before.end) pieces[count++] = before;
    pieces[count++] = {a, b};
    if (after.first < after.end) pieces[count++] = after;
    spans.insert(at, pieces, pieces + count);
}

}  // namespace

int allocateDisplayCache(DisplayCache& cache) {
    cache = DisplayCache{};
    cache.cells.reset(new (std::nothrow) std::uint8_t[kCellCount]);
    cache.masks.reset(new (std::nothrow) RowMasks());
    cache.rowFirst.reset(new (std::nothrow) std::int32_t[kRows]);
    cache.rowCount.reset(new (std::nothrow) std::uint16_t[kRows]);
    cache.marked.reset(new (std::nothrow) std::uint8_t[kRows]());
    if (!cache.cells || !cache.masks || !cache.rowFirst || !cache.rowCount || !cache.marked) return 0;
    try {
        cache.spans.reserve(kMaxSpans + 3);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

bool displayStateMatches(const DisplayCache& cache, const FaceWalk& walk) {
    return cache.valid && cache.showA == walk.showA && cache.showB == walk.showB && cache.visible == walk.visible &&
           cache.smooth == walk.smooth &&
           cache.occlusion == walk.occlusion && std::memcmp(&cache.colours, walk.colourTable, sizeof cache.colours) == 0;
}

int walkAllRows(DisplayCache& cache, const FaceWalk& walk, QuadArrays& quads, int quadCapacity,
                const FlushBatch& draw) {
    cache.valid = false;
    ++cache.walks;
    std::memset(cache.marked.get(), 0, kRows);
    buildWalkMasks(walk, *cache.masks);
    FaceRowWalker walker;
    prepareRowWalker(walker, walk, *cache.masks);
    QuadBatch batch = batchAt(quads, 0, quads.capacity);
    bool keepable = true;
    for (int row = 0; (row = walkFaceRows(walker, row, kRows, batch, cache.rowFirst.get(), cache.rowCount.get())) <
                      kRows;) {
        // Too many quads to keep: the rest of this frame reuses the space.
        handOverRange(quads, 0, batch.count, quadCapacity, draw);
        batch.count = 0;
        keepable = false;
    }
    if (!keepable) {
        handOverRange(quads, 0, batch.count, quadCapacity, draw);
        return 0;
    }
    // A frame that changes only the display state (the cut-away moving a layer) copies nothing.
    if (std::memcmp(cache.cells.get(), walk.cells, kCellCount) != 0) std::memcpy(cache.cells.get(), walk.cells, kCellCount);
    cache.colours = *walk.colourTable;
    cache.showA = walk.showA;
    cache.showB = walk.showB;
    cache.visible = walk.visible;
    cache.smooth = walk.smooth;
    cache.occlusion = walk.occlusion;
    cache.spans.assign(1, RowSpan{0, kRows});
    cache.used = batch.count;
    cache.valid = true;
    return 1;
}

int markChangedRows(DisplayCache& cache, const FaceWalk& walk) {
    int marked = 0;
    for (int z = 0; z < kGridSize; ++z) {
        const int slab = cellIndex(0, 0, z);
        if (std::memcmp(cache.cells.get() + slab, walk.cells + slab, kGridSize * kGridSize) == 0) continue;
        for (int y = 0; y < kGridSize; ++y) {
            const int at = cellIndex(0, y, z);
            if (std::memcmp(cache.cells.get() + at, walk.cells + at, kGridSize) == 0) continue;
            std::memcpy(cache.cells.get() + at, walk.cells + at, kGridSize);
            buildRowMask(cache.cells.get(), walk.showA, walk.showB, walk.smooth, walk.visible, walk.variant, y, z,
                         *cache.masks);
            // A cell's faces, smoothed corners and occlusion depend on the cells next to it.
            for (int nz = std::max(z - 1, 0); nz <= std::min(z + 1, kGridSize - 1); ++nz)
                for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, kGridSize - 1); ++ny) {
                    std::uint8_t& mark = cache.marked[ny + kGridSize * nz];
                    marked += mark == 0;
                    mark = 1;
                }
        }
    }
    return marked;
}

int walkMarkedRows(DisplayCache& cache, const FaceWalk& walk, QuadArrays& quads) {
    FaceRowWalker walker;
    prepareRowWalker(walker, walk, *cache.masks);
    QuadBatch batch = batchAt(quads, 0, quads.capacity);
    batch.count = cache.used;
    int fits = 1;
    for (int row = 0; row < kRows;) {
        if (!cache.marked[row]) {
            ++row;
            continue;
        }
        int end = row;
        while (end < kRows && cache.marked[end]) cache.marked[end++] = 0;
        if (!fits || batch.count + (end - row) * kMaxRowQuads > quads.capacity ||
            static_cast<int>(cache.spans.size()) + 2 > kMaxSpans) {
            fits = 0;  // still clearing the marks
            row = end;
            continue;
        }
        walkFaceRows(walker, row, end, batch, cache.rowFirst.get(), cache.rowCount.get());
        cache.rowWalks += static_cast<std::uint64_t>(end - row);
        replaceSpans(cache.spans, row, end);
        row = end;
    }
    cache.used = batch.count;
    return fits;
}

void drawKeptRows(const DisplayCache& cache, const QuadArrays& quads, int quadCapacity, const FlushBatch& draw) {
    for (const RowSpan& span : cache.spans) {
        const int last = span.end - 1;
        handOverRange(quads, cache.rowFirst[span.first], cache.rowFirst[last] + cache.rowCount[last], quadCapacity,
                      draw);
    }
}

}  // namespace cubrik
