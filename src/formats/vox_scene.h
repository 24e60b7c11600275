#pragma once
// The parts of a .vox file the reader uses: the models, where the scene graph
// puts each of them, and the palette. The models point into the file's bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cubrik {

inline constexpr int kVoxMaxModelSide = 256;

struct VoxShape {
    int size[3];
    std::span<const std::uint8_t> voxels;  // x, y, z, colour index per voxel, all within size
};

// One model placed in the scene: file position of the model's voxel (0, 0, 0).
struct VoxPlacement {
    int shape;
    std::int64_t origin[3];
};

struct VoxScene {
    std::vector<VoxShape> shapes;
    std::vector<VoxPlacement> placements;
    std::uint32_t palette[256];  // 0xRRGGBB by colour index; index 0 unused
};

// Reads the chunks and walks the scene graph from its root transform, adding
// up translations; a model of size s under translation t starts at t - s / 2.
// A file without a scene graph has every model at the origin. Returns 1, or 0
// with `reason` saying what is damaged or unsupported.
int readVoxScene(std::span<const std::uint8_t> bytes, VoxScene& scene, std::string& reason);

}  // namespace cubrik
