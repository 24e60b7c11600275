#pragma once
// What stands between a model and a good print: parts apart from one another,
// parts that would float above the print bed, walls thinner than a nozzle
// lays down, and cells hanging over nothing. The print stands on the model's
// up axis, Y, as the STL export stands it; its lowest filled layer is the bed.

#include <optional>
#include <string>
#include <vector>

#include "model/cell_box.h"
#include "model/voxel_model.h"

namespace cubrik {

inline constexpr double kDefaultMinWallMillimetres = 0.8;

// Some cells and the box that holds them; the box means nothing while `cells` is 0.
struct CellGroup {
    int cells = 0;
    CellBox box{{kGridSize, kGridSize, kGridSize}, {-1, -1, -1}};

    // The cells from (x0, y, z) to (x1, y, z).
    void addRow(int x0, int x1, int y, int z);
    void add(int x, int y, int z) { addRow(x, x, y, z); }
};

struct PrintCheck {
    int parts = 0;                       // 6-connected groups of filled cells
    std::vector<CellGroup> floating;     // the parts off the lowest layer, by their first cell
    std::vector<int> floatingCells;      // their cells, in index order
    CellGroup thin;                      // cells in a run along some axis thinner than the minimum wall
    CellGroup overhang;                  // cells with nothing below them or diagonally below
    CellGroup filled;                    // every filled cell

    bool foundProblems() const { return !floating.empty() || thin.cells > 0 || overhang.cells > 0; }
};

// The filled box's size in millimetres along the STL's x, y and z (the
// model's X, Z and Y), with at most two decimals and a full stop whatever the
// locale: "56 x 41 x 20.5"; "0 x 0 x 0" for an empty model.
std::string printSizeText(const PrintCheck& check, double cellMillimetres);

// Checks every filled cell, one cell `cellMillimetres` wide; a run of cells
// thinner than `minWallMillimetres` is a thin wall.
PrintCheck checkForPrinting(const VoxelModel& model, double cellMillimetres,
                            double minWallMillimetres = kDefaultMinWallMillimetres);

}  // namespace cubrik
