// Writing and reading the full random model (about 970,000 filled cells) as
// the voxel files other editors read, .vox and .qb, in memory and through a
// file. Run with --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/qb_file.h"
#include "formats/vox_file.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

struct VoxelFileType {
    const char* fileName;
    std::string (*format)(const VoxelModel&);
    int (*parse)(std::span<const std::uint8_t>, VoxContents&, std::string&);
    int (*write)(const std::filesystem::path&, const VoxelModel&, std::string&);
    int (*load)(const std::filesystem::path&, VoxContents&, std::string&);
};

constexpr VoxelFileType kVox{"m.vox", formatVox, parseVox, writeVoxFile, loadVoxFile};
constexpr VoxelFileType kQb{"m.qb", formatQb, parseQb, writeQbFile, loadQbFile};

ModelStore randomModel() {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    return store;
}

template <const VoxelFileType& type>
void BM_Format(benchmark::State& state) {
    const ModelStore store = randomModel();
    for (auto _ : state) benchmark::DoNotOptimize(type.format(*store.model));
}

template <const VoxelFileType& type>
void BM_Parse(benchmark::State& state) {
    const std::string file = type.format(*randomModel().model);
    VoxContents contents;
    std::string reason;
    for (auto _ : state)
        if (!type.parse({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()}, contents, reason))
            state.SkipWithError(reason.c_str());
}

template <const VoxelFileType& type>
void BM_WriteFile(benchmark::State& state) {
    const ModelStore store = randomModel();
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state)
        if (!type.write(dir / type.fileName, *store.model, reason)) state.SkipWithError(reason.c_str());
}

template <const VoxelFileType& type>
void BM_LoadFile(benchmark::State& state) {
    testing::TempDir dir;
    std::string reason;
    if (!type.write(dir / type.fileName, *randomModel().model, reason)) state.SkipWithError(reason.c_str());
    VoxContents contents;
    for (auto _ : state)
        if (!type.load(dir / type.fileName, contents, reason)) state.SkipWithError(reason.c_str());
}

BENCHMARK_TEMPLATE(BM_Format, kVox)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Parse, kVox)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_WriteFile, kVox)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadFile, kVox)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Format, kQb)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Parse, kQb)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_WriteFile, kQb)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadFile, kQb)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
