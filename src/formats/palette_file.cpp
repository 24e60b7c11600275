#include "formats/palette_file.h"

#include "io/atomic_file.h"
#include "io/path_names.h"
#include "io/regular_file.h"

namespace cubrik {
namespace {

// Palettes are a few kilobytes; anything this large is something else.
constexpr std::uintmax_t kMaxPaletteFileBytes = 64u << 20;

constexpr PaletteFormat kPaletteFormats[] = {
    {"gpl", "GIMP palette (*.gpl)", "GIMPパレット (*.gpl)", parseGimpPalette, formatGimpPalette},
    {"hex", "Lospec hex (*.hex)", "Lospec hex (*.hex)", parseHexPalette, formatHexPalette},
    {"pal", "JASC palette (*.pal)", "JASCパレット (*.pal)", parseJascPalette},
    {"png", "PNG picture (*.png)", "PNG画像 (*.png)", parsePngPalette},
};

}  // namespace

std::span<const PaletteFormat> paletteFormats() { return kPaletteFormats; }

const PaletteFormat* paletteFormatOf(std::string_view path) {
    const std::string_view extension = extensionOf(path);
    for (const PaletteFormat& format : kPaletteFormats)
        if (extension.size() == format.extension.size() && extensionStartsWith(path, format.extension)) return &format;
    return nullptr;
}

int readPaletteFile(const std::filesystem::path& path, PaletteColours& colours, std::string& reason) {
    const PaletteFormat* format = paletteFormatOf(path.string());
    if (format == nullptr) {
        reason = "it is no palette: palettes are read from .gpl, .hex, .pal and .png files";
        return 0;
    }
    std::string bytes;
    if (!readRegularFile(path, {kMaxPaletteFileBytes}, bytes, reason)) return 0;
    return format->read({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, colours, reason);
}

int writePaletteFile(const std::filesystem::path& path, std::span<const std::uint32_t> colours,
                     std::span<const std::string> names, std::string& reason) {
    const PaletteFormat* format = paletteFormatOf(path.string());
    if (format == nullptr || format->write == nullptr) {
        reason = "palettes are written as .gpl or .hex";
        return 0;
    }
    return writeFileAtomically(path, format->write(colours, names), reason);
}

}  // namespace cubrik
