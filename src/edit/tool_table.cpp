#include "edit/tool_table.h"

#include <iterator>

#include "edit/ball_brushes.h"
#include "edit/smoothing_brush.h"
#include "edit/surface_brushes.h"

namespace cubrik {
namespace {

// Pixels between stroke samples: dense for most tools, sparse for Smoothing
// and Punch, whose samples each cover a whole pass over the brush.
int denseSpacing(int brushSize) { return 242 / ((brushSize + 1) * (brushSize + 1)); }
int sparseSpacing(int brushSize) { return 10 / (brushSize + 1) + 1; }

int currentTarget(const StrokeTarget& stroke) { return targetCode(stroke.brush.edit); }

int sprayStartOf(StrokeTarget& s, int x, int y) {
    fillSprayNoise(s.brush.buffers);
    return sprayStart(s.brush, x, y);
}
int sprayStepOf(StrokeTarget& s, int x0, int y0, int x1, int y1, int) { return sprayStep(s.brush, x0, y0, x1, y1); }

int paintStart(StrokeTarget& s, int x, int y) { return surfaceStart(s.brush, x, y, currentTarget(s)); }
int paintStep(StrokeTarget& s, int x0, int y0, int x1, int y1, int) {
    return surfaceStep(s.brush, x0, y0, x1, y1, currentTarget(s));
}
int peelStart(StrokeTarget& s, int x, int y) { return surfaceStart(s.brush, x, y, 0); }
int peelStep(StrokeTarget& s, int x0, int y0, int x1, int y1, int) { return surfaceStep(s.brush, x0, y0, x1, y1, 0); }

int carveStart(StrokeTarget& s, int x, int y) { return ballStart(s.brush, x, y, 0); }
int carveStep(StrokeTarget& s, int x0, int y0, int x1, int y1, int count) {
    return s.kernels.ballStrokeKernel(s.brush, x0, y0, x1, y1, 0, count);
}
int buildStart(StrokeTarget& s, int x, int y) { return ballStart(s.brush, x, y, currentTarget(s)); }
int buildStep(StrokeTarget& s, int x0, int y0, int x1, int y1, int count) {
    return s.kernels.ballStrokeKernel(s.brush, x0, y0, x1, y1, currentTarget(s), count);
}

int smoothingStartOf(StrokeTarget& s, int x, int y) {
    countNeighbours(s.brush.model.cells, s.brush.buffers.brushScratch.get());
    return smoothingStart(s.brush, x, y);
}
int smoothingStepOf(StrokeTarget& s, int x0, int y0, int x1, int y1, int) {
    return smoothingStep(s.brush, x0, y0, x1, y1);
}

int punchStart(StrokeTarget& s, int x, int y) {
    s.kernels.punchPrepare(s.brush);
    return s.kernels.punchStamp(s.brush, x, y);
}
int punchStep(StrokeTarget& s, int x0, int y0, int x1, int y1, int count) {
    return s.kernels.punchStrokeKernel(s.brush, x0, y0, x1, y1, count);
}

constexpr ToolInfo kTools[kToolCount] = {
    {Tool::Spray, 'Q', "Spray", "スプレー", StrokePicks::Solid, sprayStartOf, sprayStepOf, denseSpacing, false, 0, 0},
    {Tool::Paint, 'A', "Paint", "ペイント", StrokePicks::Solid, paintStart, paintStep, denseSpacing, false, 29, 0},
    {Tool::Peel, 'W', "Peel", "はがす", StrokePicks::Solid, peelStart, peelStep, denseSpacing, false, 0, 29},
    // Coat paints the empty cells in front of the surface, as Paint paints the surface.
    {Tool::Coat, 'S', "Coat", "重ね塗り", StrokePicks::Empty, paintStart, paintStep, denseSpacing, false, 29, 29},
    {Tool::Carve, 'E', "Carve", "彫る", StrokePicks::Solid, carveStart, carveStep, denseSpacing, false, 0, 58},
    {Tool::Build, 'D', "Build", "盛る", StrokePicks::Empty, buildStart, buildStep, denseSpacing, false, 29, 58},
    {Tool::Smoothing, 'R', "Smoothing", "スムージング", StrokePicks::SolidThenEmpty, smoothingStartOf,
     smoothingStepOf, sparseSpacing, false, 0, 87},
    {Tool::Punch, 'F', "Punch", "穴あけ", StrokePicks::None, punchStart, punchStep, sparseSpacing, true, 29, 87},
};

}  // namespace

const ToolInfo& toolInfo(Tool tool) { return kTools[static_cast<int>(tool)]; }

std::optional<Tool> toolOfKey(int key) {
    for (const ToolInfo& info : kTools)
        if (key == info.key) return info.tool;
    return std::nullopt;
}

}  // namespace cubrik
