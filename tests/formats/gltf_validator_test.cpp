// The Khronos glTF validator (npm gltf-validator, installed by
// `scripts/install-deps test` into build-tools/) finds no error and no warning
// in the .glb of the example models and of the extreme ones, smooth and flat.
#include <gtest/gtest.h>

#include <sstream>

#include "formats/gltf_export.h"
#include "model/model_file.h"
#include "support/model_builders.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

const std::filesystem::path kValidator = CUBRIK_GLTF_VALIDATOR_DIR;
const std::filesystem::path kExamples = CUBRIK_EXAMPLES_DIR;

class GltfValidator : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing::runCommand("node --version 2>/dev/null").rfind("v", 0) != 0)
            GTEST_SKIP() << "node is not installed";
        if (!std::filesystem::is_directory(kValidator / "node_modules" / "gltf-validator"))
            GTEST_SKIP() << "gltf-validator is not installed in " << kValidator << " (scripts/install-deps test)";
        ASSERT_EQ(initMeshExtraction(extractor), 1);
    }

    // Writes the current model's .glb, smooth and flat, under `name`.
    void exportBoth(const std::string& name) {
        for (bool smooth : {true, false}) {
            if (smooth) refreshCornerCodes(store.model->cells, *store.cornerCodes);
            const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
            const std::filesystem::path file = dir / (name + (smooth ? "-smooth.glb" : "-flat.glb"));
            std::string reason;
            ASSERT_EQ(exportGlb(extractor, source, file, reason), 1) << reason;
            files.push_back(file);
        }
    }

    void loadExample(const std::string& name) {
        ModelFileContents contents;
        std::string reason;
        ASSERT_EQ(loadModelFile(kExamples / name, contents, reason), 1) << reason;
        applyModelFile(contents, *store.model);
    }

    testing::TempDir dir;
    ModelStore store = testing::makeStore();
    MeshExtractor extractor;
    std::vector<std::filesystem::path> files;
};

TEST_F(GltfValidator, ExamplesAndExtremeModelsHaveNoErrorsOrWarnings) {
    loadExample("penguin.cbk");
    exportBoth("penguin");
    loadExample("doughnut.cbk");
    exportBoth("doughnut");
    store = testing::makeStore();
    testing::fillAll(*store.model, 7);
    exportBoth("full");
    store = testing::makeStore();
    testing::fillCheckerboard(*store.model, 30, 20);  // a 100-cube one makes a .glb of some 360 MB
    exportBoth("checkerboard");
    // A smoothing table that pulls every corner of a lone cell to its centre:
    // each face collapses to a point and its normal to (0, 0, 0).
    store = testing::makeStore();
    for (auto& offset : store.smoothingTable.offset) offset[0] = offset[1] = offset[2] = 0;
    for (int bit = 0; bit < 8; ++bit)
        for (int axis = 0; axis < 3; ++axis) store.smoothingTable.offset[1 << bit][axis] = (bit >> axis & 1) ? 4 : -4;
    testing::setCell(*store.model, 0, 0, 0, 3);
    testing::setCell(*store.model, 10, 10, 10, 4);
    exportBoth("collapsed");

    std::string command = "node '" CUBRIK_SOURCE_TESTS "/formats/validate_gltf.cjs' '";
    command.append(kValidator.string()).append("'");
    for (const auto& file : files) command.append(" '").append(file.string()).append("'");
    const std::string output = testing::runCommand(command.append(" 2>&1"));
    std::istringstream lines(output);
    std::size_t reports = 0;
    for (std::string line; std::getline(lines, line); ++reports)
        EXPECT_NE(line.find(" errors 0 warnings 0 "), std::string::npos) << line;
    EXPECT_EQ(reports, files.size()) << output;
}

}  // namespace
}  // namespace cubrik
