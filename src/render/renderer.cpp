#include "render/renderer.h"

#include <algorithm>
#include <new>

namespace cubrik {

int allocateRenderer(Renderer& renderer, int quadCapacity, KernelVariant variant) {
    renderer.quadCapacity = 0;  // draws nothing unless everything below succeeds
    if (quadCapacity < 6) return 0;
    const int kept = std::max(kKeptDisplayQuads, quadCapacity);
    // Every batch but the last holds more than quadCapacity - 6 quads.
    const int maxBatches = kept / (quadCapacity - 5) + 1;
    renderer.rowMasks.reset(new (std::nothrow) RowMasks());
    if (!renderer.rowMasks || !allocateQuadArrays(renderer.displayQuads, kept, true) ||
        !allocateQuadArrays(renderer.pickQuads, quadCapacity, false) ||
        !allocateDisplayCache(renderer.displayCache, maxBatches))
        return 0;
    renderer.variant = variant;
    renderer.quadCapacity = quadCapacity;
    return 1;
}

FaceWalk faceWalkFor(const Renderer& renderer, const ViewInputs& view, FacePass pass) {
    FaceWalk walk;
    walk.pass = pass;
    walk.cells = view.store.model->cells;
    walk.showA = view.edit.currentMaterial == Material::A || view.edit.alsoShownMaterial == Material::A;
    walk.showB = view.edit.currentMaterial == Material::B || view.edit.alsoShownMaterial == Material::B;
    walk.visible = visibleSlab(view.cut);
    walk.smooth = view.smoothDisplay;
    walk.smoothingTable = &view.store.smoothingTable;
    walk.colourTable = &renderer.colourTable;
    walk.variant = renderer.variant;
    return walk;
}

int produceDisplayBatches(Renderer& renderer, const ViewInputs& view, const FlushBatch& draw) {
    if (renderer.quadCapacity == 0) return 0;
    buildColourTable(*view.store.model, renderer.colourTable);
    const FaceWalk walk = faceWalkFor(renderer, view, FacePass::Display);
    DisplayCache& cache = renderer.displayCache;
    const bool sameCells = displayCacheHasCells(cache, walk);
    if (displayCacheMatches(cache, walk, sameCells)) {
        int first = 0;
        for (int size : cache.batchSizes) {
            QuadBatch batch = batchAt(renderer.displayQuads, first, renderer.quadCapacity);
            batch.count = size;
            draw(batch);
            first += size;
        }
        return 0;
    }
    cache.valid = false;
    cache.batchSizes.clear();
    bool keepable = true;
    int first = 0;
    QuadBatch batch = batchAt(renderer.displayQuads, 0, renderer.quadCapacity);
    walkFaces(walk, *renderer.rowMasks, batch, [&](QuadBatch& full) {
        const int size = full.count;  // `draw` empties the batch
        draw(full);
        if (keepable) cache.batchSizes.push_back(size);
        first += size;
        if (first + renderer.quadCapacity > renderer.displayQuads.capacity) {
            // Too many quads to keep: the rest of this frame reuses the space.
            keepable = false;
            first = 0;
        }
        full = batchAt(renderer.displayQuads, first, renderer.quadCapacity);
    });
    ++cache.walks;
    if (keepable) keepDisplayInputs(cache, walk, sameCells);
    return 1;
}

void producePickBatches(Renderer& renderer, const ViewInputs& view, PickMode mode, const FlushBatch& draw) {
    if (renderer.quadCapacity == 0) return;
    const FaceWalk walk = faceWalkFor(renderer, view, mode == PickMode::Solid ? FacePass::PickSolid : FacePass::PickEmpty);
    QuadBatch batch = batchAt(renderer.pickQuads, 0, renderer.quadCapacity);
    walkFaces(walk, *renderer.rowMasks, batch, [&](QuadBatch& full) {
        draw(full);
        full.count = 0;
    });
}

}  // namespace cubrik
