#pragma once
// The two materials and everything that follows from one: its codes, its
// palette and lock flags, and the conversions of palette colours to the packed
// forms the model file, the settings and the colour dialog use.

#include <cstdint>

#include "model/voxel_model.h"

namespace cubrik {

enum class Material : std::int32_t { A, B };

inline constexpr Material kMaterials[] = {Material::A, Material::B};

constexpr Material otherMaterial(Material material) { return material == Material::A ? Material::B : Material::A; }

// "A" for material A, "B" for material B, as files and the status bar name them.
constexpr char materialLetter(Material material) { return material == Material::A ? 'A' : 'B'; }

// The material of a non-empty code.
constexpr Material materialOfCode(std::uint8_t code) { return isMaterialB(code) ? Material::B : Material::A; }

// The code of the material's first colour: 1 for A, 17 for B.
constexpr int firstCodeOf(Material material) { return material == Material::A ? kFirstCodeA : kFirstCodeB; }

// The material code painted with colour slot `slot` (10..25) of `material`.
constexpr int slotCode(int slot, Material material) { return slot - kFirstSlot + firstCodeOf(material); }

// The sixteen colours of `material`.
Rgb* paletteOf(VoxelModel& model, Material material);
const Rgb* paletteOf(const VoxelModel& model, Material material);

// The lock flags of `material`.
std::uint8_t* locksOf(VoxelModel& model, Material material);
const std::uint8_t* locksOf(const VoxelModel& model, Material material);

// A channel byte divided by 255.
Rgb unpackColour(std::uint32_t packed);

// 0xRRGGBB: each channel times 255, truncated towards zero, low 8 bits kept.
std::uint32_t packColour(const Rgb& colour);

// The byte of one channel, by the same rule.
std::uint8_t channelByte(float component);

// 0x00BBGGRR, as colour dialogs take colours, by the same rule.
std::uint32_t colourToColorref(const Rgb& colour);
Rgb colorrefToColour(std::uint32_t colorref);

}  // namespace cubrik
