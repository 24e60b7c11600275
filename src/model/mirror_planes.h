#pragma once
// The mirror planes of editing, one per model axis (x, y, z as the cells are
// indexed). They are a setting of the editor, not part of the document: undo
// leaves them alone and the model file does not hold them.

#include <array>

namespace cubrik {

// A plane's position is twice its coordinate in cell units, so that it can
// pass between two cells (odd) or through a cell's centre (even): cell index i
// mirrors to position - i. 99 is the middle of the grid.
inline constexpr int kMirrorMiddle = 99;
inline constexpr int kMirrorPositionMax = 198;

struct MirrorPlanes {
    std::array<bool, 3> enabled{};
    std::array<int, 3> position{kMirrorMiddle, kMirrorMiddle, kMirrorMiddle};

    bool any() const { return enabled[0] || enabled[1] || enabled[2]; }
};

}  // namespace cubrik
