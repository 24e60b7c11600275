#include "edit/stroke.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "edit/tool_table.h"

namespace cubrik {
namespace {

// Reads the picks the tool starts from. False when one could not be read.
bool readStartPicks(StrokePicks picks, EditingBuffers& buffers, const PickReader& readPick) {
    switch (picks) {
    case StrokePicks::None: return true;
    case StrokePicks::Solid: return readPick(PickMode::Solid) != 0;
    case StrokePicks::Empty: return readPick(PickMode::Empty) != 0;
    case StrokePicks::SolidThenEmpty:
        if (!readPick(PickMode::Solid)) return false;
        std::swap(buffers.currentPick, buffers.previousPick);
        return readPick(PickMode::Empty) != 0;
    }
    return false;
}

}  // namespace

int strokeSpacing(Tool tool, int brushSize) { return std::max(toolInfo(tool).spacing(brushSize), 1); }

int beginStroke(StrokeTarget& stroke, int x, int y, const PickReader& readPick) {
    BrushContext& brush = stroke.brush;
    pushUndo(stroke.history, brush.model, brush.edit, stroke.flags);
    brush.model.lastStrokeX = x;
    brush.model.lastStrokeY = y;
    const ToolInfo& tool = toolInfo(brush.edit.currentTool);
    if (!readStartPicks(tool.picks, brush.buffers, readPick)) return 1;
    return tool.start(stroke, x, y);
}

int continueStroke(StrokeTarget& stroke, int x, int y, bool forced) {
    BrushContext& brush = stroke.brush;
    VoxelModel& model = brush.model;
    const Tool tool = brush.edit.currentTool;
    const int spacing = strokeSpacing(tool, model.brushSize);
    const int x0 = model.lastStrokeX, y0 = model.lastStrokeY;
    const int distance = std::max(std::abs(x - x0), std::abs(y - y0));
    const int count = forced ? 1 : std::min(distance, spacing);
    const int result = toolInfo(tool).step(stroke, x0, y0, x, y, count);
    model.lastStrokeX = x;
    model.lastStrokeY = y;
    return result;
}

}  // namespace cubrik
