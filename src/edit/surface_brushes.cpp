#include "edit/surface_brushes.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "edit/sweep_segment.h"

namespace cubrik {
namespace {

// Applies brushRemap to the cells that pixels of the current pick name; with
// noise, only where the cell's noise reaches a threshold.
struct SurfacePaint {
    const PickBuffer& pick;
    const RemapCells remap;
    const std::uint8_t* noise;

    explicit SurfacePaint(BrushContext& brush)
        : pick(brush.buffers.currentPick), remap(brush), noise(brush.buffers.brushScratch.get()) {}

    PixelWalk everyPixel() const { return {pick.width, pick.height, 1}; }

    void paint(int px, int py) const {
        const int cell = pickCell(pick, px, py);
        if (cell >= 0) remap(cell);
    }

    void spray(int px, int py, int threshold) const {
        const int cell = pickCell(pick, px, py);
        if (cell >= 0 && noise[cell] >= threshold) remap(cell);
    }
};

}  // namespace

int surfaceStart(BrushContext& brush, int x, int y, int target) {
    setBrushRemap(brush, target);
    const SurfacePaint surface(brush);
    if (brush.model.brushSize == 1) {
        surface.paint(x, y);
        return 1;
    }
    const int r = surfaceRadius(brush.model.brushSize, brush.model.brushRadiusPx);
    auto paint = [&](int px, int py) { surface.paint(px, py); };
    visitDisc(surface.everyPixel(), x, y, r, paint);
    return 1;
}

int surfaceStep(BrushContext& brush, int x0, int y0, int x1, int y1, int target) {
    setBrushRemap(brush, target);
    const SurfacePaint surface(brush);
    const int r = surfaceRadius(brush.model.brushSize, brush.model.brushRadiusPx);
    sweepSegment(x0, y0, x1, y1, r, surface.everyPixel(), [&](int px, int py) { surface.paint(px, py); });
    return 1;
}

void fillSprayNoise(EditingBuffers& buffers) {
    static_assert(std::endian::native == std::endian::little, "the nibbles are spread into bytes low first");
    std::uint8_t* noise = buffers.brushScratch.get();
    for (int cell = 0; cell < kCellCount; cell += 8) {
        // Spread the eight nibbles of a draw into eight bytes in one go.
        std::uint64_t bytes = buffers.sprayRandom.next();
        bytes = (bytes | bytes << 16) & 0x0000ffff0000ffffull;
        bytes = (bytes | bytes << 8) & 0x00ff00ff00ff00ffull;
        bytes = (bytes | bytes << 4) & 0x0f0f0f0f0f0f0f0full;
        std::memcpy(noise + cell, &bytes, sizeof bytes);
    }
}

int sprayStart(BrushContext& brush, int x, int y) {
    setBrushRemap(brush, targetCode(brush.edit));
    const SurfacePaint surface(brush);
    if (brush.model.brushSize == 1) {
        surface.spray(x, y, 10);
        return 1;
    }
    const int r = surfaceRadius(brush.model.brushSize, brush.model.brushRadiusPx);
    // Thresholds 10, 12 and 14 inside r / sqrt 6, r / sqrt 3 and r: the spray
    // thins out towards the rim.
    auto spray = [&](int px, int py) {
        const int rhoSquared = (px - x) * (px - x) + (py - y) * (py - y);
        const int threshold = 6 * rhoSquared < r * r ? 10 : 3 * rhoSquared < r * r ? 12 : 14;
        surface.spray(px, py, threshold);
    };
    visitDisc(surface.everyPixel(), x, y, r, spray);
    return 1;
}

int sprayStep(BrushContext& brush, int x0, int y0, int x1, int y1) {
    setBrushRemap(brush, targetCode(brush.edit));
    const SurfacePaint surface(brush);
    // The step's zones are the start's, each one threshold step thinner.
    const double divisors[3] = {std::sqrt(6.0f), std::sqrt(3.0f), 1.0};
    for (int zone = 0; zone < 3; ++zone) {
        const int r = brushRadiusOver(brush.model.brushSize, brush.model.brushRadiusPx, divisors[zone]);
        sweepSegment(x0, y0, x1, y1, r, surface.everyPixel(),
                     [&](int px, int py) { surface.spray(px, py, 12 + zone); });
    }
    return 1;
}

}  // namespace cubrik
