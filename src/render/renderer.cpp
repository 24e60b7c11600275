#include "render/renderer.h"

#include <algorithm>
#include <new>

namespace cubrik {

int allocateRenderer(Renderer& renderer, int quadCapacity, KernelVariant variant) {
    renderer.quadCapacity = 0;  // draws nothing unless everything below succeeds
    if (quadCapacity < 6) return 0;
    const int kept = std::max(kKeptDisplayQuads, quadCapacity);
    renderer.rowMasks.reset(new (std::nothrow) RowMasks());
    if (!renderer.rowMasks || !allocateKeptPickPass(renderer.keptPick) ||
        !allocateQuadArrays(renderer.displayQuads, kept, true) ||
        !allocateQuadArrays(renderer.pickQuads, quadCapacity, false) ||
        !allocateDisplayCache(renderer.displayCache))
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
    walk.occlusion = pass == FacePass::Display && view.occlusion;
    walk.variant = renderer.variant;
    return walk;
}

int produceDisplayBatches(Renderer& renderer, const ViewInputs& view, const FlushBatch& draw) {
    if (renderer.quadCapacity == 0) return 0;
    buildColourTable(*view.store.model, renderer.colourTable);
    const FaceWalk walk = faceWalkFor(renderer, view, FacePass::Display);
    DisplayCache& cache = renderer.displayCache;
    if (displayStateMatches(cache, walk)) {
        const int marked = markChangedRows(cache, walk);
        // Past a quarter of the rows one whole walk costs less than the spans it would leave.
        if (marked <= kGridSize * kGridSize / 4 &&
            (marked == 0 || walkMarkedRows(cache, walk, renderer.displayQuads))) {
            drawKeptRows(cache, renderer.displayQuads, renderer.quadCapacity, draw);
            return marked > 0;
        }
    }
    if (walkAllRows(cache, walk, renderer.displayQuads, renderer.quadCapacity, draw))
        drawKeptRows(cache, renderer.displayQuads, renderer.quadCapacity, draw);
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
