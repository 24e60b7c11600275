#pragma once
// Conversions between palette floats and packed 0xRRGGBB colours, shared by
// the model file, the settings and the colour dialog.

#include <cstdint>

#include "model/voxel_model.h"

namespace cubrik {

// A channel byte divided by 255.
Rgb unpackColour(std::uint32_t packed);

// Each channel times 255, truncated towards zero, low 8 bits kept.
std::uint32_t packColour(const Rgb& colour);

// The byte of one channel, by the same rule.
std::uint8_t channelByte(float component);

}  // namespace cubrik
