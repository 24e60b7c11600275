#pragma once
// Pictures as cells: one cell per pixel on a plane facing the front view,
// some cells thick, each in the nearest of the two palettes' colours.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/image/picture_file.h"
#include "model/model_file.h"

namespace cubrik {

inline constexpr int kMaxPictureThickness = kGridSize;

// Whether `path` names a picture read as cells: .png, .jpg or .jpeg in any letter case.
bool isCellPicture(std::string_view path);

// The cells of `picture` (at most kGridSize either way; a larger one is
// scaled down to fit, nearest pixel, keeping its shape), centred in x and y
// with its top at high y and its left at low x, `thickness` cells deep
// centred in z, each cell in the nearest palette colour (nearestPaletteCode).
// Pixels with alpha below 128 stay empty.
std::vector<std::uint8_t> pictureCells(const Picture& picture, int thickness, const Rgb (&paletteA)[kPaletteSize],
                                       const Rgb (&paletteB)[kPaletteSize]);

// Reads the picture in `path` into `contents.cells`, in the colours of the
// palettes `contents` holds. Returns 1, or 0 with `reason` (also for a
// thickness outside 1..kMaxPictureThickness and a picture with no opaque pixel).
int readPictureCells(const std::filesystem::path& path, int thickness, ModelFileContents& contents,
                     std::string& reason);

}  // namespace cubrik
