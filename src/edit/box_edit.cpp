#include "edit/box_edit.h"

#include <charconv>
#include <cstring>
#include <sstream>

namespace cubrik {
namespace {

// Calls visit(x, y, z, k) for every cell of the box, k counting from 0 in the
// order BoxCells keeps them.
template <class Visit>
void forEachCell(const CellBox& box, Visit visit) {
    int k = 0;
    for (int z = box.min[2]; z <= box.max[2]; ++z)
        for (int y = box.min[1]; y <= box.max[1]; ++y)
            for (int x = box.min[0]; x <= box.max[0]; ++x) visit(x, y, z, k++);
}

// Calls visit(first cell of the row, k) for every row of the box along x, k
// counting the cells before it in BoxCells order.
template <class Visit>
void forEachRow(const CellBox& box, Visit visit) {
    std::size_t k = 0;
    for (int z = box.min[2]; z <= box.max[2]; ++z)
        for (int y = box.min[1]; y <= box.max[1]; ++y, k += static_cast<std::size_t>(box.size(0)))
            visit(cellIndex(box.min[0], y, z), k);
}

int floorHalf(int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

CellBox boxAt(std::array<int, 3> min, std::array<int, 3> size) {
    CellBox box;
    for (int axis = 0; axis < 3; ++axis) {
        box.min[axis] = min[axis];
        box.max[axis] = min[axis] + size[axis] - 1;
    }
    return box;
}

// Writes every copied cell, empty ones included, into `box` (of the same size).
void writeAll(VoxelModel& model, const std::vector<std::uint8_t>& cells, const CellBox& box) {
    forEachRow(box, [&](int row, std::size_t k) {
        std::memcpy(model.cells + row, cells.data() + k, static_cast<std::size_t>(box.size(0)));
    });
}

constexpr const char* kClipboardHeader = "cubrik cells 1";

// Lifts the cells in view of `box` and puts each down on the cell of
// `target` it lands on; sourceOf(offset in target) gives the offset in `box`
// of the cell that lands there. Hidden cells are not lifted, and nothing is
// put down on a hidden cell. Returns false, with nothing changed, when a
// filled cell would have to land on one.
template <class SourceOf>
bool moveInView(VoxelModel& model, const CellBox& box, const CellBox& target, const VisibleSlab& visible,
                const BeforeChange& beforeChange, SourceOf sourceOf) {
    const BoxCells lifted = copyCells(model, box);
    const auto forEachLanding = [&](auto land) {
        forEachCell(target, [&](int x, int y, int z, int) {
            const std::array<int, 3> from = sourceOf({x - target.min[0], y - target.min[1], z - target.min[2]});
            if (!visible.holdsCoordinate(box.min[visible.axis] + from[visible.axis])) return;  // not lifted
            const std::size_t k = (static_cast<std::size_t>(from[2]) * box.size(1) + from[1]) * box.size(0) + from[0];
            land(cellIndex(x, y, z), visible.holds(x, y, z), lifted.cells[k]);
        });
    };
    bool blocked = false;
    forEachLanding([&](int, bool inView, std::uint8_t code) { blocked = blocked || (!inView && code != kEmpty); });
    if (blocked) return false;
    if (beforeChange) beforeChange();
    deleteCells(model, box, anyCodeWithin(visible));
    forEachLanding([&](int cell, bool inView, std::uint8_t code) {
        if (inView) model.cells[cell] = code;
    });
    return true;
}

}  // namespace

BoxCells copyCells(const VoxelModel& model, const CellBox& box, const CellChangeRule& rule) {
    BoxCells copied{box, std::vector<std::uint8_t>(static_cast<std::size_t>(box.size(0)) * box.size(1) * box.size(2))};
    forEachRow(box, [&](int row, std::size_t k) {
        std::memcpy(copied.cells.data() + k, model.cells + row, static_cast<std::size_t>(box.size(0)));
    });
    if (!rule.shown.whole() || !rule.allowsEveryCode())
        forEachCell(box, [&](int x, int y, int z, int k) {
            std::uint8_t& code = copied.cells[static_cast<std::size_t>(k)];
            if (!rule.allows(cellIndex(x, y, z), code)) code = kEmpty;
        });
    return copied;
}

void deleteCells(VoxelModel& model, const CellBox& box, const CellChangeRule& rule) {
    const std::optional<CellBox> inView = partInView(box, rule.shown);
    if (!inView) return;
    const auto width = static_cast<std::size_t>(inView->size(0));
    const bool everyCode = rule.allowsEveryCode();
    forEachRow(*inView, [&](int row, std::size_t) {
        std::uint8_t* cells = model.cells + row;
        if (everyCode) {
            std::memset(cells, kEmpty, width);
            return;
        }
        for (std::size_t i = 0; i < width; ++i)
            if (rule.allowsCode(cells[i])) cells[i] = kEmpty;
    });
}

int filledCount(const VoxelModel& model, const CellBox& box) {
    int filled = 0;
    forEachCell(box, [&](int x, int y, int z, int) { filled += model.cells[cellIndex(x, y, z)] != kEmpty; });
    return filled;
}

std::optional<CellBox> pasteCells(VoxelModel& model, const BoxCells& copied, std::array<int, 3> at,
                                  const VisibleSlab& visible) {
    const CellBox target = boxAt(at, {copied.from.size(0), copied.from.size(1), copied.from.size(2)});
    if (!target.insideGrid()) return std::nullopt;
    forEachCell(target, [&](int x, int y, int z, int k) {
        if (copied.cells[k] != kEmpty && visible.holds(x, y, z)) model.cells[cellIndex(x, y, z)] = copied.cells[k];
    });
    return target;
}

bool flipCells(VoxelModel& model, const CellBox& box, int axis, const VisibleSlab& visible,
               const BeforeChange& beforeChange) {
    if (!visible.whole())
        return moveInView(model, box, box, visible, beforeChange, [&](std::array<int, 3> at) {
            at[axis] = box.size(axis) - 1 - at[axis];
            return at;
        });
    if (beforeChange) beforeChange();
    const BoxCells copied = copyCells(model, box);
    forEachCell(box, [&](int x, int y, int z, int k) {
        std::array<int, 3> at{x, y, z};
        at[axis] = box.min[axis] + box.max[axis] - at[axis];
        model.cells[cellIndex(at[0], at[1], at[2])] = copied.cells[k];
    });
    return true;
}

std::optional<CellBox> turnedBox(const CellBox& box, int axis) {
    const int from = (axis + 1) % 3, to = (axis + 2) % 3;
    std::array<int, 3> size{box.size(0), box.size(1), box.size(2)};
    std::swap(size[from], size[to]);
    std::array<int, 3> min = box.min;
    for (int a : {from, to}) min[a] = floorHalf(box.min[a] + box.max[a] - (size[a] - 1));
    const CellBox turned = boxAt(min, size);
    if (!turned.insideGrid()) return std::nullopt;
    return turned;
}

std::optional<CellBox> movedBox(const CellBox& box, std::array<int, 3> offset) {
    const CellBox moved = boxAt({box.min[0] + offset[0], box.min[1] + offset[1], box.min[2] + offset[2]},
                                {box.size(0), box.size(1), box.size(2)});
    if (!moved.insideGrid()) return std::nullopt;
    return moved;
}

std::optional<CellBox> turnCells(VoxelModel& model, const CellBox& box, int axis, const VisibleSlab& visible,
                                 const BeforeChange& beforeChange) {
    const std::optional<CellBox> turned = turnedBox(box, axis);
    if (!turned) return std::nullopt;
    // The two axes the turn moves: `from` turns into `to`, and `to` into minus `from`.
    const int from = (axis + 1) % 3, to = (axis + 2) % 3;
    const std::array<int, 3> size{box.size(0), box.size(1), box.size(2)};
    // The offset in the box of the cell that turns onto offset `at` in the turned box.
    const auto sourceAt = [&](std::array<int, 3> at) {
        std::array<int, 3> source = at;
        source[from] = at[to];
        source[to] = size[to] - 1 - at[from];
        return source;
    };
    if (!visible.whole()) {
        if (!moveInView(model, box, *turned, visible, beforeChange, sourceAt)) return std::nullopt;
        return turned;
    }
    if (beforeChange) beforeChange();
    const BoxCells copied = copyCells(model, box);
    if (*turned != box) deleteCells(model, box);
    const std::array<int, 3> stride{1, size[0], size[0] * size[1]};
    const auto sourceOf = [&](std::array<int, 3> at) {
        const std::array<int, 3> source = sourceAt(at);
        return source[0] * stride[0] + source[1] * stride[1] + source[2] * stride[2];
    };
    // Along a row of the turned box the source moves by a fixed step.
    const int step = sourceOf({1, 0, 0}) - sourceOf({0, 0, 0});
    const int width = turned->size(0);
    for (int z = 0; z < turned->size(2); ++z)
        for (int y = 0; y < turned->size(1); ++y) {
            std::uint8_t* row = model.cells + cellIndex(turned->min[0], turned->min[1] + y, turned->min[2] + z);
            int source = sourceOf({0, y, z});
            for (int x = 0; x < width; ++x, source += step) row[x] = copied.cells[static_cast<std::size_t>(source)];
        }
    return turned;
}

std::optional<CellBox> moveCells(VoxelModel& model, const CellBox& box, std::array<int, 3> offset,
                                 const VisibleSlab& visible, const BeforeChange& beforeChange) {
    const std::optional<CellBox> moved = movedBox(box, offset);
    if (!moved) return std::nullopt;
    if (!visible.whole()) {
        const auto same = [](std::array<int, 3> at) { return at; };
        if (!moveInView(model, box, *moved, visible, beforeChange, same)) return std::nullopt;
        return moved;
    }
    if (beforeChange) beforeChange();
    const BoxCells copied = copyCells(model, box);
    deleteCells(model, box);
    writeAll(model, copied.cells, *moved);
    return moved;
}

std::optional<CellBox> filledBounds(const VoxelModel& model, const CellBox& box) {
    std::optional<CellBox> bounds;
    forEachCell(box, [&](int x, int y, int z, int) {
        if (model.cells[cellIndex(x, y, z)] == kEmpty) return;
        if (!bounds) {
            bounds = boxSpanning({x, y, z}, {x, y, z});
            return;
        }
        bounds = boxSpanning({std::min(bounds->min[0], x), std::min(bounds->min[1], y), std::min(bounds->min[2], z)},
                             {std::max(bounds->max[0], x), std::max(bounds->max[1], y), std::max(bounds->max[2], z)});
    });
    return bounds;
}

std::array<int, 3> centringOffset(const CellBox& bounds) {
    std::array<int, 3> offset{};
    for (int axis = 0; axis < 3; ++axis) offset[axis] = (kGridSize - bounds.size(axis)) / 2 - bounds.min[axis];
    return offset;
}

std::string formatBoxCells(const BoxCells& copied) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = kClipboardHeader;
    text.append("\nfrom");
    for (int axis = 0; axis < 3; ++axis) text.append(" ").append(std::to_string(copied.from.min[axis]));
    text.append("\nsize");
    for (int axis = 0; axis < 3; ++axis) text.append(" ").append(std::to_string(copied.from.size(axis)));
    text.append("\n");
    const int rowLength = copied.from.size(0);
    for (std::size_t k = 0; k < copied.cells.size(); ++k) {
        text += kHex[copied.cells[k] >> 4];
        text += kHex[copied.cells[k] & 15];
        if ((k + 1) % static_cast<std::size_t>(rowLength) == 0) text += "\n";
    }
    return text;
}

std::optional<BoxCells> parseBoxCells(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kClipboardHeader) return std::nullopt;
    std::array<int, 3> from{}, size{};
    for (const auto& [label, values] : {std::pair{"from", &from}, std::pair{"size", &size}}) {
        if (!std::getline(in, line)) return std::nullopt;
        std::istringstream fields(line);
        std::string word;
        if (!(fields >> word) || word != std::string(label)) return std::nullopt;
        for (int& value : *values)
            if (!(fields >> value)) return std::nullopt;
        if (fields >> word) return std::nullopt;
    }
    // Checked before the box is worked out: any other numbers may overflow.
    for (int axis = 0; axis < 3; ++axis)
        if (from[axis] < 0 || from[axis] >= kGridSize || size[axis] < 1 || size[axis] > kGridSize - from[axis])
            return std::nullopt;
    BoxCells copied{boxAt(from, size), {}};
    copied.cells.reserve(static_cast<std::size_t>(size[0]) * size[1] * size[2]);
    for (int row = 0; row < size[1] * size[2]; ++row) {
        if (!std::getline(in, line) || line.size() != 2 * static_cast<std::size_t>(size[0])) return std::nullopt;
        for (std::size_t i = 0; i < line.size(); i += 2) {
            unsigned code = 0;
            const auto [end, error] = std::from_chars(line.data() + i, line.data() + i + 2, code, 16);
            if (error != std::errc() || end != line.data() + i + 2 || code > kLastCode) return std::nullopt;
            copied.cells.push_back(static_cast<std::uint8_t>(code));
        }
    }
    if (std::getline(in, line) && !line.empty()) return std::nullopt;
    return copied;
}

}  // namespace cubrik
