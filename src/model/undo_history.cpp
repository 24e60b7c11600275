#include "model/undo_history.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace cubrik {
namespace {

void store(UndoSnapshot& snapshot, const VoxelModel& model, const EditState& edit) {
    std::memcpy(&snapshot.model, &model, sizeof model);
    snapshot.edit = edit;
}

void restore(const UndoSnapshot& snapshot, VoxelModel& model, EditState& edit) {
    std::memcpy(&model, &snapshot.model, sizeof model);
    edit = snapshot.edit;
}

// The live state goes into the slot and the slot's state becomes live.
void exchange(UndoHistory& history, UndoSnapshot& slot, VoxelModel& model, EditState& edit) {
    store(*history.scratch, model, edit);
    restore(slot, model, edit);
    std::swap(history.scratch, history.undoSlots[history.undoIndex]);
}

}  // namespace

int createUndoHistory(UndoHistory& history, DocumentFlags& flags) {
    history.buffers.reset(new (std::nothrow) UndoSnapshot[kUndoDepth + 1]);
    if (!history.buffers) return 0;
    for (int i = 0; i < kUndoDepth; ++i) history.undoSlots[i] = &history.buffers[i];
    history.scratch = &history.buffers[kUndoDepth];
    history.undoIndex = -1;
    history.undoCount = 0;
    flags.undoMenuStale = 1;
    return 1;
}

int pushUndo(UndoHistory& history, const VoxelModel& model, const EditState& edit, DocumentFlags& flags) {
    if (history.undoIndex >= kUndoDepth - 1) {
        // Full: the oldest buffer moves to the end and is reused.
        std::rotate(history.undoSlots.begin(), history.undoSlots.begin() + 1, history.undoSlots.end());
        history.undoIndex = kUndoDepth - 2;
    }
    history.undoCount = history.undoIndex + 1;
    store(*history.undoSlots[history.undoIndex + 1], model, edit);
    ++history.undoIndex;
    ++history.undoCount;
    flags.undoMenuStale = 1;
    return 1;
}

int undo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags) {
    if (history.undoIndex < 0) return 0;
    exchange(history, *history.undoSlots[history.undoIndex], model, edit);
    --history.undoIndex;
    flags.undoMenuStale = 1;
    return 1;
}

int redo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags) {
    if (history.undoIndex + 1 >= history.undoCount) return 0;
    ++history.undoIndex;
    exchange(history, *history.undoSlots[history.undoIndex], model, edit);
    flags.undoMenuStale = 1;
    return 1;
}

}  // namespace cubrik
