#include "edit/punch_lattice.h"

namespace cubrik {

CellLattice cellLattice(const VoxelModel& model) {
    const Matrix4 m = viewTransform(model);
    const double corner = -(kGridSize - 1) / 2.0;  // cell 0's centre on every axis
    return {transform(m, {corner, corner, corner, 1.0}), transform(m, {1.0, 0.0, 0.0, 0.0}),
            transform(m, {0.0, 1.0, 0.0, 0.0}), transform(m, {0.0, 0.0, 1.0, 0.0})};
}

}  // namespace cubrik
