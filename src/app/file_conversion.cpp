#include "app/file_conversion.h"

#include <filesystem>

#include "app/document_paths.h"
#include "export/collada_export.h"
#include "export/mesh_extraction.h"
#include "export/metasequoia_export.h"
#include "export/obj_export.h"
#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {

MeshWriter meshWriterFor(const std::string& path) {
    if (extensionStartsWith(path, "obj")) return exportObj;
    if (extensionStartsWith(path, "dae")) return exportCollada;
    if (extensionStartsWith(path, "mqo")) return exportMetasequoia;
    return nullptr;
}

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     std::string& reason) {
    const MeshWriter writeMesh = meshWriterFor(outputPath);
    if (!extensionStartsWith(outputPath, "cbk") && writeMesh == nullptr) {
        reason = outputPath + ": unknown output type (use .cbk, .obj, .dae or .mqo)";
        return 0;
    }
    ModelStore store;
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    if (!readModelFile(inputPath, *store.model, reason)) return 0;
    if (writeMesh == nullptr) return writeModelFile(outputPath, *store.model, reason);

    MeshExtractor extractor;
    if (!initMeshExtraction(extractor)) {
        reason = "out of memory";
        return 0;
    }
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, !flat};
    return writeMesh(extractor, source, outputPath, reason);
}

}  // namespace cubrik
