#include <charconv>

#include "formats/palette_text.h"
#include "io/text_format.h"

namespace cubrik {

// One RRGGBB a line, in either letter case, "#" before it allowed; blank
// lines are skipped.
int parseHexPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason) {
    colours.clear();
    TextLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        if (line.empty()) continue;
        if (line.front() == '#') line.remove_prefix(1);
        std::uint32_t colour = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), colour, 16);
        if (line.size() != 6 || error != std::errc() || end != line.data() + line.size()) {
            reason = lineProblem(lines.number(), "expected a colour as six hexadecimal digits, RRGGBB");
            return 0;
        }
        keepColour(colours, colour);
    }
    return someColoursRead(colours, reason);
}

std::string formatHexPalette(std::span<const std::uint32_t> colours, std::span<const std::string>) {
    std::string text;
    for (const std::uint32_t colour : colours) {
        appendHex6(text, colour);
        text += '\n';
    }
    return text;
}

}  // namespace cubrik
