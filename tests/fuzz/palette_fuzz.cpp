// Every palette reader on the same arbitrary bytes: each refuses with a
// reason or gives 1 to 256 colours of 24 bits, never reading past its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/palette_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Reader = int (*)(std::span<const std::uint8_t>, cubrik::PaletteColours&, std::string&);
    for (Reader read : {cubrik::parseGimpPalette, cubrik::parseHexPalette, cubrik::parseJascPalette,
                        cubrik::parsePngPalette}) {
        cubrik::PaletteColours colours;
        std::string reason;
        if (read({data, size}, colours, reason)) {
            if (colours.empty() || colours.size() > cubrik::kMaxPaletteFileColours) std::abort();
            for (std::uint32_t colour : colours)
                if (colour > 0xffffff) std::abort();
        } else if (reason.empty()) {
            std::abort();
        }
    }
    return 0;
}
