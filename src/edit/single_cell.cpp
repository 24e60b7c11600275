#include "edit/single_cell.h"

namespace cubrik {

bool anyCellChange(const VoxelModel& model, int cell, std::uint8_t code, const CellChangeRule& rule,
                   const MirrorImages& mirror) {
    bool any = false;
    changeMirrored(mirror, cell, [&](int at) { any = any || cellChangeTakes(model, at, code, rule); });
    return any;
}

int setCellMirrored(VoxelModel& model, int cell, std::uint8_t code, const CellChangeRule& rule,
                    const MirrorImages& mirror) {
    int count = 0;
    changeMirrored(mirror, cell, [&](int at) {
        if (!cellChangeTakes(model, at, code, rule)) return;
        model.cells[at] = code;
        ++count;
    });
    return count;
}

}  // namespace cubrik
