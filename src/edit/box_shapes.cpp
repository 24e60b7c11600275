#include "edit/box_shapes.h"

#include <array>

namespace cubrik {
namespace {

// The shape's test as per-axis terms: with n the box's size and P the
// product of the sizes of the axes the shape rounds, a cell is inside when
// the sum of (2i − min − max)² (P / n)² over those axes is at most P².
struct ShapeTerms {
    std::array<std::array<std::int64_t, kGridSize>, 3> term{};
    std::int64_t limit = 0;
};

ShapeTerms termsOf(const BoxShape& shape) {
    std::array<bool, 3> rounds{};
    for (int axis = 0; axis < 3; ++axis)
        rounds[axis] = shape.kind == ShapeKind::Ellipsoid || (shape.kind == ShapeKind::Cylinder && axis != shape.axis);
    std::int64_t product = 1;
    for (int axis = 0; axis < 3; ++axis)
        if (rounds[axis]) product *= shape.box.size(axis);
    ShapeTerms terms;
    terms.limit = product * product;
    for (int axis = 0; axis < 3; ++axis) {
        if (!rounds[axis]) continue;
        const std::int64_t scale = product / shape.box.size(axis);
        for (int i = shape.box.min[axis]; i <= shape.box.max[axis]; ++i) {
            const std::int64_t offset = 2 * i - shape.box.min[axis] - shape.box.max[axis];
            terms.term[axis][i] = offset * offset * scale * scale;
        }
    }
    return terms;
}

// Calls visit(cell) for every cell of the shape, row by row along x.
template <class Visit>
void forEachShapeCell(const BoxShape& shape, Visit visit) {
    const ShapeTerms terms = termsOf(shape);
    const CellBox& box = shape.box;
    for (int z = box.min[2]; z <= box.max[2]; ++z)
        for (int y = box.min[1]; y <= box.max[1]; ++y) {
            const std::int64_t left = terms.limit - terms.term[1][y] - terms.term[2][z];
            if (left < 0) continue;
            const int row = cellIndex(0, y, z);
            for (int x = box.min[0]; x <= box.max[0]; ++x)
                if (terms.term[0][x] <= left) visit(row + x);
        }
}

bool changes(std::uint8_t cell, int index, ShapeEdit edit, std::uint8_t code, const CellChangeRule& rule) {
    return cell != code && (edit == ShapeEdit::Fill || cell != kEmpty) && rule.allows(index, cell);
}

}  // namespace

int countShapeChanges(const VoxelModel& model, const BoxShape& shape, ShapeEdit edit, std::uint8_t code,
                      const CellChangeRule& rule) {
    int count = 0;
    forEachShapeCell(shape, [&](int cell) { count += changes(model.cells[cell], cell, edit, code, rule); });
    return count;
}

int applyShape(VoxelModel& model, const BoxShape& shape, ShapeEdit edit, std::uint8_t code, const CellChangeRule& rule) {
    int count = 0;
    forEachShapeCell(shape, [&](int cell) {
        if (!changes(model.cells[cell], cell, edit, code, rule)) return;
        model.cells[cell] = code;
        ++count;
    });
    return count;
}

std::vector<int> cellsToHollow(const VoxelModel& model, const CellBox& box, const CellChangeRule& rule) {
    const auto filled = [&](int x, int y, int z) {
        return x >= 0 && y >= 0 && z >= 0 && x < kGridSize && y < kGridSize && z < kGridSize &&
               model.cells[cellIndex(x, y, z)] != kEmpty;
    };
    std::vector<int> cells;
    for (int z = box.min[2]; z <= box.max[2]; ++z)
        for (int y = box.min[1]; y <= box.max[1]; ++y)
            for (int x = box.min[0]; x <= box.max[0]; ++x) {
                const int cell = cellIndex(x, y, z);
                if (model.cells[cell] != kEmpty && rule.allows(cell, model.cells[cell]) && filled(x - 1, y, z) &&
                    filled(x + 1, y, z) && filled(x, y - 1, z) && filled(x, y + 1, z) && filled(x, y, z - 1) &&
                    filled(x, y, z + 1))
                    cells.push_back(cell);
            }
    return cells;
}

}  // namespace cubrik
