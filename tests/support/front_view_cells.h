#pragma once
// Cells as (x, y, z) and where their centres fall in a preset view of the
// 800 x 600 window that session tests replay in, and the panel's colours there.

#include <compare>
#include <string>
#include <utility>

#include "panel/panel_layout.h"
#include "render/camera.h"
#include "support/model_builders.h"

namespace cubrik::testing {

struct Cell {
    int x, y, z;
    auto operator<=>(const Cell&) const = default;
};

inline Cell cellAt(int index) { return {index % 100, index / 100 % 100, index / 10000}; }

// The window pixel where model point (x, y, z) (the grid centre at the
// origin) projects in preset view `view` (front by default) seen by `camera`,
// as the frame sets the view up; x from the left, y from the bottom.
inline std::pair<double, double> projectedPoint(double x, double y, double z, int view = kFrontView,
                                                const ViewCamera& camera = {}) {
    static ModelStore posed = makeStore();
    presetView(*posed.model, view);
    const double* rotation = posed.model->rotation;
    double projection[16];
    viewProjection(800, 600, false, camera, posed.model->rotation, projection);
    const double p[4] = {x, y, z, 1};
    double eye[4] = {}, clip[4] = {};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) eye[row] += rotation[row + 4 * k] * p[k];
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) clip[row] += projection[row + 4 * k] * eye[k];
    return {64 + 736 * (clip[0] / clip[3] + 1) / 2, 600 * (clip[1] / clip[3] + 1) / 2};
}

// ... of the centre of cell c.
inline std::pair<double, double> projectedCentre(Cell c, int view = kFrontView) {
    return projectedPoint(c.x - 49.5, c.y - 49.5, c.z - 49.5, view);
}

// "X Y" of the window pixel on the centre of cell c in preset view `view`, as
// session lines give points (y from the top).
inline std::string pixelOf(Cell c, int view = kFrontView) {
    const auto [x, y] = projectedCentre(c, view);
    return std::to_string(static_cast<int>(x)) + " " + std::to_string(599 - static_cast<int>(y));
}

// Session lines of a left-button drag from cell `from` to cell `to`.
inline std::string drag(Cell from, Cell to, int view = kFrontView) {
    return "ldown " + pixelOf(from, view) + "\nmove " + pixelOf(to, view) + "\nlup " + pixelOf(to, view) + "\n";
}

// Session lines that right-click colour slot `slot` on the two-column panel: lock it.
inline std::string lockSlot(int slot) {
    const PanelRect r = panelItemRect(slot, true);
    const std::string at = std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2);
    return "rdown " + at + "\nrup " + at + "\n";
}

}  // namespace cubrik::testing
