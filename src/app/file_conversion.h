#pragma once
// `cubrik --export`: reads a model file and writes it again, or exports it,
// through the same functions the window's Open and Save as use.

#include <filesystem>
#include <string>

#include "export/mesh_extraction.h"

namespace cubrik {

using MeshWriter = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);

// The mesh writer Save as and --export choose for `path`: by the first three
// characters of its extension, in any letter case; none for other names.
MeshWriter meshWriterFor(const std::string& path);

// The output type follows the extension of `outputPath`. Returns 1 when the
// output was written, else 0 with `reason`; nothing is written on failure.
// Mesh exports are smoothed unless `flat`.
int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     std::string& reason);

}  // namespace cubrik
