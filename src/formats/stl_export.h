#pragma once
// Binary STL, for slicers: the model as one solid (every filled cell, the
// materials not told apart), in millimetres, standing z up.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// Writes the surface as triangles with outward normals, one cell
// `source.cellMillimetres` wide. Returns 1, or 0 with `reason`; an earlier
// file at `path` is then left as it was.
int exportStl(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

}  // namespace cubrik
