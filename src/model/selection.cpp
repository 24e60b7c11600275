#include "model/selection.h"

#include <utility>

namespace cubrik {
namespace {

void push(const SelectionTarget& t) { pushUndo(t.history, t.model, t.edit, t.flags); }

}  // namespace

void selectTool(const SelectionTarget& target, int tool) {
    push(target);
    target.edit.currentTool = tool;
}

void pressMaterialButton(const SelectionTarget& target, int material) {
    push(target);
    EditState& edit = target.edit;
    const int other = material == kMaterialA ? kMaterialB : kMaterialA;
    if (edit.currentMaterial == material) {
        edit.alsoShownMaterial = edit.alsoShownMaterial == other ? kNoItem : other;
    } else {
        edit.currentMaterial = material;
        std::swap(edit.currentSlot, edit.otherSlot);
        edit.alsoShownMaterial = kNoItem;
    }
}

int stepColourSlot(const SelectionTarget& target, int direction) {
    EditState& edit = target.edit;
    const int slot = edit.currentSlot + direction;
    if (slot < kFirstSlot || slot > kLastSlot) return 0;
    if (!locksOf(target.model, edit.currentMaterial)[slot - kFirstSlot]) {
        push(target);
        edit.currentSlot = slot;
    }
    return 1;
}

}  // namespace cubrik
