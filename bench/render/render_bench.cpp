// The display pass: the face walk against the literal per-cell loop, the
// display cache, and whole frames through Mesa's llvmpipe.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cmath>
#include <memory>
#include <string>

#include "render/camera.h"
#include "render/headless_context.h"
#include "render/offscreen_target.h"
#include "render/renderer.h"
#include "render/view.h"
#include "support/model_builders.h"
#include "support/reference_walk.h"

namespace cubrik {
namespace {

enum BenchModel { kSphere, kEmpty, kFull, kCheckerboard };

const char* nameOf(BenchModel which) {
    switch (which) {
    case kSphere: return "sphere r45";
    case kEmpty: return "empty";
    case kFull: return "full grid";
    case kCheckerboard: return "checkerboard 20^3";
    }
    return "";
}

struct Scene {
    ModelStore store = testing::makeStore();
    EditState edit;
    Renderer renderer;

    Scene(BenchModel which, KernelVariant variant) {
        edit.alsoShownMaterial = Material::B;  // both materials shown
        if (which == kSphere) testing::fillSphere(*store.model, 45);
        if (which == kFull) testing::fillAll(*store.model, 5);
        if (which == kCheckerboard) testing::fillCheckerboard(*store.model, 20, 5);
        allocateRenderer(renderer, 32768, variant);
    }

    ViewInputs view(bool smooth, bool occlusion = false, bool cellEdges = false) {
        ViewInputs inputs{store, edit};
        inputs.smoothDisplay = smooth;
        inputs.occlusion = occlusion;
        inputs.cellEdges = cellEdges;
        inputs.clientWidth = 800;
        inputs.clientHeight = 600;
        return inputs;
    }

    FaceWalk walk(bool smooth, bool occlusion = false) {
        buildColourTable(*store.model, renderer.colourTable);
        return faceWalkFor(renderer, view(smooth, occlusion), FacePass::Display);
    }
};

void dropBatch(QuadBatch& batch) {
    benchmark::DoNotOptimize(batch.vertices);
    batch.count = 0;
}

// args: model, smooth, kernel variant (0 scalar, 1 SSE2), occlusion
void BM_FaceWalk(benchmark::State& state) {
    const auto which = static_cast<BenchModel>(state.range(0));
    const bool smooth = state.range(1) != 0;
    const auto variant = state.range(2) ? KernelVariant::Sse2 : KernelVariant::Scalar;
    const bool occlusion = state.range(3) != 0;
    Scene scene(which, variant);
    const FaceWalk walk = scene.walk(smooth, occlusion);
    for (auto _ : state) {
        QuadBatch batch = batchAt(scene.renderer.displayQuads, 0, scene.renderer.quadCapacity);
        walkFaces(walk, *scene.renderer.rowMasks, batch, dropBatch);
    }
    state.SetLabel(std::string(nameOf(which)) + (smooth ? ", smooth" : ", flat") +
                   (state.range(2) ? ", SSE2" : ", scalar") + (occlusion ? ", occlusion" : ""));
}
BENCHMARK(BM_FaceWalk)
    ->Args({kSphere, 1, 1, 0})
    ->Args({kSphere, 1, 0, 0})
    ->Args({kSphere, 0, 1, 0})
    ->Args({kEmpty, 1, 1, 0})
    ->Args({kFull, 1, 1, 0})
    ->Args({kCheckerboard, 1, 1, 0})
    ->Args({kSphere, 1, 1, 1})
    ->Args({kSphere, 0, 1, 1})
    ->Unit(benchmark::kMicrosecond);

// The baseline: the per-cell loop with a refresh of all corner codes.
void BM_LiteralLoop(benchmark::State& state) {
    const auto which = static_cast<BenchModel>(state.range(0));
    const bool smooth = state.range(1) != 0;
    Scene scene(which, KernelVariant::Scalar);
    const FaceWalk walk = scene.walk(smooth);
    auto corners = std::make_unique<CornerCodeGrid>();
    for (auto _ : state) {
        QuadBatch batch = batchAt(scene.renderer.displayQuads, 0, scene.renderer.quadCapacity);
        testing::referenceWalkFaces(walk, *corners, batch, dropBatch);
    }
    state.SetLabel(std::string(nameOf(which)) + (smooth ? ", smooth" : ", flat"));
}
BENCHMARK(BM_LiteralLoop)
    ->Args({kSphere, 1})
    ->Args({kSphere, 0})
    ->Args({kEmpty, 1})
    ->Args({kFull, 1})
    ->Args({kCheckerboard, 1})
    ->Unit(benchmark::kMicrosecond);

// The CPU side of one display pass as a frame runs it: colour table, cache
// check and, when the model changed, the walk and keeping its inputs.
void BM_DisplayPass(benchmark::State& state) {
    const auto which = static_cast<BenchModel>(state.range(0));
    const bool cached = state.range(1) != 0;
    Scene scene(which, chooseKernelVariant());
    const ViewInputs view = scene.view(true);
    produceDisplayBatches(scene.renderer, view, dropBatch);
    for (auto _ : state) {
        if (!cached) scene.renderer.displayCache.valid = false;  // as after an edit
        produceDisplayBatches(scene.renderer, view, dropBatch);
    }
    state.SetLabel(std::string(nameOf(which)) + (cached ? ", unchanged model (cached)" : ", changed model"));
}
BENCHMARK(BM_DisplayPass)->Args({kSphere, 0})->Args({kSphere, 1})->Unit(benchmark::kMicrosecond);

// The display pass of the frame after a brush step of size 3 on the smooth
// sphere: a ball of radius 3 filled (or, on the next lap, emptied) where a
// stroke going round the sphere's front reaches. Only the step's rows change.
// args: smooth, occlusion and cell edges
void BM_DisplayAfterBrushStep(benchmark::State& state) {
    Scene scene(kSphere, chooseKernelVariant());
    const bool smooth = state.range(0) != 0, looks = state.range(1) != 0;
    const ViewInputs view = scene.view(smooth, looks, looks);
    produceDisplayBatches(scene.renderer, view, dropBatch);
    VoxelModel& model = *scene.store.model;
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double angle = 6.2831853 * (step % 64) / 64;
        const int cx = 49 + static_cast<int>(20 * std::cos(angle)), cy = 49 + static_cast<int>(20 * std::sin(angle));
        const std::uint8_t code = (step++ / 64) % 2 ? 0 : 5;
        for (int z = 86; z <= 92; ++z)  // round z = 89, the surface in front of (cx, cy)
            for (int y = cy - 3; y <= cy + 3; ++y)
                for (int x = cx - 3; x <= cx + 3; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) + (z - 89) * (z - 89) < 9)
                        model.cells[cellIndex(x, y, z)] = code;
        state.ResumeTiming();
        produceDisplayBatches(scene.renderer, view, dropBatch);
    }
    // Whole walks now and then lay the rows out in one run again.
    state.counters["whole walks"] = benchmark::Counter(static_cast<double>(scene.renderer.displayCache.walks - 1),
                                                       benchmark::Counter::kAvgIterations);
    state.SetLabel(std::string("sphere r45") + (smooth ? ", smooth" : ", flat") +
                   (looks ? ", occlusion and edges" : ""));
}
BENCHMARK(BM_DisplayAfterBrushStep)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMicrosecond);

