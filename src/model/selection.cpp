#include "model/selection.h"

#include <utility>

namespace cubrik {
namespace {

void push(const SelectionTarget& t) { pushUndo(t.history, t.model, t.edit, t.flags); }

}  // namespace

void selectTool(const SelectionTarget& target, Tool tool) {
    push(target);
    target.edit.currentTool = tool;
}

void pressMaterialButton(const SelectionTarget& target, Material material) {
    push(target);
    EditState& edit = target.edit;
    const Material other = otherMaterial(material);
    if (edit.currentMaterial == material) {
        edit.alsoShownMaterial = edit.alsoShownMaterial == other ? std::nullopt : std::optional(other);
    } else {
        edit.currentMaterial = material;
        std::swap(edit.currentSlot, edit.otherSlot);
        edit.alsoShownMaterial.reset();
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
