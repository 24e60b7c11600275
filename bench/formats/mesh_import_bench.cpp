// Voxelizing a closed mesh of a million triangles (a torus) into the grid,
// in one colour and with a colour per vertex (the nearest-point search), and
// reading plus voxelizing the flat OBJ export of a ball. The whole --export
// process on the penguin is timed by mesh_import_process.sh.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "formats/import/mesh_import.h"
#include "formats/obj_export.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

// A torus of `around` x `across` quads, two triangles each, outward facing.
TriangleSoup torus(int around, int across, bool coloured) {
    TriangleSoup soup;
    const auto point = [&](int i, int j) {
        const double u = 2 * std::numbers::pi * i / around, v = 2 * std::numbers::pi * j / across;
        return std::array<float, 3>{static_cast<float>((40 + 15 * std::cos(v)) * std::cos(u)),
                                    static_cast<float>(15 * std::sin(v)),
                                    static_cast<float>((40 + 15 * std::cos(v)) * std::sin(u))};
    };
    for (int i = 0; i < around; ++i)
        for (int j = 0; j < across; ++j) {
            const auto a = point(i, j), b = point(i + 1, j), c = point(i + 1, j + 1), d = point(i, j + 1);
            for (const auto& corner : {a, c, b, a, d, c}) {
                soup.positions.insert(soup.positions.end(), corner.begin(), corner.end());
                if (coloured) soup.colours.push_back(static_cast<std::uint32_t>(i * 255 / around) << 16 | 0x80ff);
            }
        }
    return soup;
}

void voxelizeTorus(benchmark::State& state, bool coloured) {
    const TriangleSoup original = torus(1000, 500, coloured);
    std::vector<std::uint8_t> cells;
    std::string reason;
    for (auto _ : state) {
        state.PauseTiming();
        TriangleSoup soup = original;
        state.ResumeTiming();
        if (!voxelizeMesh(soup, {}, kDefaultPalette, kDefaultPalette, cells, reason)) state.SkipWithError(reason.c_str());
        benchmark::DoNotOptimize(cells.data());
    }
    state.counters["triangles"] = static_cast<double>(original.triangleCount());
    state.counters["cells"] = static_cast<double>(std::count_if(cells.begin(), cells.end(), [](std::uint8_t c) { return c != 0; }));
}

void BM_VoxelizeTorusOneColour(benchmark::State& state) { voxelizeTorus(state, false); }
void BM_VoxelizeTorusVertexColours(benchmark::State& state) { voxelizeTorus(state, true); }
BENCHMARK(BM_VoxelizeTorusOneColour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VoxelizeTorusVertexColours)->Unit(benchmark::kMillisecond);

// Assimp's OBJ reader and the voxelizer on the flat export of a ball of both materials.
void BM_ImportBallObj(benchmark::State& state) {
    testing::TempDir dir;
    ModelStore store = testing::makeStore();
    testing::fillSphere(*store.model, 45);
    MeshExtractor extractor;
    initMeshExtraction(extractor);
    std::string reason;
    exportObj(extractor, MeshSource{*store.model, *store.cornerCodes, store.smoothingTable, false}, dir / "ball.obj",
              reason);
    std::vector<std::uint8_t> cells;
    for (auto _ : state)
        if (!importMeshFile(dir / "ball.obj", {}, store.model->paletteA, store.model->paletteB, cells, reason))
            state.SkipWithError(reason.c_str());
}
BENCHMARK(BM_ImportBallObj)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
