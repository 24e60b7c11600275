#pragma once
// Undo and redo work on whole snapshots of the model record and the editing
// selection. All 21 buffers are allocated once, so undo never allocates; the
// slots are reordered by exchanging pointers, never by moving snapshots.

#include <array>
#include <cstdint>
#include <memory>

#include "model/edit_state.h"
#include "model/voxel_model.h"

namespace cubrik {

inline constexpr int kUndoDepth = 20;

struct UndoSnapshot {
    VoxelModel model;
    EditState edit;
};

struct UndoHistory {
    std::unique_ptr<UndoSnapshot[]> buffers;         // kUndoDepth + 1 of them
    std::array<UndoSnapshot*, kUndoDepth> undoSlots{};   // oldest first
    UndoSnapshot* scratch = nullptr;
    std::int32_t undoIndex = -1;  // most recent snapshot still to undo; -1: none
    std::int32_t undoCount = 0;   // slots in use, counting those redo brings back
};

// Allocates the buffers. Returns 1, or 0 when memory is exhausted.
int createUndoHistory(UndoHistory& history, DocumentFlags& flags);

// Saves the state from before a change. Returns 1.
int pushUndo(UndoHistory& history, const VoxelModel& model, const EditState& edit, DocumentFlags& flags);

// Return 1 when done, 0 when there was nothing to undo or redo.
int undo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags);
int redo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags);

inline bool canUndo(const UndoHistory& history) { return history.undoIndex >= 0; }
inline bool canRedo(const UndoHistory& history) { return history.undoIndex + 1 < history.undoCount; }

}  // namespace cubrik
