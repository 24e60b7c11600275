// Writing and reading the full random model as .qb (one 100-cube matrix, about
// 970,000 filled cells), in memory and through a file. Run with
// --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/qb_file.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

ModelStore randomModel() {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    return store;
}

void BM_FormatQb(benchmark::State& state) {
    const ModelStore store = randomModel();
    for (auto _ : state) benchmark::DoNotOptimize(formatQb(*store.model));
}
BENCHMARK(BM_FormatQb)->Unit(benchmark::kMillisecond);

void BM_ParseQb(benchmark::State& state) {
    const std::string file = formatQb(*randomModel().model);
    VoxContents contents;
    std::string reason;
    for (auto _ : state)
        if (!parseQb({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()}, contents, reason))
            state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_ParseQb)->Unit(benchmark::kMillisecond);

void BM_WriteQbFile(benchmark::State& state) {
    const ModelStore store = randomModel();
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state)
        if (!writeQbFile(dir / "m.qb", *store.model, reason)) state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_WriteQbFile)->Unit(benchmark::kMillisecond);

void BM_LoadQbFile(benchmark::State& state) {
    testing::TempDir dir;
    std::string reason;
    if (!writeQbFile(dir / "m.qb", *randomModel().model, reason)) state.SkipWithError(reason.c_str());
    VoxContents contents;
    for (auto _ : state)
        if (!loadQbFile(dir / "m.qb", contents, reason)) state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_LoadQbFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
