#include "app/cli/file_conversion.h"

#include <algorithm>

#include "formats/file_format.h"
#include "formats/picture_cells.h"
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

// The cells of a picture, in the default palettes the fresh store holds.
int loadPictureInto(const std::string& path, int thickness, ModelStore& store, std::string& reason) {
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    ModelFileContents contents;
    std::copy(std::begin(store.model->paletteA), std::end(store.model->paletteA), contents.paletteA);
    std::copy(std::begin(store.model->paletteB), std::end(store.model->paletteB), contents.paletteB);
    if (!readPictureCells(path, thickness, contents, reason)) return 0;
    applyModelFile(contents, *store.model);
    return 1;
}

}  // namespace

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     double cellMillimetres, int pictureThickness, std::string& reason) {
    const FileFormat* format = formatOf(outputPath);
    if (format == nullptr || !format->writesModel()) {
        reason = outputPath + ": unknown output type (use " + extensionList(isWritableModel, ", ", " or ") + ")";
        return 0;
    }
    ModelStore store;
    if (isCellPicture(inputPath)) {
        if (!loadPictureInto(inputPath, pictureThickness, store, reason)) return 0;
    } else if (!loadModelInto(inputPath, store, reason)) {
        return 0;
    }
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
