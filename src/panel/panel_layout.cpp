#include "panel/panel_layout.h"

#include "model/voxel_model.h"

namespace cubrik {
namespace {

constexpr int kCell = 29;  // buttons and slots are 29 pixels high

// Every rectangle is laid out from (0, 0) and then moved one pixel right and down.
PanelRect shifted(int left, int top, int right, int bottom) { return {left + 1, top + 1, right + 1, bottom + 1}; }

}  // namespace

PanelRect panelItemRect(int item, bool compact) {
    if (item >= 0 && item < kToolCount) {
        const int left = kCell * (item % 2), top = kCell * (item / 2);
        return shifted(left, top, left + kCell, top + kCell);
    }
    if (item == kMaterialA) return shifted(0, 126, 29, 155);
    if (item == kMaterialB) return shifted(29, 126, 58, 155);
    if (item >= kFirstSlot && item <= kLastSlot) {
        const int entry = item - kFirstSlot;
        if (!compact) return shifted(0, 165 + kCell * entry, 58, 194 + kCell * entry);
        if (entry < 8) return shifted(29, 165 + kCell * entry, 58, 194 + kCell * entry);
        return shifted(0, 165 + kCell * (entry - 8), 29, 194 + kCell * (entry - 8));
    }
    return {};
}

int panelItemAt(int x, int y, bool compact) {
    if (x == 0) x = 1;
    if (y == 0) y = 1;
    for (int item = 0; item < kItemCount; ++item)
        if (panelItemRect(item, compact).contains(x, y)) return item;
    return kNoItem;
}

PanelRect atlasIconRect(int item) {
    if (item < 0 || item > kMaterialB) return {};
    const int left = kCell * (item % 2), top = kCell * (item / 2);
    return {left, top, left + kCell, top + kCell};
}

}  // namespace cubrik
