// The model file and the undo history on a full, varied model.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "model/model_file.h"
#include "model/undo_history.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

void BM_WriteModelFile(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state) benchmark::DoNotOptimize(writeModelFile(dir / "bench.cbk", *store.model, reason));
}
BENCHMARK(BM_WriteModelFile)->Unit(benchmark::kMillisecond);

void BM_ReadModelFile(benchmark::State& state) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 1);
    testing::TempDir dir;
    std::string reason;
    writeModelFile(dir / "bench.cbk", *store.model, reason);
    for (auto _ : state) benchmark::DoNotOptimize(readModelFile(dir / "bench.cbk", *store.model, reason));
}
BENCHMARK(BM_ReadModelFile)->Unit(benchmark::kMillisecond);

struct UndoFixture {
    ModelStore store = testing::makeStore();
    EditState edit;
    DocumentFlags flags;
    UndoHistory history;
    UndoFixture() {
        testing::fillRandom(*store.model, 2);
        createUndoHistory(history, flags);
        for (int i = 0; i < kUndoDepth; ++i) pushUndo(history, *store.model, edit, flags);  // a full history
    }
};

void BM_PushUndo(benchmark::State& state) {
    UndoFixture f;
    for (auto _ : state) pushUndo(f.history, *f.store.model, f.edit, f.flags);
}
BENCHMARK(BM_PushUndo)->Unit(benchmark::kMicrosecond);

void BM_UndoRedo(benchmark::State& state) {
    UndoFixture f;
    const bool undoing = state.range(0) == 0;
    for (auto _ : state) {
        // Each iteration times one undo or one redo; the other step keeps the history balanced.
        state.PauseTiming();
        if (!undoing) undo(f.history, *f.store.model, f.edit, f.flags);
        state.ResumeTiming();
        if (undoing) undo(f.history, *f.store.model, f.edit, f.flags);
        else redo(f.history, *f.store.model, f.edit, f.flags);
        state.PauseTiming();
        if (undoing) redo(f.history, *f.store.model, f.edit, f.flags);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoRedo)->Arg(0)->Arg(1)->ArgNames({"redo"})->Unit(benchmark::kMicrosecond);

// Ordinary editing: size-3 strokes on the radius-45 sphere, range(0) steps
// kept, the history full.
struct StrokeHistory {
    ModelStore store = testing::makeStore();
    EditState edit;
    DocumentFlags flags;
    UndoHistory history;
    std::uint32_t seed = 0;
    explicit StrokeHistory(int depth) {
        testing::fillSphere(*store.model, 45);
        createUndoHistory(history, flags, depth);
        for (int i = 0; i < depth; ++i) stroke();
    }
    void stroke() {
        pushUndo(history, *store.model, edit, flags);
        testing::strokeLikeChange(*store.model, ++seed);
    }
    // Every byte the history holds: the anchor, the working buffer and the steps.
    double megabytes() const {
        std::size_t bytes = sizeof(VoxelModel) + history.coding.capacity();
        for (const UndoSlot& slot : history.slots) bytes += sizeof slot + slot.toNext.capacity();
        return static_cast<double>(bytes) / (1 << 20);
    }
};

// The push at the start of a stroke, after the stroke before it.
void BM_StrokePushUndo(benchmark::State& state) {
    StrokeHistory h(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        testing::strokeLikeChange(*h.store.model, ++h.seed);
        state.ResumeTiming();
        pushUndo(h.history, *h.store.model, h.edit, h.flags);
    }
    state.counters["MB"] = h.megabytes();
}
BENCHMARK(BM_StrokePushUndo)->Arg(20)->Arg(1000)->ArgName("steps")->Unit(benchmark::kMicrosecond);

// Ctrl+Z straight after a stroke.
void BM_StrokeUndo(benchmark::State& state) {
    StrokeHistory h(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        h.stroke();
        state.ResumeTiming();
        undo(h.history, *h.store.model, h.edit, h.flags);
    }
    state.counters["MB"] = h.megabytes();
}
BENCHMARK(BM_StrokeUndo)->Arg(20)->Arg(1000)->ArgName("steps")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cubrik
