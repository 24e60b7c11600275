#include "app/file_conversion.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "export/collada_export.h"
#include "export/mesh_extraction.h"
#include "export/metasequoia_export.h"
#include "export/obj_export.h"
#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

using MeshWriter = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);

// What Save as goes by: the first three characters after the file name's
// last dot, in any letter case.
std::string outputType(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return "";
    std::string type = name.substr(dot + 1, 3);
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
    return type;
}

MeshWriter meshWriterFor(const std::string& type) {
    if (type == "obj") return exportObj;
    if (type == "dae") return exportCollada;
    if (type == "mqo") return exportMetasequoia;
    return nullptr;
}

}  // namespace

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     std::string& reason) {
    const std::string type = outputType(outputPath);
    const MeshWriter writeMesh = meshWriterFor(type);
    if (type != "cbk" && writeMesh == nullptr) {
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
