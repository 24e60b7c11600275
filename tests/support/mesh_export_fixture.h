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

    TempDir dir;
    ModelStore store = makeStore();
    MeshExtractor extractor;
};

}  // namespace cubrik::testing
