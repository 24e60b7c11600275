#include "app/cli/file_conversion.h"

#include <algorithm>

#include "formats/file_format.h"
#include "formats/import/mesh_import.h"
#include "formats/import/mesh_reader.h"
#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {

int loadModelInto(const std::string& path, ModelStore& store, std::string& reason) {
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    ModelFileContents contents;
    ReadReport report;
    if (!readAnyModelFile(path, contents, report, reason)) return 0;
    applyModelFile(contents, *store.model);
    return 1;
}

namespace {

int importMeshInto(const std::string& path, const VoxelizeOptions& options, ModelStore& store, std::string& reason) {
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    VoxelModel& model = *store.model;
    std::vector<std::uint8_t> cells;
    if (!importMeshFile(path, options, model.paletteA, model.paletteB, cells, reason)) return 0;
    std::copy(cells.begin(), cells.end(), model.cells);
    return 1;
}

}  // namespace

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     double cellMillimetres, const VoxelizeOptions& meshImport, std::string& reason) {
    const FileFormat* format = formatOf(outputPath);
    if (format == nullptr || !format->writesModel()) {
        reason = outputPath + ": unknown output type (use " + extensionList(isWritableModel, ", ", " or ") + ")";
        return 0;
    }
    ModelStore store;
    const bool loaded = isMeshFile(inputPath) ? importMeshInto(inputPath, meshImport, store, reason)
                                              : loadModelInto(inputPath, store, reason);
    if (!loaded) return 0;
    if (format->writeModel != nullptr) return format->writeModel(outputPath, *store.model, reason);

    MeshExtractor extractor;
    if (!initMeshExtraction(extractor)) {
        reason = "out of memory";
        return 0;
    }
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, !flat, cellMillimetres};
    return format->writeMesh(extractor, source, outputPath, reason);
}

}  // namespace cubrik
