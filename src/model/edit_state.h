#pragma once
// The editing selection, saved with every undo snapshot, and the document
// flags the shell keeps beside the model.

#include <cstdint>
#include <optional>

#include "model/material.h"
#include "model/voxel_model.h"

namespace cubrik {

// The eight tools, in the order of their keys and panel buttons; what each
// one does is in the tool table (edit/tool_table.h).
enum class Tool : std::int32_t { Spray, Paint, Peel, Coat, Carve, Build, Smoothing, Punch };

struct EditState {
    Tool currentTool = Tool::Build;
    Material currentMaterial = Material::A;
    std::optional<Material> alsoShownMaterial;  // the other material when shown too
    std::int32_t currentSlot = kFirstSlot;
    std::int32_t otherSlot = kFirstSlot;  // slot remembered for the other material
};

// The panel's drag and hover state, cleared with the selection after Open.
struct PanelDragState {
    std::int32_t dragSourceSlot = kNoItem;
    std::int32_t draggedSlot = kNoItem;
    std::int32_t hoverItem = kNoItem;
};

struct DocumentFlags {
    std::int32_t modelModified = 0;
    std::int32_t undoMenuStale = 0;
};

// Back to Build, material A, the first colours, nothing dragged or hovered,
// and every colour unlocked.
void resetEditState(EditState& edit, PanelDragState& panel, VoxelModel& model);

// Whether cells of `code` are drawn under the display rule: a material is
// shown when it is current or the one shown too.
bool isDisplayed(const EditState& edit, std::uint8_t code);

// The material code the current colour paints.
inline int targetCode(const EditState& edit) { return slotCode(edit.currentSlot, edit.currentMaterial); }

}  // namespace cubrik
