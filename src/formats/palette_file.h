#pragma once
// The palette file types, in one table: Settings > Import palette reads any
// of them, Export palettes writes those with a writer; the dialogs' filters
// come from here too.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "formats/palette_codecs.h"

namespace cubrik {

using PaletteReader = int (*)(std::span<const std::uint8_t>, PaletteColours&, std::string&);
using PaletteWriter = std::string (*)(std::span<const std::uint32_t>, std::span<const std::string>);

struct PaletteFormat {
    std::string_view extension;      // "gpl", in any letter case
    std::string_view filterLabel;    // "GIMP palette (*.gpl)"
    std::string_view filterLabelJa;
    PaletteReader read;
    PaletteWriter write = nullptr;
};

std::span<const PaletteFormat> paletteFormats();

// The format named by the extension of `path`, in any letter case; null for others.
const PaletteFormat* paletteFormatOf(std::string_view path);

// Reads the colours of a palette file by its extension. Returns 1, or 0 with
// `reason` (an unknown type, a file too large to be a palette, a damaged one).
int readPaletteFile(const std::filesystem::path& path, PaletteColours& colours, std::string& reason);

// Writes the colours, with their names where the format keeps names,
// atomically in the format its extension names. Returns 1, or 0 with `reason`.
int writePaletteFile(const std::filesystem::path& path, std::span<const std::uint32_t> colours,
                     std::span<const std::string> names, std::string& reason);

}  // namespace cubrik
