// The recovery copy of the full random model: the window's part (the model
// copied and handed to the writer), the writer's part (formatting, atomic
// writes with their syncs), and the start-up look for orphans when there are none.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/state/app.h"
#include "support/fake_platform.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

struct Fixture {
    testing::TempDir dir;
    testing::FakePlatform platform;
    App app{platform};

    Fixture() {
        app.paths.stateFolder = dir / "state";
        resetModel(app.store);
        testing::fillRandom(app.model(), 7);
        app.flags.modelModified = 1;
    }
};

// The writer's part, done at once on this thread as for a termination signal.
void BM_WriteRecoveryCopyOfTheFullRandomModel(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.app.model().cells[0] ^= 1;  // a change, or the copy is up to date and nothing is written
        writeRecoveryCopyNow(f.app);
    }
    state.SetLabel(std::to_string(f.app.recovery.copiesWritten) + " copies written");
}
BENCHMARK(BM_WriteRecoveryCopyOfTheFullRandomModel)->Unit(benchmark::kMillisecond);

// The window's part: the check at which a change has waited the interval.
// The writer is waited for outside the timing, so each copy is taken.
void BM_TakeRecoveryCopyOnTheWindowsThread(benchmark::State& state) {
    Fixture f;
    f.platform.backgroundWrites = true;
    for (auto _ : state) {
        f.app.model().cells[0] ^= 1;
        keepRecoveryCopy(f.app);  // the change is seen
        f.platform.clock += f.app.settings.autosaveSeconds;
        const auto start = std::chrono::steady_clock::now();
        keepRecoveryCopy(f.app);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        writeRecoveryCopyNow(f.app);  // waits for the writer; the copy is up to date
    }
    state.SetLabel(std::to_string(f.app.recovery.copiesTaken) + " copies taken");
}
BENCHMARK(BM_TakeRecoveryCopyOnTheWindowsThread)->UseManualTime()->Unit(benchmark::kMillisecond);

// The usual start: no recovery folder at all, or an empty one.
void BM_StartUpLookForOrphans(benchmark::State& state) {
    Fixture f;
    if (state.range(0) == 1) std::filesystem::create_directories(recoveryFolderOf(f.app.paths.stateFolder));
    for (auto _ : state) benchmark::DoNotOptimize(offerRecoveryCopies(f.app));
}
BENCHMARK(BM_StartUpLookForOrphans)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The check made at the end of every message while a copy is current: one
// comparison of the model with the copy.
void BM_CheckAfterAMessage(benchmark::State& state) {
    Fixture f;
    writeRecoveryCopyNow(f.app);
    for (auto _ : state) keepRecoveryCopy(f.app);
}
BENCHMARK(BM_CheckAfterAMessage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cubrik
