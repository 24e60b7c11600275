#pragma once
// "Export an image": the view rendered offscreen, with a transparent
// background, cropped to the model, ready for writeTarga.

#include <cstdint>
#include <string>

#include "render/renderer.h"
#include "render/view_inputs.h"

namespace cubrik {

// Renders the view of `view`'s client area into the renderer's offscreen
// target, twice: on the background colour and on a key grey; a pixel whose
// green differs between the two is background. Returns 1 with exportPixels
// holding exactly exportWidth x exportHeight BGRA pixels, rows bottom to top,
// alpha 0 on the background; or 0 with `reason` when there is nothing to write (no
// view area, no model pixel in the view) or no offscreen target. The bound
// framebuffer and viewport are restored; the model record is not touched.
int renderExportImage(Renderer& renderer, const ViewInputs& view, std::string& reason);

// The CPU half of the export. `pixels` holds the render on the background,
// `key` the render on the key grey, both RGBA, width x height, rows bottom to
// top. Turns `pixels` into BGRA with alpha 0 on the background and crops it in
// place to the bounding box of the model pixels. Returns 1 with the cropped
// size, or 0 when no pixel belongs to the model.
int keyAndCropImage(std::uint8_t* pixels, const std::uint8_t* key, int width, int height, int& croppedWidth,
                    int& croppedHeight);

// keyAndCropImage in two steps, so the key render can be read a band of rows
// at a time: keyRows turns rows firstRow .. firstRow + rows - 1 of `pixels`
// into BGRA with alpha 0 on the background, `key` holding just those rows,
// and grows `box` by their model pixels; cropToBox then crops `pixels` in
// place to the box, returning 0 when it is empty.
struct ModelPixelBounds {
    int minColumn, maxColumn, minRow, maxRow;  // inclusive; maxColumn < 0: empty
};
void keyRows(std::uint8_t* pixels, const std::uint8_t* key, int width, int firstRow, int rows, ModelPixelBounds& box);
int cropToBox(std::uint8_t* pixels, int width, int height, const ModelPixelBounds& box, int& croppedWidth,
              int& croppedHeight);

}  // namespace cubrik
