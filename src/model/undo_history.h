#pragma once
// Undo and redo work on snapshots of the model record and the editing
// selection. One snapshot's model is kept whole (the anchor, next to the live
// state); every other is kept as its differences from a neighbour
// (model/byte_changes.h), so a step costs about as much memory as it changed
// and the history can be deep. Undo and redo bring back the very bytes pushed.

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "model/edit_state.h"
#include "model/voxel_model.h"

namespace cubrik {

inline constexpr int kUndoDepth = 20;  // the depth a history has unless told otherwise

struct UndoSlot {
    EditState edit;
    std::vector<std::uint8_t> toNext;  // this model's differences from the next slot's; empty in the last
};

struct UndoHistory {
    std::int32_t depth = kUndoDepth;
    std::deque<UndoSlot> slots;          // oldest first, counting those redo brings back
    std::unique_ptr<VoxelModel> anchor;  // the model of slot max(undoIndex, 0), whole
    std::vector<std::uint8_t> coding;    // where differences are worked out, kept between uses
    std::int32_t undoIndex = -1;         // most recent snapshot still to undo; -1: none
};

inline std::int32_t undoCount(const UndoHistory& history) { return static_cast<std::int32_t>(history.slots.size()); }

// Allocates the anchor and empties the history. Returns 1, or 0 when memory is exhausted.
int createUndoHistory(UndoHistory& history, DocumentFlags& flags, int depth = kUndoDepth);

// A new depth (1 or more): beyond it the oldest snapshots go, and then, when
// redo alone holds more, those redo would reach last.
void setUndoDepth(UndoHistory& history, int depth, DocumentFlags& flags);

// Saves the state from before a change. Returns 1.
int pushUndo(UndoHistory& history, const VoxelModel& model, const EditState& edit, DocumentFlags& flags);

// Return 1 when done, 0 when there was nothing to undo or redo.
int undo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags);
int redo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags);

inline bool canUndo(const UndoHistory& history) { return history.undoIndex >= 0; }
inline bool canRedo(const UndoHistory& history) { return history.undoIndex + 1 < undoCount(history); }

}  // namespace cubrik
