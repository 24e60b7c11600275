#include <charconv>

#include "formats/palette_text.h"

namespace cubrik {

// "JASC-PAL", "0100", the number of colours, then that many lines "R G B"
// (a fourth number, alpha, is allowed and ignored); blank lines may follow.
int parseJascPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason) {
    colours.clear();
    TextLines lines(bytes);
    std::string_view line;
    if (!lines.next(line) || line != "JASC-PAL" || !lines.next(line) || line != "0100") {
        reason = "it does not begin with \"JASC-PAL\" and \"0100\"";
        return 0;
    }
    unsigned count = 0;
    if (!lines.next(line)) line = {};
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), count);
    if (error != std::errc() || end != line.data() + line.size() || count == 0) {
        reason = lineProblem(3, "expected the number of colours");
        return 0;
    }
    for (unsigned read = 0; read < count; ++read) {
        if (!lines.next(line)) {
            reason = "it ends after " + std::to_string(read) + " of its " + std::to_string(count) + " colours";
            return 0;
        }
        std::uint32_t colour = 0;
        std::string_view rest;
        unsigned alpha = 0;
        if (!readDecimalRgb(line, colour, rest) || (!rest.empty() && (!readChannel(rest, alpha) || !rest.empty()))) {
            reason = lineProblem(lines.number(), "expected red, green and blue from 0 to 255");
            return 0;
        }
        keepColour(colours, colour);
    }
    while (lines.next(line))
        if (!line.empty()) {
            reason = lineProblem(lines.number(), "more colours than line 3 says");
            return 0;
        }
    return 1;
}

}  // namespace cubrik
