#include "edit/flood_fill.h"

#include <vector>

namespace cubrik {

int floodFill(VoxelModel& model, int start, std::uint8_t code, const CellChangeRule& rule) {
    std::uint8_t* cells = model.cells;
    const std::uint8_t from = cells[start];
    if (from == kEmpty || from == code || !rule.allows(start, from)) return 0;
    // A filled cell takes the new code at once, so it never matches again:
    // no separate record of visited cells is needed.
    const auto matches = [&](int cell) { return cells[cell] == from && rule.allows(cell, from); };
    // Scanline fill: each seed grows into its run along x; the runs of the
    // four neighbouring rows beside it become seeds.
    std::vector<int> seeds{start};
    int count = 0;
    while (!seeds.empty()) {
        const int seed = seeds.back();
        seeds.pop_back();
        if (!matches(seed)) continue;
        const int row = seed - seed % kGridSize;
        int first = seed, last = seed;
        while (first > row && matches(first - 1)) --first;
        while (last < row + kGridSize - 1 && matches(last + 1)) ++last;
        for (int cell = first; cell <= last; ++cell) cells[cell] = code;
        count += last - first + 1;
        const int y = row / kGridSize % kGridSize, z = row / (kGridSize * kGridSize);
        const int neighbours[4][2] = {{y > 0, -kGridSize},
                                      {y < kGridSize - 1, kGridSize},
                                      {z > 0, -kGridSize * kGridSize},
                                      {z < kGridSize - 1, kGridSize * kGridSize}};
        for (const auto& [inside, step] : neighbours) {
            if (!inside) continue;
            bool inRun = false;
            for (int cell = first + step; cell <= last + step; ++cell) {
                const bool match = matches(cell);
                if (match && !inRun) seeds.push_back(cell);
                inRun = match;
            }
        }
    }
    return count;
}

int floodFillMirrored(VoxelModel& model, int start, std::uint8_t code, const CellChangeRule& rule,
                      const MirrorImages& mirror) {
    int count = 0;
    changeMirrored(mirror, start, [&](int cell) { count += floodFill(model, cell, code, rule); });
    return count;
}

}  // namespace cubrik
