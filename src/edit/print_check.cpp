#include "edit/print_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace cubrik {
namespace {

constexpr int kLayerStep = kGridSize;  // one cell up, along Y
constexpr int kSliceStep = kGridSize * kGridSize;
constexpr int kAxisSteps[3] = {1, kLayerStep, kSliceStep};

bool filledAt(const VoxelModel& model, int cell) { return model.cells[cell] != kEmpty; }

// Labels the 6-connected parts with a scanline fill (runs along x), and
// keeps those that never reach `bedLayer`.
void findParts(const VoxelModel& model, int bedLayer, PrintCheck& check) {
    std::vector<std::int32_t> part(kCellCount, -1);
    std::vector<int> seeds;
    std::vector<bool> grounded;
    std::vector<CellGroup> groups;
    for (int start = 0; start < kCellCount; ++start) {
        if (!filledAt(model, start) || part[start] >= 0) continue;
        const int label = check.parts++;
        CellGroup group;
        bool onBed = false;
        seeds.assign(1, start);
        while (!seeds.empty()) {
            const int seed = seeds.back();
            seeds.pop_back();
            if (part[seed] >= 0) continue;
            const int row = seed - seed % kGridSize;
            int first = seed, last = seed;
            while (first > row && filledAt(model, first - 1) && part[first - 1] < 0) --first;
            while (last < row + kGridSize - 1 && filledAt(model, last + 1) && part[last + 1] < 0) ++last;
            const int y = row / kGridSize % kGridSize, z = row / kSliceStep;
            std::fill(part.begin() + first, part.begin() + last + 1, label);
            group.addRow(first - row, last - row, y, z);
            onBed = onBed || y == bedLayer;
            const int neighbours[4][2] = {{y > 0, -kLayerStep},
                                          {y < kGridSize - 1, kLayerStep},
                                          {z > 0, -kSliceStep},
                                          {z < kGridSize - 1, kSliceStep}};
            for (const auto& [inside, step] : neighbours) {
                if (!inside) continue;
                bool inRun = false;
                for (int cell = first + step; cell <= last + step; ++cell) {
                    const bool open = filledAt(model, cell) && part[cell] < 0;
                    if (open && !inRun) seeds.push_back(cell);
                    inRun = open;
                }
            }
        }
        grounded.push_back(onBed);
        if (!onBed) check.floating.push_back(group);
    }
    if (check.floating.empty()) return;
    for (int cell = 0; cell < kCellCount; ++cell)
        if (part[cell] >= 0 && !grounded[part[cell]]) check.floatingCells.push_back(cell);
}

// Marks every cell of a run along `step` shorter than `minCells` on the
// line of cells from `line`.
void markThinRuns(const VoxelModel& model, int line, int step, int minCells, std::vector<bool>& thin) {
    int runStart = 0;
    for (int i = 0; i <= kGridSize; ++i) {
        if (i < kGridSize && filledAt(model, line + i * step)) continue;
        if (i - runStart < minCells)
            for (int j = runStart; j < i; ++j) thin[line + j * step] = true;
        runStart = i + 1;
    }
}

// Marks every cell of a run along some axis shorter than `minCells`.
void findThinWalls(const VoxelModel& model, int minCells, PrintCheck& check) {
    if (minCells <= 1) return;  // every run is at least one cell
    std::vector<bool> thin(kCellCount);
    for (int axis = 0; axis < 3; ++axis) {
        const int across = kAxisSteps[axis == 0 ? 1 : 0], beyond = kAxisSteps[axis == 2 ? 1 : 2];
        for (int a = 0; a < kGridSize; ++a)
            for (int b = 0; b < kGridSize; ++b)
                markThinRuns(model, a * across + b * beyond, kAxisSteps[axis], minCells, thin);
    }
    for (int cell = 0; cell < kCellCount; ++cell)
        if (thin[cell]) {
            const auto at = coordinatesOf(cell);
            check.thin.add(at[0], at[1], at[2]);
        }
}

// A cell above the bed is held when the layer below has a filled cell
// under it or beside that one (the eight around it).
void findOverhangs(const VoxelModel& model, int bedLayer, PrintCheck& check) {
    std::vector<std::uint8_t> below(kSliceStep), widened(kSliceStep);  // one layer, index x + 100 z
    for (int y = bedLayer + 1; y < kGridSize; ++y) {
        // The layer under y, widened by one cell along x, then along z.
        for (int z = 0; z < kGridSize; ++z)
            for (int x = 0; x < kGridSize; ++x) {
                const int cell = cellIndex(x, y - 1, z);
                widened[x + kGridSize * z] = filledAt(model, cell) || (x > 0 && filledAt(model, cell - 1)) ||
                                             (x < kGridSize - 1 && filledAt(model, cell + 1));
            }
        for (int z = 0; z < kGridSize; ++z)
            for (int x = 0; x < kGridSize; ++x) {
                const int at = x + kGridSize * z;
                below[at] = widened[at] || (z > 0 && widened[at - kGridSize]) ||
                            (z < kGridSize - 1 && widened[at + kGridSize]);
            }
        for (int z = 0; z < kGridSize; ++z)
            for (int x = 0; x < kGridSize; ++x)
                if (filledAt(model, cellIndex(x, y, z)) && !below[x + kGridSize * z]) check.overhang.add(x, y, z);
    }
}

}  // namespace

void CellGroup::addRow(int x0, int x1, int y, int z) {
    cells += x1 - x0 + 1;
    box.min = {std::min(box.min[0], x0), std::min(box.min[1], y), std::min(box.min[2], z)};
    box.max = {std::max(box.max[0], x1), std::max(box.max[1], y), std::max(box.max[2], z)};
}

std::string printSizeText(const PrintCheck& check, double cellMillimetres) {
    std::string text;
    for (const int axis : {0, 2, 1}) {
        const int cells = check.filled.cells > 0 ? check.filled.box.size(axis) : 0;
        char number[32];
        // std::to_chars ignores the locale; its shortest form of a rounded value has no trailing noise.
        const auto end = std::to_chars(number, number + sizeof number, std::round(cells * cellMillimetres * 100) / 100);
        text.append(axis == 0 ? "" : " x ").append(number, end.ptr);
    }
    return text;
}

PrintCheck checkForPrinting(const VoxelModel& model, double cellMillimetres, double minWallMillimetres) {
    PrintCheck check;
    for (int cell = 0; cell < kCellCount; ++cell)
        if (filledAt(model, cell)) {
            const auto at = coordinatesOf(cell);
            check.filled.add(at[0], at[1], at[2]);
        }
    if (check.filled.cells == 0) return check;
    const int bedLayer = check.filled.box.min[1];
    findParts(model, bedLayer, check);
    // The fewest cells in a run that make a wall: n cells are thin while n x scale < minimum.
    int minCells = 1;
    while (minCells <= kGridSize && minCells * cellMillimetres < minWallMillimetres) ++minCells;
    findThinWalls(model, minCells, check);
    findOverhangs(model, bedLayer, check);
    return check;
}

}  // namespace cubrik
