#include "app/cli/file_conversion.h"

#include "formats/file_format.h"
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

int convertModelFile(const std::string& inputPath, const std::string& outputPath, const MeshExportOptions& options,
                     std::string& reason) {
    const FileFormat* format = formatOf(outputPath);
    if (format == nullptr || !format->writesModel()) {
        reason = outputPath + ": unknown output type (use " + extensionList(isWritableModel, ", ", " or ") + ")";
        return 0;
    }
    ModelStore store;
    if (!loadModelInto(inputPath, store, reason)) return 0;
    if (format->writeModel != nullptr) return format->writeModel(outputPath, *store.model, reason);

    MeshExtractor extractor;
    if (!initMeshExtraction(extractor)) {
        reason = "out of memory";
        return 0;
    }
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, !options.flat,
                            options.cellMillimetres};
    const MeshWriter write = options.colourParts ? format->writeColourParts : format->writeMesh;
    return write(extractor, source, outputPath, reason);
}

}  // namespace cubrik
