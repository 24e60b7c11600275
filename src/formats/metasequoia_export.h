#pragma once
// Metasequoia text documents (format version 1.0): a fixed scene, the 32
// palette colours as materials and one object per non-empty material.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// Returns 1 when the document was written, else 0 with `reason`; an earlier
// file at `path` is then left as it was.
int exportMetasequoia(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                      std::string& reason);

}  // namespace cubrik
