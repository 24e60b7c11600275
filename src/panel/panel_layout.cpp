#include "panel/panel_layout.h"


namespace cubrik {
namespace {

constexpr int kCell = 29;  // buttons and slots are 29 pixels high

// Every rectangle is laid out from (0, 0) and then moved one pixel right and down.
PanelRect shifted(int left, int top, int right, int bottom) { return {left + 1, top + 1, right + 1, bottom + 1}; }

}  // namespace

PanelRect panelItemRect(int item, bool compact) {
    if (isToolButton(item)) {
        const int left = kCell * (item % 2), top = kCell * (item / 2);
        return shifted(left, top, left + kCell, top + kCell);
    }
    if (item == kMaterialAButton) return shifted(0, 126, 29, 155);
    if (item == kMaterialBButton) return shifted(29, 126, 58, 155);
    if (isSlot(item)) {
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
    if (isToolButton(item)) {
        const ToolInfo& tool = toolInfo(toolOfButton(item));
        return {tool.iconLeft, tool.iconTop, tool.iconLeft + kCell, tool.iconTop + kCell};
    }
    if (item == kMaterialAButton) return {0, 116, kCell, 116 + kCell};
    if (item == kMaterialBButton) return {kCell, 116, 2 * kCell, 116 + kCell};
    return {};
}

}  // namespace cubrik
