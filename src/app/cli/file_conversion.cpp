#include "app/cli/file_conversion.h"

#include <algorithm>

#include "formats/file_format.h"
#include "formats/import/mesh_import.h"
#include "formats/import/mesh_reader.h"
#include "formats/picture_cells.h"
#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

// Fills a fresh `store` with what `read` puts in the contents it is given,
// which start with the store's palettes. Returns 1, or 0 with `reason`.
template <typename Read>
int loadInto(ModelStore& store, std::string& reason, Read read) {
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    ModelFileContents contents;
    std::copy(std::begin(store.model->paletteA), std::end(store.model->paletteA), contents.paletteA);
    std::copy(std::begin(store.model->paletteB), std::end(store.model->paletteB), contents.paletteB);
    if (!read(contents)) return 0;
    applyModelFile(contents, *store.model);
    return 1;
}

}  // namespace

int loadModelInto(const std::string& path, ModelStore& store, std::string& reason) {
    return loadInto(store, reason, [&](ModelFileContents& contents) {
        ReadReport report;
        return readAnyModelFile(path, contents, report, reason) == 1;
    });
}

int convertModelFile(const std::string& inputPath, const std::string& outputPath, const ConversionOptions& options,
                     std::string& reason) {
    const FileFormat* format = formatOf(outputPath);
    if (format == nullptr || !format->writesModel()) {
        reason = outputPath + ": unknown output type (use " + extensionList(isWritableModel, ", ", " or ") + ")";
        return 0;
    }
    ModelStore store;
    // A picture's or a mesh's cells take the default palettes the fresh store holds.
    const auto readPicture = [&](ModelFileContents& contents) {
        return readPictureCells(inputPath, options.pictureThickness, contents, reason) == 1;
    };
    const auto readMesh = [&](ModelFileContents& contents) {
        return importMeshFile(inputPath, options.meshImport, contents.paletteA, contents.paletteB, contents.cells,
                              reason) == 1;
    };
    const int loaded = isCellPicture(inputPath) ? loadInto(store, reason, readPicture)
                       : isMeshFile(inputPath)  ? loadInto(store, reason, readMesh)
                                                : loadModelInto(inputPath, store, reason);
    if (!loaded) return 0;
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
