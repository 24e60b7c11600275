#pragma once
// Wavefront OBJ: one group per material with its own vertices and its faces
// sorted by colour, plus the MTL library of all 32 palette colours beside it.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// The library beside `objPath`: the extension replaced by "mtl" and the
// spaces of the file name (not of its folders) replaced by "_".
std::filesystem::path mtlPathFor(const std::filesystem::path& objPath);

// Writes the OBJ file, then its MTL library at mtlPathFor(path). Returns 1
// when the OBJ file was written, else 0 with `reason`; both earlier files are
// then left as they were. A library that cannot be written does not fail the
// export: the mesh is still usable without it.
int exportObj(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

// The 256-line MTL library of both palettes. Returns 1, or 0 with `reason`.
int writeMtl(const std::filesystem::path& path, const VoxelModel& model, std::string& reason);

}  // namespace cubrik
