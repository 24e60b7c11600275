#pragma once
// A document, a selection and the editing buffers for driving a brush by hand.

#include <stdexcept>

#include "edit/brush.h"
#include "support/model_builders.h"

namespace cubrik::testing {

struct Stroke {
    ModelStore store = makeStore();
    EditState edit;
    EditingBuffers buffers;
    BrushContext brush{*store.model, edit, buffers, 40};
    VoxelModel& model = *store.model;

    Stroke(int brushSize, float brushRadiusPx) {
        if (!allocateEditingBuffers(buffers, KernelVariant::Sse2)) throw std::runtime_error("out of memory");
        model.brushSize = brushSize;
        model.brushRadiusPx = brushRadiusPx;
    }

    // Cells z = 0 .. depth - 1 of the 40 x 40 corner filled with code.
    void fillSlab(int depth, std::uint8_t code) {
        for (int z = 0; z < depth; ++z)
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) setCell(model, x, y, z, code);
    }

    int filledInLayer(int z) const {
        int count = 0;
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) count += model.cells[cellIndex(x, y, z)] != 0;
        return count;
    }
};

}  // namespace cubrik::testing
