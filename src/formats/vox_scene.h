#pragma once
// The parts of a .vox file the reader uses: the models, where the scene graph
// puts each of them, and the palette. The models point into the file's bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/vox_transform.h"

namespace cubrik {

inline constexpr int kVoxMaxModelSide = 256;
// The most voxels a scene may place, all its models' placements together.
inline constexpr std::size_t kVoxMaxPlacedVoxels = std::size_t{1} << 26;

struct VoxShape {
    int size[3];
    std::span<const std::uint8_t> voxels;  // x, y, z, colour index per voxel, all within size
};

// One model placed in the scene by the transforms composed down the graph.
struct VoxPlacement {
    int shape;
    VoxTransform transform;
};

struct VoxScene {
    std::vector<VoxShape> shapes;
    std::vector<VoxPlacement> placements;
    std::uint32_t palette[256];  // 0xRRGGBB by colour index; index 0 unused
    int badRotations = 0;        // rotation bytes that are no rotation, read as none
    std::uint8_t firstBadRotation = 0;
};

// Reads the chunks and walks the scene graph from its root transform,
// composing the rotations and translations of frame 0 of every transform node
// (see VoxPlacer). Placements come in the order of their shape nodes in
// the file, so the first one met wins where models overlap. A file without a
// scene graph has every model unturned at the origin. Returns 1, or 0 with
// `reason` saying what is damaged or unsupported.
int readVoxScene(std::span<const std::uint8_t> bytes, VoxScene& scene, std::string& reason);

}  // namespace cubrik
