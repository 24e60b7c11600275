// Writing and reading the full random model as .vox (about 970,000 voxels),
// in memory and through a file. Run with --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/vox_file.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

ModelStore randomModel() {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    return store;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void BM_FormatVox(benchmark::State& state) {
    const ModelStore store = randomModel();
    for (auto _ : state) benchmark::DoNotOptimize(formatVox(*store.model));
}
BENCHMARK(BM_FormatVox)->Unit(benchmark::kMillisecond);

void BM_ParseVox(benchmark::State& state) {
    const std::string file = formatVox(*randomModel().model);
    VoxContents contents;
    std::string reason;
    for (auto _ : state)
        if (!parseVox(bytesOf(file), contents, reason)) state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_ParseVox)->Unit(benchmark::kMillisecond);

void BM_WriteVoxFile(benchmark::State& state) {
    const ModelStore store = randomModel();
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state)
        if (!writeVoxFile(dir / "m.vox", *store.model, reason)) state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_WriteVoxFile)->Unit(benchmark::kMillisecond);

void BM_LoadVoxFile(benchmark::State& state) {
    testing::TempDir dir;
    std::string reason;
    if (!writeVoxFile(dir / "m.vox", *randomModel().model, reason)) state.SkipWithError(reason.c_str());
    VoxContents contents;
    for (auto _ : state)
        if (!loadVoxFile(dir / "m.vox", contents, reason)) state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_LoadVoxFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
