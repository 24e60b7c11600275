#pragma once
// The smoothed surface moves every lattice point of the grid by a small fixed
// offset chosen by the pattern of filled cells around it. The display, the
// pick pass and the mesh export all read the same corner codes and table, so
// what is seen, picked and exported is one surface.

#include <cstdint>

namespace cubrik {

// Lattice points (X, Y, Z), each 0..100, are stored in a 102-wide grid so the
// codes can be computed in place from a padded copy of the cells.
inline constexpr int kPaddedSide = 102;
inline constexpr int kPaddedPlane = kPaddedSide * kPaddedSide;
inline constexpr int kPaddedCount = kPaddedSide * kPaddedPlane;

constexpr int cornerIndex(int X, int Y, int Z) { return Z * kPaddedPlane + Y * kPaddedSide + X; }

// Corner code of lattice point (X, Y, Z): bit b = dx + 2 dy + 4 dz is set when
// cell (X - 1 + dx, Y - 1 + dy, Z - 1 + dz) is non-empty, whatever its
// material. Bytes with a coordinate of 101 stay 0.
struct CornerCodeGrid {
    std::uint8_t codes[kPaddedCount];
};

// Offsets of a lattice point in eighths of a cell, indexed by corner code.
struct SmoothingTable {
    std::int32_t offset[256][3];
};

void buildSmoothingTable(SmoothingTable& table);

// Recomputes every corner code from the cells (index x + 100 y + 10000 z).
void refreshCornerCodes(const std::uint8_t* cells, CornerCodeGrid& grid);

}  // namespace cubrik
