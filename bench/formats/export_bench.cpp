// Mesh extraction, the three text writers and the binary STL and PLY writers
// on a ball of both materials, the full grid and the worst case, a 3-D
// checkerboard over the whole grid (500,000 cells, 3,000,000 faces); the glTF
// writer on the ball only, as its copies of the worst case would take
// gigabytes, and the 3MF writer (lib3mf keeps the whole mesh and the package
// in memory) there too, to set beside the STL. Run with
// --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include <new>
#include <string>

#include "formats/collada_export.h"
#include "formats/gltf_export.h"
#include "formats/metasequoia_export.h"
#include "formats/obj_export.h"
#include "formats/ply_export.h"
#include "formats/stl_export.h"
#include "formats/threemf_export.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

enum class Shape { Sphere45, FullGrid, Checkerboard };

ModelStore makeModel(Shape shape) {
    ModelStore store = testing::makeStore();
    switch (shape) {
    case Shape::Sphere45: testing::fillSphere(*store.model, 45); break;
    case Shape::FullGrid: testing::fillAll(*store.model, 6); break;
    case Shape::Checkerboard: testing::fillCheckerboard(*store.model, kGridSize, 6); break;
    }
    return store;
}

struct Setup {
    ModelStore store;
    MeshExtractor extractor;
    MeshSource source;
    Setup(Shape shape, bool smooth)
        : store(makeModel(shape)), source{*store.model, *store.cornerCodes, store.smoothingTable, smooth} {
        if (!initMeshExtraction(extractor)) throw std::bad_alloc();
    }
};

// Both materials, with the corner-code refresh a smooth export starts with.
void extractBoth(benchmark::State& state, Shape shape, bool smooth) {
    Setup setup(shape, smooth);
    long faces = 0, vertices = 0;
    for (auto _ : state) {
        if (smooth) refreshCornerCodes(setup.store.model->cells, setup.source.cornerCodes);
        faces = vertices = 0;
        for (const Material material : kMaterials) {
            extractQuadMesh(setup.extractor, setup.source, material);
            faces += faceCount(setup.extractor.mesh);
            vertices += vertexCount(setup.extractor.mesh);
        }
    }
    state.counters["faces"] = static_cast<double>(faces);
    state.counters["vertices"] = static_cast<double>(vertices);
}

using Writer = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);

void exportWith(benchmark::State& state, Writer writer, const char* name, Shape shape, bool smooth) {
    Setup setup(shape, smooth);
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state)
        if (!writer(setup.extractor, setup.source, dir / name, reason)) state.SkipWithError(reason.c_str());
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir / name));
}

bool registerAll() {
    const struct {
        Shape shape;
        const char* name;
    } shapes[] = {{Shape::Sphere45, "sphere45"}, {Shape::FullGrid, "full"}, {Shape::Checkerboard, "checkerboard"}};
    const struct {
        Writer writer;
        const char* file;
        const char* name;
    } writers[] = {{exportObj, "m.obj", "Obj"}, {exportCollada, "m.dae", "Collada"},
                   {exportMetasequoia, "m.mqo", "Metasequoia"}, {exportStl, "m.stl", "Stl"},
                   {exportPly, "m.ply", "Ply"}}, sphereWriters[] = {{exportGlb, "m.glb", "Glb"},
                                                                    {export3mf, "m.3mf", "3mf"},
                                                                    {export3mfColourParts, "m.3mf", "3mfColourParts"}};
    for (const auto& s : shapes)
        for (bool smooth : {true, false}) {
            const std::string suffix = std::string("/") + s.name + (smooth ? "/smooth" : "/flat");
            benchmark::RegisterBenchmark(("BM_Extract" + suffix).c_str(), extractBoth, s.shape, smooth)
                ->Unit(benchmark::kMillisecond);
            for (const auto& w : writers)
                benchmark::RegisterBenchmark(("BM_Export" + std::string(w.name) + suffix).c_str(), exportWith,
                                             w.writer, w.file, s.shape, smooth)
                    ->Unit(benchmark::kMillisecond);
            if (s.shape == Shape::Sphere45)
                for (const auto& w : sphereWriters)
                    benchmark::RegisterBenchmark(("BM_Export" + std::string(w.name) + suffix).c_str(), exportWith,
                                                 w.writer, w.file, s.shape, smooth)
                        ->Unit(benchmark::kMillisecond);
        }
    return true;
}

const bool kRegistered = registerAll();

}  // namespace
}  // namespace cubrik
