// The recovery copy: writing it for the full random model (formatting,
// atomic write with its sync, and the snapshot kept for the next check), and
// the start-up look for orphans when there are none.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/app.h"
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

void BM_WriteRecoveryCopyOfTheFullRandomModel(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.app.model().cells[0] ^= 1;  // a change, or the copy is up to date and nothing is written
        writeRecoveryCopyNow(f.app);
    }
    state.SetLabel(std::to_string(f.app.recovery.copiesWritten) + " copies written");
}
BENCHMARK(BM_WriteRecoveryCopyOfTheFullRandomModel)->Unit(benchmark::kMillisecond);

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
