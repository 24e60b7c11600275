#pragma once
// PLY, binary little-endian, for mesh tools: the quad mesh of both materials
// as OBJ has it (the same faces, units and axes), each corner carrying its
// face's palette colour as 8-bit red, green and blue.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// Returns 1, or 0 with `reason`; an earlier file at `path` is then left as it was.
int exportPly(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

}  // namespace cubrik
