#pragma once
// Binary glTF 2.0 (.glb): both materials as triangles, one primitive per used
// colour, each with a metallic-roughness material of that palette colour.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// Writes the .glb file, smoothed when `source.smooth`, placed as the OBJ
// export places its vertices. An empty model gives a valid file holding a
// scene without meshes. Returns 1, or 0 with `reason`; any earlier file at
// `path` is then left as it was.
int exportGlb(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

}  // namespace cubrik
