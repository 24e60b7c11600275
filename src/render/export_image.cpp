#include "render/export_image.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "render/camera.h"
#include "render/view.h"

namespace cubrik {
namespace {

// The second render's background; 0.77 reads back with green 196.
constexpr float kKeyGrey = 0.77f;
// The second render is read this many rows at a time: each row is compared
// once, so a band is all it needs, not a second full-size image.
constexpr int kKeyBandRows = 64;

bool resizeBuffer(std::vector<std::uint8_t>& buffer, std::size_t size) {
    try {
        buffer.resize(size);
        buffer.shrink_to_fit();
        return true;
    } catch (const std::bad_alloc&) {
        buffer = {};  // the next export starts this buffer afresh
        return false;
    }
}

}  // namespace

void keyRows(std::uint8_t* pixels, const std::uint8_t* key, int width, int firstRow, int rows, ModelPixelBounds& box) {
    for (int row = firstRow; row < firstRow + rows; ++row) {
        std::uint8_t* p = pixels + 4 * static_cast<std::size_t>(row) * width;
        const std::uint8_t* k = key + 4 * static_cast<std::size_t>(row - firstRow) * width;
        for (int column = 0; column < width; ++column, p += 4, k += 4) {
            std::swap(p[0], p[2]);  // RGBA to BGRA
            if (p[1] == k[1]) {
                box.minColumn = std::min(box.minColumn, column);
                box.maxColumn = std::max(box.maxColumn, column);
                box.minRow = std::min(box.minRow, row);
                box.maxRow = std::max(box.maxRow, row);
            } else {
                p[3] = 0;
            }
        }
    }
}

int cropToBox(std::uint8_t* pixels, int width, int height, const ModelPixelBounds& box, int& croppedWidth,
              int& croppedHeight) {
    if (box.maxColumn < 0) return 0;
    croppedWidth = box.maxColumn - box.minColumn + 1;
    croppedHeight = box.maxRow - box.minRow + 1;
    if (croppedWidth == width && croppedHeight == height) return 1;
    // Rows keep their bottom-to-top order; data only moves towards the start.
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(croppedWidth);
    for (int row = 0; row < croppedHeight; ++row)
        std::memmove(pixels + row * rowBytes,
                     pixels + 4 * (static_cast<std::size_t>(box.minRow + row) * width + box.minColumn), rowBytes);
    return 1;
}

int keyAndCropImage(std::uint8_t* pixels, const std::uint8_t* key, int width, int height, int& croppedWidth,
                    int& croppedHeight) {
    ModelPixelBounds box{width, -1, height, -1};
    keyRows(pixels, key, width, 0, height, box);
    return cropToBox(pixels, width, height, box, croppedWidth, croppedHeight);
}

int renderExportImage(Renderer& renderer, const ViewInputs& view, std::string& reason) {
    const int width = view.clientWidth - kViewLeft, height = view.clientHeight;
    renderer.exportWidth = width;
    renderer.exportHeight = height;
    if (width <= 0 || height <= 0) {
        reason = "the view has no area (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return 0;
    }
    const std::size_t bytes = 4 * static_cast<std::size_t>(width) * height;
    if (!resizeBuffer(renderer.exportPixels, bytes) ||
        !resizeBuffer(renderer.keyPixels, 4 * static_cast<std::size_t>(width) * std::min(height, kKeyBandRows))) {
        reason = "out of memory for a " + std::to_string(width) + " x " + std::to_string(height) + " image";
        return 0;
    }
    if (!ensureOffscreenTarget(renderer.offscreen, view.clientWidth, view.clientHeight, reason)) return 0;
    ModelPixelBounds box{width, -1, height, -1};
    {
        OffscreenBinding binding(renderer.offscreen);
        clearView(view.backgroundColor);
        setUpViewDrawing(view);
        drawModel(renderer, view);
        readOffscreenPixels(renderer.offscreen, kViewLeft, 0, width, height, renderer.exportPixels.data());
        glClearColor(kKeyGrey, kKeyGrey, kKeyGrey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawModel(renderer, view);  // the same quads again, from the display cache
        glDisable(GL_DEPTH_TEST);
        for (int row = 0; row < height; row += kKeyBandRows) {
            const int rows = std::min(kKeyBandRows, height - row);
            readOffscreenPixels(renderer.offscreen, kViewLeft, row, width, rows, renderer.keyPixels.data());
            keyRows(renderer.exportPixels.data(), renderer.keyPixels.data(), width, row, rows, box);
        }
    }
    if (!cropToBox(renderer.exportPixels.data(), width, height, box, renderer.exportWidth, renderer.exportHeight)) {
        reason = "nothing to draw: the model is empty or outside the view";
        return 0;
    }
    // Only the cropped image is handed over (no reallocation: it shrinks).
    renderer.exportPixels.resize(4 * static_cast<std::size_t>(renderer.exportWidth) * renderer.exportHeight);
    return 1;
}

}  // namespace cubrik
