// The recovery copy written in the background: the window only takes the
// copy; removing it and a termination signal wait for the writer, and a
// failure is said once, at a check of the window's.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "app/state/app.h"
#include "model/model_file.h"
#include "support/fake_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

class RecoveryWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.backgroundWrites = true;
        app.paths.stateFolder = dir / "state";
        ASSERT_EQ(resetModel(app.store), 1);
        app.flags.modelModified = 1;
    }

    // A change that waits the interval, then the check that takes its copy.
    void changeAndTakeCopy(int cell) {
        app.model().cells[cell] ^= 1;
        keepRecoveryCopy(app);
        platform.clock += app.settings.autosaveSeconds;
        keepRecoveryCopy(app);
    }

    // Waits without taking the outcome: the window's next check takes it.
    void letTheWriterEnd() {
        while (app.recovery.writer.running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::set<std::string> filesKept() {
        std::set<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(recoveryFolderOf(app.paths.stateFolder), ignored))
            names.insert(entry.path().filename().string());
        return names;
    }

    testing::TempDir dir;
    testing::FakePlatform platform;
    App app{platform};
};

TEST_F(RecoveryWriterTest, ACopyBeingWrittenAsTheDocumentIsSavedNeverComesBack) {
    for (std::uint32_t round = 1; round <= 10; ++round) {
        app.flags.modelModified = 1;
        changeAndTakeCopy(static_cast<int>(round));
        ASSERT_EQ(app.recovery.copiesTaken, round);
        app.flags.modelModified = 0;  // saved: the check after the message removes the copy
        keepRecoveryCopy(app);
        EXPECT_EQ(filesKept(), std::set<std::string>{}) << "round " << round;
    }
    letTheWriterEnd();
    EXPECT_EQ(filesKept(), std::set<std::string>{});
}

TEST_F(RecoveryWriterTest, ATerminationFinishesTheCopyBeingWrittenThenKeepsTheModelAsItIs) {
    for (const bool changedSince : {false, true}) {
        changeAndTakeCopy(1);
        if (changedSince) app.model().cells[2] ^= 1;  // a change the copy being written misses
        writeRecoveryCopyNow(app);  // the process ends right after it
        const std::string& id = app.recovery.id;
        EXPECT_EQ(filesKept(), (std::set<std::string>{id + ".cbk", id + ".lock", id + ".txt"}));
        EXPECT_EQ(testing::readBytes(recoveryFolderOf(app.paths.stateFolder) / (id + ".cbk")),
                  formatModelFile(app.model()));
    }
    EXPECT_EQ(app.recovery.copiesWritten, 3u);
}

TEST_F(RecoveryWriterTest, AFailedWriteIsSaidOnceAndTriedAgainAnIntervalLater) {
    testing::writeBytes(dir / "state", "a file where the folder would be");
    ::testing::internal::CaptureStderr();
    changeAndTakeCopy(1);
    letTheWriterEnd();
    for (int tick = 0; tick < 5; ++tick, platform.clock += 1) keepRecoveryCopy(app);
    EXPECT_EQ(app.recovery.copiesTaken, 1u);
    platform.clock += app.settings.autosaveSeconds;
    keepRecoveryCopy(app);
    EXPECT_EQ(app.recovery.copiesTaken, 2u);
    writeRecoveryCopyNow(app);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the recovery copy was not written"), std::string::npos) << said;
    EXPECT_EQ(said.find("the recovery copy was not written"), said.rfind("the recovery copy was not written")) << said;
    EXPECT_EQ(app.recovery.copiesWritten, 0u);
}

// What a failed write left is no copy: once the disk is back, a termination
// writes the model, though it has not changed since.
TEST_F(RecoveryWriterTest, AFailedWriteKeepsNothingSoATerminationWritesTheCopy) {
    testing::writeBytes(dir / "state", "a file where the folder would be");
    ::testing::internal::CaptureStderr();
    changeAndTakeCopy(1);
    letTheWriterEnd();
    keepRecoveryCopy(app);  // takes the failure
    ::testing::internal::GetCapturedStderr();
    std::filesystem::remove(dir / "state");
    writeRecoveryCopyNow(app);
    EXPECT_EQ(app.recovery.copiesWritten, 1u);
    EXPECT_EQ(testing::readBytes(recoveryFolderOf(app.paths.stateFolder) / (app.recovery.id + ".cbk")),
              formatModelFile(app.model()));
}

}  // namespace
}  // namespace cubrik
