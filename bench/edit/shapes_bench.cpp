// Fill an ellipsoid of the whole grid (the count that decides the undo step,
// then the fill) and Fill connected: the full random grid's largest region,
// and a grid that is one region.
#include <benchmark/benchmark.h>

#include <vector>

#include "edit/box_shapes.h"
#include "edit/flood_fill.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

CellChangeRule everyCellChanges() {
    CellChangeRule rule;
    rule.codeMayChange.fill(true);
    return rule;
}

void BM_FillEllipsoidWholeGrid(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    const BoxShape shape{kWholeGrid, ShapeKind::Ellipsoid};
    std::uint8_t code = 1;
    for (auto _ : state) {
        code = code == 1 ? 2 : 1;  // every cell of the ellipsoid changes each time
        if (countShapeChanges(*store.model, shape, ShapeEdit::Fill, code, everyCellChanges()) > 0)
            benchmark::DoNotOptimize(applyShape(*store.model, shape, ShapeEdit::Fill, code, everyCellChanges()));
    }
}
BENCHMARK(BM_FillEllipsoidWholeGrid)->Unit(benchmark::kMillisecond);

// A cell of the largest face-connected region of one code, found by emptying
// every region of a copy in turn.
int largestRegionStart(const VoxelModel& model) {
    ModelStore copy = testing::makeStore();
    *copy.model = model;
    int best = -1, bestSize = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int size = floodFill(*copy.model, cell, kEmpty, everyCellChanges());
        if (size > bestSize) best = cell, bestSize = size;
    }
    return best;
}

void BM_FillConnectedLargestRandomRegion(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    const int start = largestRegionStart(*store.model);
    const std::uint8_t from = store.model->cells[start];
    // Back and forth between the region's code and one it touches nowhere, so
    // each fill covers exactly the region.
    std::uint8_t other = 1;
    for (; other <= kLastCode; ++other) {
        ModelStore trial = testing::makeStore();
        *trial.model = *store.model;
        const int size = floodFill(*trial.model, start, other, everyCellChanges());
        if (other != from && floodFill(*trial.model, start, from, everyCellChanges()) == size) break;
    }
    int cells = 0;
    for (auto _ : state) {
        const std::uint8_t code = store.model->cells[start] == from ? other : from;
        cells = floodFill(*store.model, start, code, everyCellChanges());
    }
    state.counters["cells"] = cells;
}
BENCHMARK(BM_FillConnectedLargestRandomRegion)->Unit(benchmark::kMicrosecond);

void BM_FillConnectedWholeGrid(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillAll(*store.model, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(floodFill(*store.model, cellIndex(50, 50, 50), store.model->cells[0] == 1 ? 2 : 1,
                                           everyCellChanges()));
}
BENCHMARK(BM_FillConnectedWholeGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
