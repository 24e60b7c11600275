#pragma once
// Small models built by hand or from a seed, shared by the tests and the
// benchmarks.

#include <cstdint>

#include "model/voxel_model.h"

namespace cubrik::testing {

// A fresh store holding an empty model with the default palettes.
ModelStore makeStore();

void setCell(VoxelModel& model, int x, int y, int z, std::uint8_t code);

// Every cell a random code 0..32 and every palette channel a random byte / 255.
void fillRandom(VoxelModel& model, std::uint32_t seed);

// A ball of the given radius about the grid centre; cells with x < 50 get
// material A colours, the others material B colours.
void fillSphere(VoxelModel& model, double radius);

// Every cell filled with one code.
void fillAll(VoxelModel& model, std::uint8_t code);

// Every cell from (x0, y0, z0) to (x1, y1, z1), inclusive, set to `code`.
void fillBox(VoxelModel& model, int x0, int y0, int z0, int x1, int y1, int z1, std::uint8_t code);

// Cells with x + y + z even filled within a cube of `side` cells at the origin.
void fillCheckerboard(VoxelModel& model, int side, std::uint8_t code);

// What a size-3 stroke does to the record: a short run of balls of three
// cells' radius in one code, the view turned a little and the brush's radius
// in pixels changed, as a stroke's frames change them.
void strokeLikeChange(VoxelModel& model, std::uint32_t seed);

}  // namespace cubrik::testing
