#include "panel/palette_editing.h"

#include "model/material.h"
#include "panel/panel_layout.h"

namespace cubrik {
namespace {

std::uint8_t& lockOf(const SelectionTarget& selection, int slot) {
    return locksOf(selection.model, selection.edit.currentMaterial)[slot - kFirstSlot];
}

void push(const SelectionTarget& selection) {
    pushUndo(selection.history, selection.model, selection.edit, selection.flags);
}

}  // namespace

int panelClick(const PanelTarget& panel, int x, int y) {
    if (x >= kPanelWidth) return 0;
    const int item = panelItemAt(x, y, panel.compact);
    if (item == kNoItem) return 1;
    const SelectionTarget& selection = panel.selection;
    if (isToolButton(item)) {
        selectTool(selection, toolOfButton(item));
    } else if (isMaterialButton(item)) {
        pressMaterialButton(selection, materialOfButton(item));
    } else {
        if (!lockOf(selection, item) && item != selection.edit.currentSlot) {
            push(selection);
            selection.edit.currentSlot = item;
        }
        // A locked colour cannot be chosen but can still be dragged.
        panel.drag.dragSourceSlot = item;
        panel.drag.draggedSlot = kNoItem;
        panel.drag.hoverItem = kNoItem;
    }
    return 1;
}

void toggleColourLock(const PanelTarget& panel, int slot) {
    const SelectionTarget& selection = panel.selection;
    std::uint8_t& lock = lockOf(selection, slot);
    if (lock) {
        push(selection);
        lock = 0;
        return;
    }
    if (slot != selection.edit.currentSlot) {
        push(selection);
        lock = 255;
        return;
    }
    for (int other = kFirstSlot; other <= kLastSlot; ++other) {
        if (other == slot || lockOf(selection, other)) continue;
        push(selection);
        selection.edit.currentSlot = other;
        lock = 255;
        return;
    }
}

void panelDragUpdate(PanelDragState& drag) {
    if (drag.dragSourceSlot != kNoItem) drag.draggedSlot = drag.dragSourceSlot;
}

int panelDrop(const PanelTarget& panel, int x, int y) {
    const int item = panelItemAt(x, y, panel.compact);
    PanelDragState& drag = panel.drag;
    if (item == kNoItem) {
        drag.hoverItem = kNoItem;
    } else if (isSlot(item) && drag.dragSourceSlot != kNoItem && item != drag.dragSourceSlot &&
               !lockOf(panel.selection, item) && drag.draggedSlot != kNoItem) {
        const Material material = panel.selection.edit.currentMaterial;
        recolourCells(panel.selection, slotCode(item, material), slotCode(drag.draggedSlot, material));
    }
    drag.draggedSlot = kNoItem;
    drag.dragSourceSlot = kNoItem;
    return 1;
}

void recolourCells(const SelectionTarget& selection, int fromCode, int toCode) {
    push(selection);
    const auto from = static_cast<std::uint8_t>(fromCode), to = static_cast<std::uint8_t>(toCode);
    for (std::uint8_t& cell : selection.model.cells) cell = cell == from ? to : cell;  // branch-free, so it vectorises
    selection.flags.modelModified = 1;
}

void panelHoverUpdate(const PanelTarget& panel, int x, int y) {
    const int item = panelItemAt(x, y, panel.compact);
    panel.drag.hoverItem = isToolButton(item) || isMaterialButton(item) ? item : kNoItem;
}

}  // namespace cubrik
