#include "edit/stroke.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "edit/ball_brushes.h"
#include "edit/smoothing_brush.h"
#include "edit/surface_brushes.h"
#include "render/brush_cursor.h"
#include "render/face_walk.h"

namespace cubrik {

int strokeSpacing(int tool, int brushSize) {
    const int spacing = tool == kSmoothingTool || tool == kPunchTool ? 10 / (brushSize + 1) + 1
                                                                       : 242 / ((brushSize + 1) * (brushSize + 1));
    return spacing > 0 ? spacing : 1;
}

int beginStroke(StrokeTarget& stroke, int x, int y, const PickReader& readPick) {
    BrushContext& brush = stroke.brush;
    const int target = targetCode(brush.edit);
    pushUndo(stroke.history, brush.model, brush.edit, stroke.flags);
    brush.model.lastStrokeX = x;
    brush.model.lastStrokeY = y;
    EditingBuffers& buffers = brush.buffers;
    switch (brush.edit.currentTool) {
    case kSprayTool:
        if (!readPick(kPickSolid)) return 1;
        fillSprayNoise(buffers);
        return sprayStart(brush, x, y);
    case kPaintTool: return readPick(kPickSolid) ? surfaceStart(brush, x, y, target) : 1;
    case kPeelTool: return readPick(kPickSolid) ? surfaceStart(brush, x, y, 0) : 1;
    case kCoatTool: return readPick(kPickEmpty) ? surfaceStart(brush, x, y, target) : 1;
    case kCarveTool: return readPick(kPickSolid) ? ballStart(brush, x, y, 0) : 1;
    case kBuildTool: return readPick(kPickEmpty) ? ballStart(brush, x, y, target) : 1;
    case kSmoothingTool:
        // The solid read ends up in the previous pick, the empty one in the current.
        if (!readPick(kPickSolid)) return 1;
        std::swap(buffers.currentPick, buffers.previousPick);
        if (!readPick(kPickEmpty)) return 1;
        countNeighbours(brush.model.cells, buffers.brushScratch.get());
        return smoothingStart(brush, x, y);
    case kPunchTool:
        stroke.kernels.punchPrepare(brush);
        return stroke.kernels.punchStamp(brush, x, y);
    default: return 1;
    }
}

int continueStroke(StrokeTarget& stroke, int x, int y, bool forced) {
    BrushContext& brush = stroke.brush;
    VoxelModel& model = brush.model;
    const int tool = brush.edit.currentTool;
    const int spacing = strokeSpacing(tool, model.brushSize);
    const int x0 = model.lastStrokeX, y0 = model.lastStrokeY;
    const int distance = std::max(std::abs(x - x0), std::abs(y - y0));
    const int count = forced ? 1 : std::min(distance, spacing);
    const int target = targetCode(brush.edit);
    int result = 1;
    switch (tool) {
    case kSprayTool: result = sprayStep(brush, x0, y0, x, y); break;
    case kPaintTool: result = surfaceStep(brush, x0, y0, x, y, target); break;
    case kPeelTool: result = surfaceStep(brush, x0, y0, x, y, 0); break;
    case kCoatTool: result = surfaceStep(brush, x0, y0, x, y, target); break;
    case kCarveTool: result = stroke.kernels.ballStrokeKernel(brush, x0, y0, x, y, 0, count); break;
    case kBuildTool: result = stroke.kernels.ballStrokeKernel(brush, x0, y0, x, y, target, count); break;
    case kSmoothingTool: result = smoothingStep(brush, x0, y0, x, y); break;
    case kPunchTool: result = stroke.kernels.punchStrokeKernel(brush, x0, y0, x, y, count); break;
    default: break;
    }
    model.lastStrokeX = x;
    model.lastStrokeY = y;
    return result;
}

}  // namespace cubrik
