#include "edit/view_transform.h"

namespace cubrik {

Matrix4 viewTransform(const VoxelModel& model) {
    Matrix4 product{};
    multiply(model.projection, model.rotation, product.data());
    return product;
}

}  // namespace cubrik
