#pragma once
// A mesh as the voxelizer takes it: loose triangles in the model's axes (y up,
// the front facing +z), each corner with the colour the file gives it, and
// optionally a texture to multiply it by. No indices: nothing here needs them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/image/picture_file.h"

namespace cubrik {

// The most triangles an import reads: 10 million keeps the soup, the reader's
// copy and the voxelizer's buffers within 2 GB.
inline constexpr std::size_t kMostImportedTriangles = 10'000'000;

struct TriangleSoup {
    std::vector<float> positions;         // 9 per triangle: three corners x, y, z
    std::vector<std::uint32_t> colours;   // 3 per triangle, 0xRRGGBB per corner; empty when the file has none
    std::vector<std::int32_t> textureOf;  // per triangle, an index into `textures` or -1; empty when untextured
    std::vector<float> uvs;               // 6 per triangle when textured: u, v per corner
    std::vector<Picture> textures;

    std::size_t triangleCount() const { return positions.size() / 9; }
};

}  // namespace cubrik
