// The Model menu on big boxes: a quarter turn of the whole full random grid,
// and a move of a 50 x 50 x 50 selection by one cell.
#include <benchmark/benchmark.h>

#include "edit/box_edit.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

void BM_TurnWholeGrid(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    for (auto _ : state) benchmark::DoNotOptimize(turnCells(*store.model, kWholeGrid, 2));
}
BENCHMARK(BM_TurnWholeGrid)->Unit(benchmark::kMillisecond);

void BM_MoveSelection50(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    CellBox box = boxSpanning({20, 20, 20}, {69, 69, 69});
    int step = 1;
    for (auto _ : state) {
        // Back and forth, so the box stays inside the grid.
        box = *moveCells(*store.model, box, {step, 0, 0});
        step = -step;
    }
}
BENCHMARK(BM_MoveSelection50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
