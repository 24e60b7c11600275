#pragma once
// Runs session files through `--replay` in this process and reads back what
// they leave: saved models and grabbed frames.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/session/replay.h"
#include "model/model_file.h"
#include "support/file_bytes.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik::testing {

// A grabbed frame: 32-bit TARGA, rows bottom to top.
struct Grab {
    std::string bytes;
    int width() const { return static_cast<unsigned char>(bytes[12]) | static_cast<unsigned char>(bytes[13]) << 8; }
    int height() const { return static_cast<unsigned char>(bytes[14]) | static_cast<unsigned char>(bytes[15]) << 8; }
    // 0xRRGGBB of client pixel (x, y), y from the top.
    std::uint32_t at(int x, int y) const {
        const std::size_t i = 18 + 4 * (static_cast<std::size_t>(height() - 1 - y) * width() + x);
        auto byte = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])); };
        return byte(i + 2) << 16 | byte(i + 1) << 8 | byte(i);
    }
};

class SessionTest : public ::testing::Test {
protected:
    // Writes `model` as start.cbk; sessions refer to it by running with it.
    std::string writeModel(const VoxelModel& model) {
        const std::string path = (dir / "start.cbk").string();
        std::string reason;
        EXPECT_EQ(writeModelFile(path, model, reason), 1) << reason;
        return path;
    }

    // Runs `session` (where "$DIR" stands for the test's folder) with the
    // start-up model `model`. Returns the failure reason, empty on success.
    std::string replay(std::string session, const std::string& model = "") {
        for (std::size_t at; (at = session.find("$DIR")) != std::string::npos;) session.replace(at, 4, dir.path().string());
        const std::filesystem::path file = dir / "session.txt";
        writeBytes(file, session);
        std::string reason;
        return runReplay(file.string(), model, reason) ? "" : reason;
    }

    ModelStore saved(const std::string& name) {
        ModelStore store = makeStore();
        std::string reason;
        EXPECT_EQ(readModelFile((dir / name).string(), *store.model, reason), 1) << reason;
        return store;
    }

    Grab grab(const std::string& name) { return {readBytes(dir / name)}; }

    // Runs `lines` in an 800 x 600 window after its first frame, starting
    // with `start`, and reads back what they leave (saved as out.cbk).
    ModelStore run(const VoxelModel& start, const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\npaint\n" + lines + "save $DIR/out.cbk\n", writeModel(start)), "");
        return saved("out.cbk");
    }

    TempDir dir;
};

// A session test run in the kernel variant this machine picks and, with the
// parameter true, in the scalar one.
class VariantSessionTest : public SessionTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam()) setenv("CUBRIK_SCALAR", "1", 1);
    }
    void TearDown() override { unsetenv("CUBRIK_SCALAR"); }
};

}  // namespace cubrik::testing
