#pragma once
// Qubicle .qb files, both ways.
//
// Axes: .qb files are y-up and map to cells as .vox files do, whose z-up
// (X, Y, Z) is cell (X, Z, 99 - Y): the file's depth axis runs away from the
// viewer while cell z runs towards it. So a right-handed file's (x, y, z) is
// cell (x, y, -z), moved into the grid; a left-handed file's z is mirrored
// once more, to cell z. A peer editor (goxel) reads and writes .qb the same
// way, so models pass between the two unmirrored.
//
// The writer stores the whole 100 x 100 x 100 grid as one uncompressed matrix
// at position (0, 0, 0), RGBA, right-handed (file z = 99 - cell z), empty cells as alpha 0 and filled
// ones as their palette colour with alpha 255. The whole grid rather than the
// filled box keeps the model where it was: the reader centres what it reads,
// and the full grid is already centred.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "formats/vox_file.h"
#include "model/voxel_model.h"

namespace cubrik {

std::string formatQb(const VoxelModel& model);

// Writes the file atomically. Returns 1, or 0 with `reason`.
int writeQbFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason);

// Reads any version, RGBA or BGRA, left- or right-handed, compressed (run
// codes 2 and 6) or not, with any number of matrices placed by their
// positions; alpha 0 is an empty cell. The matrices' boxes are centred in the
// grid (a scene larger than 100 x 100 x 100 is refused with its size); where
// matrices overlap the first in the file keeps the cell. Colours are numbered
// in the order first met and brought down to the two palettes as
// reduceColours does. A file that ends where a matrix would begin holds the
// matrices before it, and says that the header counts more. Returns 1, or 0
// with `reason` and `out` untouched.
int parseQb(std::span<const std::uint8_t> bytes, VoxContents& out, std::string& reason);

// Reads and parses a whole file. Returns 1, or 0 with `reason` naming the file.
int loadQbFile(const std::filesystem::path& path, VoxContents& out, std::string& reason);

}  // namespace cubrik
