#include "render/display_cache.h"

#include <cstring>
#include <new>

namespace cubrik {

int allocateDisplayCache(DisplayCache& cache, int maxBatches) {
    cache = DisplayCache{};
    cache.cells.reset(new (std::nothrow) std::uint8_t[kCellCount]);
    if (!cache.cells) return 0;
    cache.batchSizes.reserve(static_cast<std::size_t>(maxBatches));
    return 1;
}

bool displayCacheHasCells(const DisplayCache& cache, const FaceWalk& walk) {
    return cache.cellsKept && std::memcmp(cache.cells.get(), walk.cells, kCellCount) == 0;
}

bool displayCacheMatches(const DisplayCache& cache, const FaceWalk& walk, bool sameCells) {
    return cache.valid && sameCells && cache.showA == walk.showA && cache.showB == walk.showB &&
           cache.visible == walk.visible && cache.smooth == walk.smooth &&
           std::memcmp(&cache.colours, walk.colourTable, sizeof cache.colours) == 0;
}

void keepDisplayInputs(DisplayCache& cache, const FaceWalk& walk, bool sameCells) {
    if (!sameCells) std::memcpy(cache.cells.get(), walk.cells, kCellCount);
    cache.cellsKept = true;
    cache.colours = *walk.colourTable;
    cache.showA = walk.showA;
    cache.showB = walk.showB;
    cache.visible = walk.visible;
    cache.smooth = walk.smooth;
    cache.valid = true;
}

}  // namespace cubrik
