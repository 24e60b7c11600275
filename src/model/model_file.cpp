#include "model/model_file.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "io/atomic_file.h"
#include "io/regular_file.h"
#include "io/text_format.h"
#include "model/material.h"

namespace cubrik {
namespace {

constexpr std::string_view kHeader = "#CUBIC-100";
constexpr std::string_view kMaterialSection = "#MATERIAL";
constexpr std::string_view kObjectSection = "#OBJECT";
constexpr std::string_view kSliceSection = "#SLICE";
// The reader takes at most this many bytes a line; the rest of a longer line
// is read as the next line.
constexpr std::size_t kMaxLineBytes = 127;
// The header, the 32 colours, "#OBJECT" and 100 slices of a "#SLICE" line
// and 100 rows: no reading goes past this many lines of at most 127 bytes,
// so the rest of a longer file, which reading ignores, is never read.
constexpr std::size_t kFileLines = 35 + 100 * 101;
constexpr ReadLimit kReadLimit{kFileLines * kMaxLineBytes, true};

constexpr std::array<char, 256> makeCharOfCode() {
    std::array<char, 256> table{};
    for (int code = 0; code < 256; ++code) {
        if (code == 0) table[code] = '+';
        else if (code <= 16) table[code] = static_cast<char>(code + 64);
        else if (code <= 32) table[code] = static_cast<char>(code + 80);
        else if (code <= 127) table[code] = '-';
        else table[code] = '+';
    }
    return table;
}

// Below "A" and from 128 up: empty. "A" to the grave accent: c - 64.
// "a" to "p": c - 80. "q" and above would exceed the codes the model holds:
// empty as well.
constexpr std::array<std::uint8_t, 256> makeCodeOfChar() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 'A'; c <= '`'; ++c) table[c] = static_cast<std::uint8_t>(c - 64);
    for (int c = 'a'; c <= 'p'; ++c) table[c] = static_cast<std::uint8_t>(c - 80);
    return table;
}

constexpr auto kCharOfCode = makeCharOfCode();
constexpr auto kCodeOfChar = makeCodeOfChar();

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line without its CR LF or LF, or false at the end of the text.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        lineNumber_ = nextLineNumber_;
        const std::size_t limit = std::min(text_.size(), pos_ + kMaxLineBytes);
        std::size_t end = pos_;
        while (end < limit && text_[end] != '\n') ++end;
        const bool complete = end < limit;  // stopped at a line feed
        line = text_.substr(pos_, end - pos_);
        pos_ = complete ? end + 1 : end;
        if (complete) ++nextLineNumber_;
        else if (pos_ < text_.size() && firstLongLine_ == 0) firstLongLine_ = lineNumber_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

    int lineNumber() const { return lineNumber_; }
    int firstLongLine() const { return firstLongLine_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    int nextLineNumber_ = 1;
    int firstLongLine_ = 0;
};

class Parser {
public:
    Parser(std::string_view text, std::string& reason) : lines_(text), reason_(reason) {}

    bool expectSection(std::string_view section) {
        std::string_view line;
        if (!nextLine(line, section)) return false;
        if (line == section) return true;
        return fail(lines_.lineNumber(), "expected \"" + std::string(section) + "\"");
    }

    bool nextLine(std::string_view& line, std::string_view expected) {
        if (lines_.next(line)) return true;
        return fail(lines_.lineNumber() + 1,
                    "the file ends early, expected " + std::string(expected));
    }

private:
    bool fail(int lineNumber, std::string what) {
        // A split line shifts every later line, so it is the real cause.
        if (lines_.firstLongLine() != 0 && lines_.firstLongLine() < lineNumber)
            reason_ = "line " + std::to_string(lines_.firstLongLine()) + ": longer than 127 characters";
        else
            reason_ = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    }

