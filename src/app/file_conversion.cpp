#include "app/file_conversion.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "model/model_file.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

}  // namespace

int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool /*flat*/,
                     std::string& reason) {
    const std::string ext = lowerExtension(outputPath);
    if (ext != "cbk") {
        reason = outputPath + ": unknown output type (use .cbk)";
        return 0;
    }
    ModelStore store;
    if (!resetModel(store)) {
        reason = "out of memory";
        return 0;
    }
    if (!readModelFile(inputPath, *store.model, reason)) return 0;
    return writeModelFile(outputPath, *store.model, reason);
}

}  // namespace cubrik
