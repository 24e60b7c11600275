#pragma once
// Wavefront OBJ: one group per material with its own vertices and its faces
// sorted by colour, plus the MTL library of all 32 palette colours beside it.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// The library beside `objPath`: the extension replaced by "mtl" and, when
// the path names a folder, the spaces of the file name (not of its folders)
// replaced by "_"; a bare name keeps its spaces.
std::filesystem::path mtlPathFor(const std::filesystem::path& objPath);

// Writes the OBJ file and its MTL library at mtlPathFor(path), both or
// neither: returns 1 when both were written, else 0 with `reason`; both
// earlier files are then left as they were.
int exportObj(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

}  // namespace cubrik
