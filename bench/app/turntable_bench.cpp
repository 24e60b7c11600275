// A 36-frame turntable of the penguin at 400 x 400 through Mesa's llvmpipe,
// from the model in memory to the finished file: the context, the frames and
// the encoding all counted.
#include <benchmark/benchmark.h>

#include <string>

#include "app/cli/file_conversion.h"
#include "app/commands/turntable_export.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

// range(0): 0 GIF, 1 MP4, 2 WebP.
void BM_Turntable(benchmark::State& state) {
    static const char* const kExtensions[] = {"gif", "mp4", "webp"};
    const char* extension = kExtensions[state.range(0)];
    ModelStore store;
    std::string reason;
    if (!loadModelInto(CUBRIK_EXAMPLES_DIR "/penguin.cbk", store, reason)) state.SkipWithError(reason.c_str());
    testing::TempDir dir;
    const std::string output = (dir / "turntable.").string() + extension;
    const TurntableSettings settings;  // 36 frames of 400 x 400
    const std::atomic<bool> cancel{false};
    for (auto _ : state)
        if (exportTurntable(*store.model, settings, output, {}, cancel, reason) != TurntableOutcome::Written)
            state.SkipWithError(reason.c_str());
    state.SetLabel(std::string("penguin, 36 frames of 400 x 400, ") + extension);
}
BENCHMARK(BM_Turntable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace cubrik
