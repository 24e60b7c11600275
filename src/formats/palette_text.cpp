#include "formats/palette_text.h"

#include <charconv>

namespace cubrik {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return text.substr(i);
}

}  // namespace

TextLines::TextLines(std::span<const std::uint8_t> bytes)
    : rest_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {
    if (rest_.substr(0, 3) == "\xEF\xBB\xBF") rest_.remove_prefix(3);
}

bool TextLines::next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    while (!line.empty() && (line.back() == '\r' || isBlank(line.back()))) line.remove_suffix(1);
    ++number_;
    return true;
}

bool readChannel(std::string_view& text, unsigned& value) {
    text = skipBlanks(text);
    value = 256;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value > 255) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && !isBlank(text.front())) return false;
    text = skipBlanks(text);
    return true;
}

bool readDecimalRgb(std::string_view line, std::uint32_t& colour, std::string_view& rest) {
    colour = 0;
    rest = line;
    for (int channel = 0; channel < 3; ++channel) {
        unsigned value = 0;
        if (!readChannel(rest, value)) return false;
        colour = colour << 8 | value;
    }
    return true;
}

void keepColour(PaletteColours& colours, std::uint32_t colour) {
    if (colours.size() < kMaxPaletteFileColours) colours.push_back(colour);
}

int someColoursRead(const PaletteColours& colours, std::string& reason) {
    if (!colours.empty()) return 1;
    reason = "it holds no colours";
    return 0;
}

std::string lineProblem(int line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

}  // namespace cubrik
