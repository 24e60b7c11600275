// The print check of the full random grid (nearly every cell filled, in one
// part), at a scale where walls of one cell are thin, so every pass runs.
#include <benchmark/benchmark.h>

#include "edit/print_check.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

void BM_CheckFullRandomModel(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    for (auto _ : state) benchmark::DoNotOptimize(checkForPrinting(*store.model, 0.5));
}
BENCHMARK(BM_CheckFullRandomModel)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
