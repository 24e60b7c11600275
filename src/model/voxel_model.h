#pragma once
// The one document record: palettes, lock flags, the 100 x 100 x 100 cells and
// the view and brush state that travel with undo. It is a single block without
// pointers so that an undo snapshot is one plain copy of its bytes.

#include <cstdint>
#include <memory>
#include <type_traits>

#include "model/smoothing.h"

namespace cubrik {

inline constexpr int kGridSize = 100;
inline constexpr int kCellCount = kGridSize * kGridSize * kGridSize;
inline constexpr int kPaletteSize = 16;

// Material codes: 0 empty, 1..16 material A (colour code - 1),
// 17..32 material B (colour code - 17).
inline constexpr std::uint8_t kEmpty = 0;
inline constexpr int kFirstCodeA = 1;
inline constexpr int kFirstCodeB = 17;
inline constexpr int kLastCode = 32;

// Colour slots as the panel numbers them, shared by the editing state; the
// first slot holds a material's first colour.
inline constexpr int kNoItem = -1;
inline constexpr int kFirstSlot = 10;
inline constexpr int kLastSlot = 25;

struct Rgb {
    float r, g, b;
};

struct VoxelModel {
    Rgb paletteA[kPaletteSize];
    Rgb paletteB[kPaletteSize];
    std::uint8_t lockedA[kPaletteSize];  // 0 editable, anything else locked
    std::uint8_t lockedB[kPaletteSize];
    std::uint8_t cells[kCellCount];      // index x + 100 y + 10000 z
    std::int32_t viewport[4];            // x, y, width, height of the 3-D view
    double projection[16];               // column-major
    double dragStartRotation[16];
    double rotation[16];                 // model-view rotation, column-major
    double dragStartX, dragStartY;       // trackball start, view units
    std::int32_t lastStrokeX, lastStrokeY;
    std::int32_t brushSize;
    float brushRadiusPx;
    std::int32_t rollOnly;
};
static_assert(std::is_trivially_copyable_v<VoxelModel>);

constexpr int cellIndex(int x, int y, int z) { return x + kGridSize * y + kGridSize * kGridSize * z; }

constexpr bool isMaterialA(std::uint8_t code) { return code >= kFirstCodeA && code < kFirstCodeB; }
constexpr bool isMaterialB(std::uint8_t code) { return code >= kFirstCodeB; }

// Palette colour of a non-empty material code.
const Rgb& paletteColour(const VoxelModel& model, std::uint8_t code);

// The model record with the buffers that live beside it for the whole run:
// the padded corner-code grid of the smooth display and its offset table.
struct ModelStore {
    std::unique_ptr<VoxelModel> model;
    std::unique_ptr<CornerCodeGrid> cornerCodes;
    SmoothingTable smoothingTable{};
};

// Clears the cells and resets the view and brush; palettes and lock flags are
// kept. The first call allocates the record with the default palette and the
// corner-code grid. Returns 1, or 0 when memory is exhausted.
int resetModel(ModelStore& store);

// The sixteen default colours, for both materials.
extern const Rgb kDefaultPalette[kPaletteSize];

}  // namespace cubrik
