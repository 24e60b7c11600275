#pragma once
// What the tests of the mesh writers share: a fresh model, an extractor and a
// folder to write into.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"
#include "model/model_file.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik::testing {

class MeshExportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(initMeshExtraction(extractor), 1); }

    void set(int x, int y, int z, std::uint8_t code) { setCell(*store.model, x, y, z, code); }
    // Replaces the model with the one in `path`.
    void load(const std::filesystem::path& path) {
        ModelFileContents contents;
        std::string reason;
        ASSERT_EQ(loadModelFile(path, contents, reason), 1) << reason;
        applyModelFile(contents, *store.model);
    }

    // Faces between two filled cells of different colours.
    int facesBetweenColours() const {
        int faces = 0;
        for (int z = 0; z < kGridSize; ++z)
            for (int y = 0; y < kGridSize; ++y)
                for (int x = 0; x < kGridSize; ++x) {
                    const std::uint8_t here = store.model->cells[cellIndex(x, y, z)];
                    for (const int axis : {0, 1, 2}) {
                        const int next[3] = {x + (axis == 0), y + (axis == 1), z + (axis == 2)};
                        if (here == kEmpty || next[axis] == kGridSize) continue;
                        const std::uint8_t there = store.model->cells[cellIndex(next[0], next[1], next[2])];
                        faces += there != kEmpty && there != here;
                    }
                }
        return faces;
    }

    TempDir dir;
    ModelStore store = makeStore();
    MeshExtractor extractor;
};

}  // namespace cubrik::testing
