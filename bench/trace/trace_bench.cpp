// The path tracer on the penguin: an 800 x 600 picture of the front view at
// 64 samples on every core, the figure to set beside Cycles' time for the
// same picture (bench/cycles_penguin.py), and the rays it casts per second.

#include <benchmark/benchmark.h>

#include "model/model_file.h"
#include "trace/path_tracer.h"

namespace cubrik {
namespace {

void BM_PenguinFrontView(benchmark::State& state) {
    auto model = std::make_unique<VoxelModel>();
    std::string reason;
    if (!readModelFile(CUBRIK_EXAMPLES "/penguin.cbk", *model, reason)) {
        state.SkipWithError(reason.c_str());
        return;
    }
    presetView(*model, kFrontView);
    const TraceScene scene = snapshotScene(*model, EditState{.alsoShownMaterial = Material::B}, CutAway{});
    TraceCamera camera;
    std::copy(std::begin(model->rotation), std::end(model->rotation), camera.rotation);
    camera.width = 800;
    camera.height = 600;
    TraceSettings settings;
    settings.samples = 64;
    const std::atomic<bool> cancel{false};
    std::uint64_t rays = 0;
    for (auto _ : state) {
        TraceImage picture;
        TraceStats stats;
        renderPathTraced(scene, camera, settings, cancel, {}, picture, &stats);
        rays += stats.rays;
    }
    state.counters["rays_per_second"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PenguinFrontView)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace cubrik
