#pragma once
// COLLADA 1.4.1: 32 effects and materials, one geometry per material with one
// normal per face and the faces grouped by colour, a light, a camera and one
// scene placing them.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// Returns 1 when the document was written, else 0 with `reason`; an earlier
// file at `path` is then left as it was.
int exportCollada(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                  std::string& reason);

}  // namespace cubrik
