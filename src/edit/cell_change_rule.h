#pragma once
// Which cells the shapes, the bucket fill, cell mode, Delete and Cut may
// change. Every one of those edits asks here, cell by cell, so that a new
// reason to leave cells alone (cells a view hides, say) is added in this one place.

#include <array>
#include <cstdint>

#include "model/cut_away.h"
#include "model/edit_state.h"
#include "model/voxel_model.h"

namespace cubrik {

struct CellChangeRule {
    // Per code: false for locked colours and for the material the display hides.
    std::array<bool, kLastCode + 1> codeMayChange{};
    VisibleSlab shown;  // the cells the cut-away leaves in view

    bool allowsCode(std::uint8_t code) const { return code <= kLastCode && codeMayChange[code]; }
    bool allows(int cell, std::uint8_t code) const { return allowsCode(code) && shown.holdsIndex(cell); }
    bool allowsEveryCode() const;
};

// Empty cells and the displayed, unlocked colours of either material may
// change, where the cut-away leaves them in view.
CellChangeRule cellChangeRuleOf(const VoxelModel& model, const EditState& edit, const VisibleSlab& shown);

// Every code may change where `shown` leaves cells in view: the rule of the
// flips, turns and moves, which carry whatever they lift.
CellChangeRule anyCodeWithin(const VisibleSlab& shown = {});

}  // namespace cubrik
