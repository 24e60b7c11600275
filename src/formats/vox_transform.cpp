#include "formats/vox_transform.h"

namespace cubrik {

bool decodeVoxRotation(std::uint8_t rotation, int (&matrix)[3][3]) {
    const int column0 = rotation & 3, column1 = rotation >> 2 & 3;
    if (column0 == 3 || column1 == 3 || column0 == column1) return false;
    const int columns[3] = {column0, column1, 3 - column0 - column1};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            matrix[row][column] = column != columns[row] ? 0 : (rotation >> (4 + row) & 1) ? -1 : 1;
    return true;
}

VoxTransform composeVoxTransforms(const VoxTransform& parent, const VoxTransform& child) {
    VoxTransform out;
    for (int row = 0; row < 3; ++row) {
        out.translation[row] = parent.translation[row];
        for (int k = 0; k < 3; ++k) out.translation[row] += parent.matrix[row][k] * child.translation[k];
        for (int column = 0; column < 3; ++column) {
            out.matrix[row][column] = 0;
            for (int k = 0; k < 3; ++k) out.matrix[row][column] += parent.matrix[row][k] * child.matrix[k][column];
        }
    }
    return out;
}

bool isIdentityRotation(const VoxTransform& transform) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (transform.matrix[row][column] != (row == column ? 1 : 0)) return false;
    return true;
}

VoxPlacer::VoxPlacer(const VoxTransform& transform, const int (&size)[3]) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            // One entry of the row is +-1. With c = v - floor(s / 2), floor(c + 0.5)
            // is c and floor(-(c + 0.5)) is -c - 1.
            const int entry = transform.matrix[row][column];
            if (entry == 0) continue;
            column_[row] = column;
            sign_[row] = entry;
            offset_[row] = transform.translation[row] + (entry > 0 ? -(size[column] / 2) : size[column] / 2 - 1);
        }
}

}  // namespace cubrik