    LineReader lines_;
    std::string& reason_;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to six hexadecimal digits after leading blanks; false when there are none.
bool parsePackedColour(std::string_view line, std::uint32_t& packed) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::uint32_t value = 0;
    int digits = 0;
    for (; i < line.size() && digits < 6; ++i, ++digits) {
        const int d = hexDigit(line[i]);
        if (d < 0) break;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    if (digits == 0) return false;
    packed = value;
    return true;
}

void appendColourLine(std::string& out, const Rgb& colour) {
    appendHex6(out, packColour(colour));
    out += "\r\n";
}

}  // namespace

std::string formatModelFile(const VoxelModel& model) {
    std::string out;
    out.reserve(35 * 12 + 100 * (8 + 100 * 102));
    out.append(kHeader).append("\r\n");
    out.append(kMaterialSection).append("\r\n");
    for (const Rgb& colour : model.paletteA) appendColourLine(out, colour);
    for (const Rgb& colour : model.paletteB) appendColourLine(out, colour);
    out.append(kObjectSection).append("\r\n");
    char row[kGridSize + 2];
    row[kGridSize] = '\r';
    row[kGridSize + 1] = '\n';
    for (int z = kGridSize - 1; z >= 0; --z) {
        out.append(kSliceSection).append("\r\n");
        for (int y = kGridSize - 1; y >= 0; --y) {
            const std::uint8_t* cells = model.cells + cellIndex(0, y, z);
            for (int x = 0; x < kGridSize; ++x) row[x] = kCharOfCode[cells[x]];
            out.append(row, sizeof row);
        }
    }
    return out;
}

int parseModelFile(std::string_view text, ModelFileContents& out, std::string& reason) {
    Parser parser(text, reason);
    std::string_view line;
    if (!parser.expectSection(kHeader) || !parser.expectSection(kMaterialSection)) return 0;
    std::uint32_t packed = 0;  // a line without a colour keeps the one before
    for (int i = 0; i < 2 * kPaletteSize; ++i) {
        if (!parser.nextLine(line, "a colour line")) return 0;
        parsePackedColour(line, packed);
        Rgb& colour = i < kPaletteSize ? out.paletteA[i] : out.paletteB[i - kPaletteSize];
        colour = unpackColour(packed);
    }
    if (!parser.expectSection(kObjectSection)) return 0;
    out.cells.assign(kCellCount, kEmpty);
    for (int z = kGridSize - 1; z >= 0; --z) {
        if (!parser.expectSection(kSliceSection)) return 0;
        for (int y = kGridSize - 1; y >= 0; --y) {
            if (!parser.nextLine(line, "a row of cells")) return 0;
            std::uint8_t* cells = out.cells.data() + cellIndex(0, y, z);
            const std::size_t columns = std::min<std::size_t>(line.size(), kGridSize);
            for (std::size_t x = 0; x < columns; ++x)
                cells[x] = kCodeOfChar[static_cast<unsigned char>(line[x])];
        }
    }
    return 1;
}

int loadModelFile(const std::filesystem::path& path, ModelFileContents& out, std::string& reason) {
    std::string text;
    if (!readRegularFile(path, kReadLimit, text, reason)) return 0;
    std::string why;
    if (!parseModelFile(text, out, why)) {
        reason = path.string() + " " + why;
        return 0;
    }
    return 1;
}

void applyModelFile(const ModelFileContents& contents, VoxelModel& model) {
    std::copy(std::begin(contents.paletteA), std::end(contents.paletteA), model.paletteA);
    std::copy(std::begin(contents.paletteB), std::end(contents.paletteB), model.paletteB);
    std::memcpy(model.cells, contents.cells.data(), kCellCount);
}

int readModelFile(const std::filesystem::path& path, VoxelModel& model, std::string& reason) {
    ModelFileContents contents;
    if (!loadModelFile(path, contents, reason)) return 0;
    applyModelFile(contents, model);
    return 1;
}

int writeModelFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason) {
    return writeFileAtomically(path, formatModelFile(model), reason);
}

}  // namespace cubrik
