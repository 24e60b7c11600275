// The screen brushes at 800 x 600 with the brush radius a frame at that
// height gives: a full-size surface step, the spray noise, the neighbour count
// against the direct 27-read count, and a smoothing step.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "edit/smoothing_brush.h"
#include "edit/surface_brushes.h"
#include "support/model_builders.h"
#include "support/neighbour_reference.h"
#include "support/pick_pixels.h"

namespace cubrik {
namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Scene {
    ModelStore store = testing::makeStore();
    EditState edit;
    EditingBuffers buffers;
    BrushContext brush{*store.model, edit, buffers, kHeight};

    explicit Scene(int brushSize) {
        allocateEditingBuffers(buffers, KernelVariant::Sse2);
        testing::fillSphere(*store.model, 45);
        store.model->brushSize = brushSize;
        store.model->brushRadiusPx = static_cast<float>(kHeight) / 140.84508f * static_cast<float>(brushSize);
        // Every pixel names a cell, as if the model filled the whole view.
        for (PickBuffer* pick : {&buffers.currentPick, &buffers.previousPick}) {
            testing::preparePickBackground(*pick, kWidth, kHeight);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) testing::setPickPixel(*pick, x, y, x / 8, y / 6, 50);
        }
        countNeighbours(store.model->cells, buffers.brushScratch.get());
    }
};

void BM_SurfaceStep(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    int target = 0;
    for (auto _ : state) {
        // Alternating Paint colours so every pass really writes.
        target = target == kFirstCodeA ? kFirstCodeA + 1 : kFirstCodeA;
        surfaceStep(scene.brush, 350, 300, 450, 300, target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SurfaceStep)->Arg(24)->Arg(8)->Unit(benchmark::kMicrosecond);

// The same Paint step, size 24, with all three mirror planes on: eight images of every cell.
void BM_SurfaceStepMirrored(benchmark::State& state) {
    Scene scene(24);
    scene.brush.mirror.enabled = {true, true, true};
    int target = 0;
    for (auto _ : state) {
        target = target == kFirstCodeA ? kFirstCodeA + 1 : kFirstCodeA;
        surfaceStep(scene.brush, 350, 300, 450, 300, target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SurfaceStepMirrored)->Unit(benchmark::kMicrosecond);

void BM_SurfaceStepSlanted(benchmark::State& state) {
    Scene scene(24);
    for (auto _ : state) {
        surfaceStep(scene.brush, 360, 240, 420, 320, kFirstCodeA + 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SurfaceStepSlanted)->Unit(benchmark::kMicrosecond);

void BM_FillSprayNoise(benchmark::State& state) {
    EditingBuffers buffers;
    allocateEditingBuffers(buffers, KernelVariant::Sse2);
    for (auto _ : state) {
        fillSprayNoise(buffers);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillSprayNoise)->Unit(benchmark::kMicrosecond);

void BM_CountNeighbours(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillSphere(*store.model, 45);
    std::vector<std::uint8_t> scratch(kBrushScratchBytes);
    for (auto _ : state) {
        countNeighbours(store.model->cells, scratch.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CountNeighbours)->Unit(benchmark::kMicrosecond);

void BM_CountNeighboursDirectly(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillSphere(*store.model, 45);
    std::vector<std::uint8_t> counts(kCellCount);
    for (auto _ : state) {
        testing::countNeighboursDirectly(store.model->cells, counts.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CountNeighboursDirectly)->Unit(benchmark::kMicrosecond);

void BM_SmoothingStep(benchmark::State& state) {
    Scene scene(24);
    for (auto _ : state) {
        smoothingStep(scene.brush, 350, 300, 450, 300);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmoothingStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cubrik
