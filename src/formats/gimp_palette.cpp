#include <string_view>

#include "formats/palette_text.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

constexpr std::string_view kHeader = "GIMP Palette";

void appendPadded(std::string& out, unsigned value) {
    const std::string digits = std::to_string(value);
    out.append(3 - digits.size(), ' ').append(digits);
}

}  // namespace

// A header line, then "Name:" and "Columns:" lines, "#" comments, blank
// lines and colour lines "R G B name".
int parseGimpPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason) {
    colours.clear();
    TextLines lines(bytes);
    std::string_view line;
    if (!lines.next(line) || line != kHeader) {
        reason = "it does not begin with \"GIMP Palette\"";
        return 0;
    }
    while (lines.next(line)) {
        if (line.empty() || line.front() == '#' || line.starts_with("Name:") || line.starts_with("Columns:")) continue;
        std::uint32_t colour = 0;
        std::string_view name;
        if (!readDecimalRgb(line, colour, name)) {
            reason = lineProblem(lines.number(), "expected red, green and blue from 0 to 255, then a name");
            return 0;
        }
        keepColour(colours, colour);
    }
    return someColoursRead(colours, reason);
}

std::string formatGimpPalette(std::span<const std::uint32_t> colours, std::span<const std::string> names) {
    std::string text = std::string(kHeader) + "\nName: Cubrik\nColumns: 16\n#\n";
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (int shift : {16, 8, 0}) {
            if (shift != 16) text += ' ';
            appendPadded(text, colours[i] >> shift & 0xff);
        }
        text.append("\t").append(i < names.size() ? names[i] : "Untitled").append("\n");
    }
    return text;
}

}  // namespace cubrik
