// A peer editor reads what Cubrik writes and writes it again: Debian's goxel,
// converting headless under xvfb-run (`goxel IN --export OUT`). What it writes
// must read back to the same cells, up to a translation, in the same colours.
#include <gtest/gtest.h>

#include <map>

#include "formats/qb_file.h"
#include "formats/vox_file.h"
#include "model/model_file.h"
#include "model/material.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using Cells = std::map<std::array<int, 3>, std::uint32_t>;  // position from the lowest corner -> RGB

Cells colouredCells(const std::uint8_t* cells, const Rgb* paletteA, const Rgb* paletteB) {
    Cells found;
    std::array<int, 3> low = {kGridSize, kGridSize, kGridSize};
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x)
                if (const std::uint8_t code = cells[cellIndex(x, y, z)]; code != 0) {
                    found[{x, y, z}] =
                        packColour(isMaterialA(code) ? paletteA[code - kFirstCodeA] : paletteB[code - kFirstCodeB]);
                    low = {std::min(low[0], x), std::min(low[1], y), std::min(low[2], z)};
                }
    Cells moved;
    for (const auto& [p, rgb] : found) moved[{p[0] - low[0], p[1] - low[1], p[2] - low[2]}] = rgb;
    return moved;
}

class GoxelInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing::runCommand("command -v goxel >/dev/null && command -v xvfb-run >/dev/null && echo yes") != "yes\n")
            GTEST_SKIP() << "goxel or xvfb-run is not installed (Debian packages goxel, xvfb)";
        ModelFileContents contents;
        std::string reason;
        ASSERT_EQ(loadModelFile(CUBRIK_EXAMPLES_DIR "/penguin.cbk", contents, reason), 1) << reason;
        store = std::make_unique<VoxelModel>();
        applyModelFile(contents, *store);
        expected = colouredCells(store->cells, store->paletteA, store->paletteB);
        ASSERT_EQ(writeVoxFile(dir / "penguin.vox", *store, reason), 1) << reason;
        ASSERT_EQ(writeQbFile(dir / "penguin.qb", *store, reason), 1) << reason;
    }

    // goxel reads `input` and writes `output`; Cubrik reads that back.
    Cells throughGoxel(const std::string& input, const std::string& output) {
        std::string command = "cd '";
        command.append(dir.path().string()).append("' && timeout 120 xvfb-run -a goxel ").append(input);
        command.append(" --export ").append(output).append(" >goxel.log 2>&1; echo $?");
        EXPECT_EQ(testing::runCommand(command), "0\n") << input << " -> " << output;
        VoxContents back;
        std::string reason;
        const auto path = dir / output;
        const int read = path.extension() == ".qb" ? loadQbFile(path, back, reason) : loadVoxFile(path, back, reason);
        EXPECT_EQ(read, 1) << reason;
        return read ? colouredCells(back.cells.data(), back.paletteA, back.paletteB) : Cells{};
    }

    testing::TempDir dir;
    std::unique_ptr<VoxelModel> store;
    Cells expected;
};

TEST_F(GoxelInterop, GoxelReadsAndWritesCubriksVoxAndQbToTheSameCellsAndColours) {
    EXPECT_EQ(throughGoxel("penguin.vox", "vox-again.vox"), expected);
    EXPECT_EQ(throughGoxel("penguin.vox", "from-vox.qb"), expected);
    EXPECT_EQ(throughGoxel("penguin.qb", "from-qb.vox"), expected);
    // goxel's own .qb of a .qb it read counts two matrices and holds one.
    EXPECT_EQ(throughGoxel("penguin.qb", "qb-again.qb"), expected);
}

}  // namespace
}  // namespace cubrik
