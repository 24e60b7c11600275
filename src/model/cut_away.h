#pragma once
// The cut-away view: the cells on one side of a plane across the grid stay in
// view and the rest are hidden, so the inside can be seen and edited. Hidden
// cells are neither drawn nor picked, and no edit changes them. It belongs to
// the view, not to the document: undo and the model file leave it alone.

#include <algorithm>
#include <optional>

#include "model/cell_box.h"
#include "model/voxel_model.h"

namespace cubrik {

struct CutAway {
    bool on = false;
    int axis = 2;            // 0 x, 1 y, 2 z, as the cells are indexed
    bool keepLow = true;     // coordinates up to `plane` stay; else from `plane` up
    int plane = 49;          // 0..99
    bool layerOnly = false;  // only coordinate `plane` stays
    bool operator==(const CutAway&) const = default;
};

// The cells a cut leaves in view: those whose coordinate along `axis` lies in
// low..high. The whole grid when the cut is off.
struct VisibleSlab {
    int axis = 2;
    int low = 0;
    int high = kGridSize - 1;

    bool whole() const { return low == 0 && high == kGridSize - 1; }
    bool holdsCoordinate(int c) const { return c >= low && c <= high; }
    bool holds(int x, int y, int z) const { return holdsCoordinate(axis == 0 ? x : axis == 1 ? y : z); }
    // Whether some cell of row (y, z) along x is in view.
    bool holdsRow(int y, int z) const { return axis == 0 || holdsCoordinate(axis == 1 ? y : z); }
    bool holdsIndex(int index) const {
        const int c = axis == 0 ? index % kGridSize : axis == 1 ? index / kGridSize % kGridSize
                                                                : index / (kGridSize * kGridSize);
        return holdsCoordinate(c);
    }
    bool operator==(const VisibleSlab&) const = default;
};

inline VisibleSlab visibleSlab(const CutAway& cut) {
    if (!cut.on) return {};
    if (cut.layerOnly) return {cut.axis, cut.plane, cut.plane};
    return cut.keepLow ? VisibleSlab{cut.axis, 0, cut.plane} : VisibleSlab{cut.axis, cut.plane, kGridSize - 1};
}

// The part of `box` in view, or nothing when all of it is hidden.
inline std::optional<CellBox> partInView(const CellBox& box, const VisibleSlab& slab) {
    CellBox part = box;
    part.min[slab.axis] = std::max(box.min[slab.axis], slab.low);
    part.max[slab.axis] = std::min(box.max[slab.axis], slab.high);
    if (part.min[slab.axis] > part.max[slab.axis]) return std::nullopt;
    return part;
}

}  // namespace cubrik
