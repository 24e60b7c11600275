#pragma once
// A mesh file brought into the grid: read, then voxelized.

#include <filesystem>
#include <string>
#include <vector>

#include "formats/import/voxelize.h"

namespace cubrik {

// Reads the mesh in `path` and fills `cells` (kCellCount codes) with it, in
// the colours of the two palettes. Returns 1, or 0 with `reason` naming the
// file and `cells` untouched.
int importMeshFile(const std::filesystem::path& path, const VoxelizeOptions& options,
                   const Rgb (&paletteA)[kPaletteSize], const Rgb (&paletteB)[kPaletteSize],
                   std::vector<std::uint8_t>& cells, std::string& reason, const ImportControl& control = {});

}  // namespace cubrik
