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

// One such file per colour the cells use, "out-A01.stl", "out-B03.stl", ...
// beside `path`, each closed on its own in the same coordinates: the faces
// between two colours are in both files, facing out of each. Returns 1, or 0
// with `reason` (also for a model without cells); then no file is replaced.
int exportStlColourParts(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                         std::string& reason);

}  // namespace cubrik
