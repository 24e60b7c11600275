#pragma once
// The tool panel's icon atlas, built into the program from
// resources/icon_atlas.tga, and its twin drawn at twice the size from
// resources/icon_atlas_2x.tga (both drawn by tools/make_icon_atlas.cpp), so
// no file is read at run time.

#include <cstdint>
#include <span>

namespace cubrik {

std::span<const std::uint8_t> embeddedIconAtlas();
std::span<const std::uint8_t> embeddedDoubleIconAtlas();

}  // namespace cubrik
