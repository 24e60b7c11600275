// The model-space brushes against straightforward per-cell loops: a Carve
// step of size 24 with all twelve centres found, and Punch stamps and steps
// in both variants, on a sphere of radius 45 in the 800 x 600 front view.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "edit/ball_brushes.h"
#include "edit/front_view_scene.h"
#include "edit/punch_brush.h"
#include "edit/view_transform.h"

namespace cubrik {
namespace {

using testing::FrontViewScene;

KernelVariant variantOf(const benchmark::State& state) {
    return state.range(0) ? KernelVariant::Sse2 : KernelVariant::Scalar;
}

const char* labelOf(KernelVariant variant) { return variant == KernelVariant::Sse2 ? "SSE2" : "scalar"; }

// Twelve samples along row 300 from x = 300 to 540, each naming a cell of
// the sphere's front, 4 cells apart.
struct CarveScene : FrontViewScene {
    explicit CarveScene(KernelVariant variant) : FrontViewScene(variant) {
        testing::fillSphere(model(), 45);
        model().brushSize = 24;
        for (int x = 300; x <= 540; ++x) showInPick(x, 300, 25 + (x - 300) / 5, 50, 80);
    }
};

void BM_BallStep(benchmark::State& state) {
    const KernelVariant variant = variantOf(state);
    CarveScene scene(variant);
    const ToolKernels kernels = toolKernelsFor(variant);
    for (auto _ : state) benchmark::DoNotOptimize(kernels.ballStrokeKernel(scene.brush, 300, 300, 540, 300, 0, 12));
    state.SetLabel(labelOf(variant));
}
BENCHMARK(BM_BallStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A Build step, size 24, with the mirror planes off (0) or all three on (1).
void BM_BuildStep(benchmark::State& state) {
    CarveScene scene(KernelVariant::Sse2);
    scene.brush.mirror.enabled = {state.range(0) != 0, state.range(0) != 0, state.range(0) != 0};
    const ToolKernels kernels = toolKernelsFor(KernelVariant::Sse2);
    for (auto _ : state) benchmark::DoNotOptimize(kernels.ballStrokeKernel(scene.brush, 300, 300, 540, 300, 2, 12));
    state.SetLabel(state.range(0) ? "mirrored" : "single");
}
BENCHMARK(BM_BuildStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every cell of the grid tested against every centre, in integers.
void BM_BallStepPerCell(benchmark::State& state) {
    CarveScene scene(KernelVariant::Scalar);
    VoxelModel& model = scene.model();
    std::vector<int> centres;
    for (int k = 1; k <= 12; ++k) centres.push_back(pickCell(scene.buffers.currentPick, 300 + 20 * k, 300));
    const int e = model.brushSize;
    for (auto _ : state) {
        setBrushRemap(scene.brush, 0);
        for (int cell = 0; cell < kCellCount; ++cell) {
            const int x = cell % 100, y = cell / 100 % 100, z = cell / 10000;
            for (int centre : centres) {
                const int dx = x - centre % 100, dy = y - centre / 100 % 100, dz = z - centre / 10000;
                if (dx * dx + dy * dy + dz * dz < e * e) {
                    applyRemap(scene.buffers.brushRemap, model.cells[cell]);
                    break;
                }
            }
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BallStepPerCell)->Unit(benchmark::kMillisecond);

struct PunchScene : FrontViewScene {
    explicit PunchScene(KernelVariant variant) : FrontViewScene(variant) {
        testing::fillSphere(model(), 45);
        model().brushRadiusPx = 20.0f;
    }
};

// args: variant (0 scalar, 1 SSE2). The scalar projection is made once, as
// at stroke start; BM_PunchPrepare times it on its own.
void BM_PunchStamp(benchmark::State& state) {
    const KernelVariant variant = variantOf(state);
    PunchScene scene(variant);
    const ToolKernels kernels = toolKernelsFor(variant);
    kernels.punchPrepare(scene.brush);
    for (auto _ : state) benchmark::DoNotOptimize(kernels.punchStamp(scene.brush, 440, 280));
    state.SetLabel(labelOf(variant));
}
BENCHMARK(BM_PunchStamp)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PunchStep(benchmark::State& state) {
    const KernelVariant variant = variantOf(state);
    PunchScene scene(variant);
    const ToolKernels kernels = toolKernelsFor(variant);
    kernels.punchPrepare(scene.brush);
    // A diagonal step of 2 samples, the scalar spacing of a large brush.
    for (auto _ : state) benchmark::DoNotOptimize(kernels.punchStrokeKernel(scene.brush, 400, 250, 470, 300, 2));
    state.SetLabel(labelOf(variant));
}
BENCHMARK(BM_PunchStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PunchPrepare(benchmark::State& state) {
    const KernelVariant variant = variantOf(state);
    PunchScene scene(variant);
    const ToolKernels kernels = toolKernelsFor(variant);
    for (auto _ : state) benchmark::DoNotOptimize(kernels.punchPrepare(scene.brush));
    state.SetLabel(labelOf(variant));
}
BENCHMARK(BM_PunchPrepare)->Arg(0)->Unit(benchmark::kMillisecond);

// Every cell projected with the full matrix in double precision and tested
// against the box, bounds included, and the band about the step's line.
// args: 0 the stamp at (440, 280), 1 the step of BM_PunchStep.
void BM_PunchPerCell(benchmark::State& state) {
    PunchScene scene(KernelVariant::Scalar);
    VoxelModel& model = scene.model();
    const Matrix4 m = viewTransform(model);
    const int a = static_cast<int>(model.brushRadiusPx);
    const bool step = state.range(0) != 0;
    const int x0 = step ? 400 : 440, x1 = step ? 470 : 440, row0 = 600 - 1 - (step ? 250 : 280),
              row1 = 600 - 1 - (step ? 300 : 280);
    const double slope = step ? double(x1 - x0) / (row1 - row0) : 0.0;
    const double halfWidth = step ? std::abs((x1 - x0) * model.brushRadiusPx / (row1 - row0)) + model.brushRadiusPx
                                  : 1e9;
    const std::int32_t* v = model.viewport;
    for (auto _ : state) {
        setBrushRemap(scene.brush, 0);
        for (int cell = 0; cell < kCellCount; ++cell) {
            const Vector4 clip =
                transform(m, {cell % 100 - 49.5, cell / 100 % 100 - 49.5, cell / 10000 - 49.5, 1.0});
            const int wx = static_cast<int>(v[0] + v[2] * (clip[0] / clip[3] + 1.0) / 2.0);
            const int wy = static_cast<int>(v[1] + v[3] * (clip[1] / clip[3] + 1.0) / 2.0);
            const bool inBox = wx >= std::min(x0, x1) - a && wx <= std::max(x0, x1) + a &&
                               wy >= std::min(row0, row1) - a && wy <= std::max(row0, row1) + a;
            if (inBox && std::abs(wx - (wy - row0) * slope - x0) <= halfWidth)
                applyRemap(scene.buffers.brushRemap, model.cells[cell]);
        }
        benchmark::ClobberMemory();
    }
    state.SetLabel(step ? "step" : "stamp");
}
BENCHMARK(BM_PunchPerCell)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
