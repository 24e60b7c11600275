#include "app/file_conversion.h"

#include <algorithm>
#include <filesystem>

#include "app/document_paths.h"
#include "export/collada_export.h"
#include "export/gltf_export.h"
#include "export/mesh_extraction.h"
#include "export/metasequoia_export.h"
#include "export/obj_export.h"
#include "export/png_image.h"
#include "export/qb_file.h"
#include "export/targa.h"
#include "export/vox_file.h"
#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {

MeshWriter meshWriterFor(const std::string& path) {
    if (extensionStartsWith(path, "obj")) return exportObj;
    if (extensionStartsWith(path, "glb")) return exportGlb;
    if (extensionStartsWith(path, "dae")) return exportCollada;
    if (extensionStartsWith(path, "mqo")) return exportMetasequoia;
    return nullptr;
}

ImageWriter imageWriterFor(const std::string& path) {
    if (extensionStartsWith(path, "tga")) return writeTarga;
    if (extensionStartsWith(path, "png")) return writePng;
    return nullptr;
}

bool isQbFileName(const std::string& path) {
    return extensionStartsWith(path, "qb") && std::filesystem::path(path).extension().string().size() == 3;
}

bool isModelFileName(const std::string& path) {
    return extensionStartsWith(path, "cbk") || extensionStartsWith(path, "vox") || isQbFileName(path);
}

int loadAnyModelFile(const std::string& path, ModelFileContents& out, bool& coloursMerged, std::string& reason,
                     std::string* notes) {
    coloursMerged = false;
    if (notes != nullptr) notes->clear();
    const bool qb = isQbFileName(path);
    if (!qb && !extensionStartsWith(path, "vox")) return loadModelFile(path, out, reason);
    VoxContents vox;
    if (!(qb ? loadQbFile(path, vox, reason) : loadVoxFile(path, vox, reason))) return 0;
    std::copy(std::begin(vox.paletteA), std::end(vox.paletteA), out.paletteA);
    std::copy(std::begin(vox.paletteB), std::end(vox.paletteB), out.paletteB);
    out.cells = std::move(vox.cells);
    coloursMerged = vox.coloursMerged;
    if (notes != nullptr) *notes = std::move(vox.notes);
    return 1;
}

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     std::string& reason) {
    const MeshWriter writeMesh = meshWriterFor(outputPath);
    const bool native = extensionStartsWith(outputPath, "cbk"), vox = extensionStartsWith(outputPath, "vox");
    const bool qb = isQbFileName(outputPath);
    if (!native && !vox && !qb && writeMesh == nullptr) {
        reason = outputPath + ": unknown output type (use .cbk, .vox, .qb, .obj, .dae, .mqo or .glb)";
        return 0;
    }
    ModelStore store;
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    ModelFileContents contents;
    bool coloursMerged = false;
    if (!loadAnyModelFile(inputPath, contents, coloursMerged, reason)) return 0;
    applyModelFile(contents, *store.model);
    if (native) return writeModelFile(outputPath, *store.model, reason);
    if (vox) return writeVoxFile(outputPath, *store.model, reason);
    if (qb) return writeQbFile(outputPath, *store.model, reason);

    MeshExtractor extractor;
    if (!initMeshExtraction(extractor)) {
        reason = "out of memory";
        return 0;
    }
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, !flat};
    return writeMesh(extractor, source, outputPath, reason);
}

}  // namespace cubrik
