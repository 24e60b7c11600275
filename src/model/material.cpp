#include "model/material.h"

#include <cmath>

namespace cubrik {

Rgb* paletteOf(VoxelModel& model, Material material) {
    return material == Material::B ? model.paletteB : model.paletteA;
}

const Rgb* paletteOf(const VoxelModel& model, Material material) {
    return material == Material::B ? model.paletteB : model.paletteA;
}

std::uint8_t* locksOf(VoxelModel& model, Material material) {
    return material == Material::B ? model.lockedB : model.lockedA;
}

const std::uint8_t* locksOf(const VoxelModel& model, Material material) {
    return material == Material::B ? model.lockedB : model.lockedA;
}

std::uint8_t channelByte(float component) {
    const double scaled = std::trunc(static_cast<double>(component) * 255.0);
    if (!(std::fabs(scaled) < 9.0e18)) return 0;  // NaN or far out of range
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(scaled) & 0xff);
}

Rgb unpackColour(std::uint32_t packed) {
    return {static_cast<float>(((packed >> 16) & 0xff) / 255.0),
            static_cast<float>(((packed >> 8) & 0xff) / 255.0),
            static_cast<float>((packed & 0xff) / 255.0)};
}

std::uint32_t packColour(const Rgb& colour) {
    return (std::uint32_t{channelByte(colour.r)} << 16) | (std::uint32_t{channelByte(colour.g)} << 8) |
           channelByte(colour.b);
}

std::uint32_t colourToColorref(const Rgb& colour) {
    return channelByte(colour.r) | channelByte(colour.g) << 8 | static_cast<std::uint32_t>(channelByte(colour.b)) << 16;
}

Rgb colorrefToColour(std::uint32_t colorref) {
    return unpackColour((colorref & 0xff) << 16 | (colorref & 0xff00) | ((colorref >> 16) & 0xff));
}

}  // namespace cubrik
