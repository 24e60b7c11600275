#include "render/kept_pick_pass.h"

#include <cstring>
#include <new>

#include "render/pick_pass.h"
#include "render/renderer.h"

namespace cubrik {

int allocateKeptPickPass(KeptPickPass& kept) {
    for (KeptPickScene& scene : kept.scenes) {
        scene.cells.reset(new (std::nothrow) std::uint8_t[kCellCount]);
        scene.masks.reset(new (std::nothrow) RowMasks());
        if (!scene.cells || !scene.masks) return 0;
    }
    return 1;
}

int keepPickPass(Renderer& renderer, const ViewInputs& view, const PickBuffer& stillRead) {
    KeptPickPass& kept = renderer.keptPick;
    const int slot = stillRead.source && stillRead.read == kept.scenes[0].read ? 1 : 0;
    KeptPickScene& scene = kept.scenes[slot];
    if (!scene.cells || !capturePickProjection(renderer, view, scene.projection)) return 0;
    std::memcpy(scene.cells.get(), view.store.model->cells, kCellCount);
    scene.walk = faceWalkFor(renderer, view, FacePass::PickSolid);
    scene.walk.cells = scene.cells.get();
    buildWalkMasks(scene.walk, *scene.masks);
    scene.width = view.clientWidth;
    scene.height = view.clientHeight;
    scene.read = ++kept.kept;
    kept.current = slot;
    return 1;
}

int startKeptPickRead(Renderer& renderer, PickMode mode, PickBuffer& buffer) {
    KeptPickPass& kept = renderer.keptPick;
    const KeptPickScene& scene = kept.scenes[kept.current];
    KeptPickSource& source = kept.sources[static_cast<int>(mode)];
    source.renderer = &renderer;
    source.mode = mode;
    return prepareFetchedPick(buffer, scene.width, scene.height, source, scene.read);
}

int KeptPickSource::fill(const PickBuffer& buffer, const PixelBox& box) {
    for (const KeptPickScene& scene : renderer->keptPick.scenes) {
        if (scene.read == 0 || buffer.read != scene.read || renderer->quadCapacity == 0) continue;
        FaceWalk walk = scene.walk;
        walk.pass = mode == PickMode::Solid ? FacePass::PickSolid : FacePass::PickEmpty;
        if (!renderPickFaces(*renderer, scene.projection, scene.width, box,
                             [&] { emitKeptPickFaces(*renderer, walk, *scene.masks); }))
            return 0;
        readPickRegion(renderer->offscreen, buffer, box);
        return 1;
    }
    return 0;
}

}  // namespace cubrik
