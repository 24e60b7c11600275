#include "formats/import/mesh_import.h"

#include "formats/import/mesh_reader.h"

namespace cubrik {

int importMeshFile(const std::filesystem::path& path, const VoxelizeOptions& options,
                   const Rgb (&paletteA)[kPaletteSize], const Rgb (&paletteB)[kPaletteSize],
                   std::vector<std::uint8_t>& cells, std::string& reason, const ImportControl& control) {
    TriangleSoup soup;
    std::string why;
    if (!readMeshFile(path, soup, why) || !voxelizeMesh(soup, options, paletteA, paletteB, cells, why, control)) {
        reason = path.string() + ": " + why;
        return 0;
    }
    return 1;
}

}  // namespace cubrik