// The cut-away moved by one layer (J or K), then the display pass of the next
// frame: the cells are those of the kept walk, so only the cut's slab
// differs. The plane runs back and forth through the middle of the sphere.
// args: axis 0..2
void BM_CutStep(benchmark::State& state) {
    Scene scene(kSphere, chooseKernelVariant());
    ViewInputs view = scene.view(true);
    view.cut = {true, static_cast<int>(state.range(0)), true, 49, false};
    produceDisplayBatches(scene.renderer, view, dropBatch);
    int step = -1;
    for (auto _ : state) {
        if (view.cut.plane == 40 || view.cut.plane == 60) step = -step;
        view.cut.plane += step;
        produceDisplayBatches(scene.renderer, view, dropBatch);
    }
    state.SetLabel(std::string("sphere r45, smooth, cut along ") + "XYZ"[state.range(0)]);
}
BENCHMARK(BM_CutStep)->Arg(0)->Arg(1)->Arg(2)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// A whole frame of a client through llvmpipe: clear, the view, glFinish; at a
// scale of 2 into a framebuffer of twice the client's pixels each way.
void BM_FrameLlvmpipe(benchmark::State& state) {
    const auto which = static_cast<BenchModel>(state.range(0));
    const bool cached = state.range(1) != 0;
    const bool smooth = state.range(2) != 0;
    const int scale = static_cast<int>(state.range(3));
    const bool occlusion = (state.range(4) & 1) != 0, cellEdges = (state.range(4) & 2) != 0;
    const int width = static_cast<int>(state.range(5)), height = static_cast<int>(state.range(6));
    HeadlessGlContext gl;
    std::string reason;
    if (!createHeadlessGlContext(gl, reason)) {
        state.SkipWithError(reason.c_str());
        return;
    }
    Scene scene(which, chooseKernelVariant());
    if (!chooseRenderer(scene.renderer)) {
        state.SkipWithError("out of memory");
        return;
    }
    enableBackFaceCulling();
    OffscreenTarget target;
    ViewInputs view = scene.view(smooth, occlusion, cellEdges);
    view.clientWidth = width;
    view.clientHeight = height;
    view.device = {static_cast<double>(scale), width * scale, height * scale};
    if (!ensureOffscreenTarget(target, view.device.width, view.device.height, reason)) {
        state.SkipWithError(reason.c_str());
        return;
    }
    {
        OffscreenBinding binding(target);
        for (auto _ : state) {
            if (!cached) scene.renderer.displayCache.valid = false;
            setDeviceViewport(view.device, kViewLeft);
            clearView(view.backgroundColor);
            drawView(scene.renderer, view);
            glFinish();
        }
    }
    releaseOffscreenTarget(target);
    releaseRenderer(scene.renderer);
    state.SetLabel(std::string(nameOf(which)) + (smooth ? ", smooth" : ", flat") +
                   (cached ? ", unchanged model" : ", changed model") + (scale == 2 ? ", scale 2" : "") +
                   (occlusion ? ", occlusion" : "") + (cellEdges ? ", edges" : "") + ", " + std::to_string(width) + "x" +
                   std::to_string(height));
}
// args: model, cached, smooth, scale, looks (1 occlusion, 2 cell edges), client width and height
BENCHMARK(BM_FrameLlvmpipe)
    ->Args({kSphere, 1, 1, 1, 0, 800, 600})
    ->Args({kSphere, 1, 1, 2, 0, 800, 600})
    ->Args({kSphere, 0, 1, 1, 0, 800, 600})
    ->Args({kSphere, 0, 1, 2, 0, 800, 600})
    ->Args({kSphere, 1, 0, 1, 0, 800, 600})
    ->Args({kEmpty, 1, 1, 1, 0, 800, 600})
    ->Args({kFull, 1, 1, 1, 0, 800, 600})
    ->Args({kSphere, 1, 0, 1, 0, 1920, 1080})
    ->Args({kSphere, 1, 0, 1, 2, 1920, 1080})
    ->Args({kSphere, 1, 0, 1, 3, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
