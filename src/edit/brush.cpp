#include "edit/brush.h"

#include <new>

namespace cubrik {

int allocateEditingBuffers(EditingBuffers& buffers, KernelVariant variant) {
    buffers.variant = variant;
    if (variant == KernelVariant::Scalar) {
        buffers.projectedCells.reset(new (std::nothrow) std::int16_t[2 * kCellCount]);
        buffers.rowBounds.reset(new (std::nothrow) std::int16_t[12 * kRowCount]);
        if (!buffers.projectedCells || !buffers.rowBounds) return 0;
    }
    buffers.brushScratch.reset(new (std::nothrow) std::uint8_t[kBrushScratchBytes]);
    if (!buffers.brushScratch) return 0;
    return preparePickBuffer(buffers.currentPick, 1, 1) && preparePickBuffer(buffers.previousPick, 1, 1);
}

void setBrushRemap(BrushContext& brush, int target) {
    BrushRemap& remap = brush.buffers.brushRemap;
    for (int code = 0; code <= kLastCode; ++code) remap[code] = static_cast<std::uint8_t>(code);
    remap[0] = static_cast<std::uint8_t>(target);
    const Material material = brush.edit.currentMaterial;
    const std::uint8_t* locks = locksOf(brush.model, material);
    const int firstCode = firstCodeOf(material);
    for (int j = 0; j < kPaletteSize; ++j)
        if (locks[j] == 0) remap[firstCode + j] = static_cast<std::uint8_t>(target);
}

int stepBrushSize(std::int32_t& brushSize, int delta) {
    const int direction = delta < 0 ? -1 : 1;
    if ((delta < 0 && brushSize > 1) || (delta > 0 && brushSize < 24)) {
        // Each test sees the value the one before left.
        if (brushSize > 12) brushSize += direction;
        if (brushSize > 6) brushSize += direction;
        brushSize += direction;
    }
    return 1;
}

void setFillEmptyRemap(BrushContext& brush, int target) {
    BrushRemap& remap = brush.buffers.brushRemap;
    for (int code = 0; code <= kLastCode; ++code) remap[code] = static_cast<std::uint8_t>(code);
    remap[0] = static_cast<std::uint8_t>(target);
}

}  // namespace cubrik
