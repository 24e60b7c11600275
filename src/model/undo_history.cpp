#include "model/undo_history.h"

#include <cstring>
#include <new>
#include <utility>

#include "model/byte_changes.h"

namespace cubrik {
namespace {

// Differences are worked out in the reused buffer and kept in one of their own
// size, so a step holds no spare capacity.
void keepCoding(UndoHistory& history, std::vector<std::uint8_t>& code) {
    code = std::vector<std::uint8_t>(history.coding.begin(), history.coding.end());
}

// With the anchor on slot j: `code` led from slot j to its neighbour; it is
// made to lead from the live model to that neighbour instead.
void recodeAgainstLive(UndoHistory& history, std::vector<std::uint8_t>& code, const VoxelModel& model) {
    applyDifferences(bytesOf(*history.anchor), code);  // the anchor is the neighbour
    history.coding.clear();
    codeDifferences(bytesOf(*history.anchor), bytesOf(model), history.coding);
    applyDifferences(bytesOf(*history.anchor), code);  // and slot j again
    keepCoding(history, code);
}

// With the anchor on slot j: the live state goes into slot j and the slot's
// state becomes live; the anchor then holds the slot's new model.
void exchange(UndoHistory& history, int j, VoxelModel& model, EditState& edit) {
    if (j > 0) recodeAgainstLive(history, history.slots[j - 1].toNext, model);
    if (j + 1 < undoCount(history)) recodeAgainstLive(history, history.slots[j].toNext, model);
    exchangeDifferences(bytesOf(*history.anchor), bytesOf(model));
    std::swap(history.slots[j].edit, edit);
}

void dropOldest(UndoHistory& history) {
    // The anchor sits on the oldest slot only when nothing older than the live state remains but it.
    if (history.undoIndex <= 0) applyDifferences(bytesOf(*history.anchor), history.slots.front().toNext);
    history.slots.pop_front();
    if (history.undoIndex >= 0) --history.undoIndex;
}

}  // namespace

int createUndoHistory(UndoHistory& history, DocumentFlags& flags, int depth) {
    history.anchor.reset(new (std::nothrow) VoxelModel);
    if (!history.anchor) return 0;
    history.slots.clear();
    history.depth = depth;
    history.undoIndex = -1;
    flags.undoMenuStale = 1;
    return 1;
}

void setUndoDepth(UndoHistory& history, int depth, DocumentFlags& flags) {
    history.depth = depth;
    while (undoCount(history) > depth && history.undoIndex >= 0) dropOldest(history);
    while (undoCount(history) > depth) {
        history.slots.pop_back();
        history.slots.back().toNext = {};
    }
    flags.undoMenuStale = 1;
}

int pushUndo(UndoHistory& history, const VoxelModel& model, const EditState& edit, DocumentFlags& flags) {
    history.slots.resize(history.undoIndex + 1);  // what redo could have restored is dropped
    if (history.slots.empty()) {
        std::memcpy(history.anchor.get(), &model, sizeof model);
    } else {
        history.coding.clear();
        codeAndCopyDifferences(bytesOf(*history.anchor), bytesOf(model), history.coding);
        keepCoding(history, history.slots.back().toNext);
    }
    history.slots.push_back({edit, {}});
    ++history.undoIndex;
    while (undoCount(history) > history.depth) dropOldest(history);
    flags.undoMenuStale = 1;
    return 1;
}

int undo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags) {
    const int j = history.undoIndex;
    if (j < 0) return 0;
    exchange(history, j, model, edit);
    if (j > 0) applyDifferences(bytesOf(*history.anchor), history.slots[j - 1].toNext);
    --history.undoIndex;
    flags.undoMenuStale = 1;
    return 1;
}

int redo(UndoHistory& history, VoxelModel& model, EditState& edit, DocumentFlags& flags) {
    if (!canRedo(history)) return 0;
    if (history.undoIndex >= 0) applyDifferences(bytesOf(*history.anchor), history.slots[history.undoIndex].toNext);
    ++history.undoIndex;
    exchange(history, history.undoIndex, model, edit);
    flags.undoMenuStale = 1;
    return 1;
}

}  // namespace cubrik
