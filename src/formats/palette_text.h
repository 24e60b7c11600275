#pragma once
// What the text palette readers share: lines, decimal channels and where a
// problem lies.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/palette_codecs.h"

namespace cubrik {

// The lines of a text file without their line ends ("\n" or "\r\n") or
// trailing blanks, a leading byte-order mark dropped; numbered from 1.
class TextLines {
public:
    explicit TextLines(std::span<const std::uint8_t> bytes);
    bool next(std::string_view& line);
    int number() const { return number_; }

private:
    std::string_view rest_;
    int number_ = 0;
};

// Reads one decimal channel 0..255 after any blanks from the start of
// `text`, and the blanks after it; false when there is none.
bool readChannel(std::string_view& text, unsigned& value);

// Reads the decimal channels "R G B" (separated by blanks or tabs) at the
// start of `line` into 0xRRGGBB; `rest` is what follows them. False when they
// are not three numbers 0..255.
bool readDecimalRgb(std::string_view line, std::uint32_t& colour, std::string_view& rest);

// Adds a colour read from a file, unless kMaxPaletteFileColours are kept already.
void keepColour(PaletteColours& colours, std::uint32_t colour);

// 1 when the file gave colours, else 0 with `reason`.
int someColoursRead(const PaletteColours& colours, std::string& reason);

// "line 4: " + what.
std::string lineProblem(int line, const std::string& what);

}  // namespace cubrik
