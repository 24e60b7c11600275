#pragma once
// The tool panel's icon atlas, built into the program from
// resources/icon_atlas.tga (drawn by tools/make_icon_atlas.cpp), so no file
// is read at run time.

#include <cstdint>
#include <span>

namespace cubrik {

std::span<const std::uint8_t> embeddedIconAtlas();

}  // namespace cubrik
