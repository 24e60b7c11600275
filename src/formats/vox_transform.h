#pragma once
// Rotations and translations of a .vox scene graph, composed down the graph
// and applied to a model's voxels. A rotation is a signed permutation matrix,
// so it turns and mirrors whole voxels without rounding.

#include <cstdint>

namespace cubrik {

struct VoxTransform {
    int matrix[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};  // row-major, one +-1 per row and column
    std::int64_t translation[3] = {0, 0, 0};
};

// The matrix of a rotation byte: bits 0-1 give the column of row 0's entry,
// bits 2-3 that of row 1, row 2 takes the column left over; bits 4, 5, 6 make
// rows 0, 1, 2 negative. False, with `matrix` left as it was, when the two
// columns are equal or one of them is 3.
bool decodeVoxRotation(std::uint8_t rotation, int (&matrix)[3][3]);

// The transform of a child under `parent`: the parent's rotation turns the
// child's rotation and its translation too.
VoxTransform composeVoxTransforms(const VoxTransform& parent, const VoxTransform& child);

bool isIdentityRotation(const VoxTransform& transform);

// Where voxel `v` of a model of size `size` lands:
// floor(R (v + 0.5 - floor(size / 2))) + t on every axis. The half keeps the
// model's centre fixed under any turn, so an even side turns about a cell
// corner and an odd side about a cell centre.
// A rotation is a signed permutation, so each placed axis is one voxel axis,
// perhaps negated, plus a constant: worked out once per model, not per voxel.
class VoxPlacer {
public:
    VoxPlacer(const VoxTransform& transform, const int (&size)[3]);

    void place(const std::uint8_t* v, std::int64_t (&out)[3]) const {
        for (int row = 0; row < 3; ++row) out[row] = offset_[row] + sign_[row] * v[column_[row]];
    }

private:
    int column_[3] = {0, 1, 2};
    int sign_[3] = {1, 1, 1};
    std::int64_t offset_[3] = {0, 0, 0};
};

}  // namespace cubrik
