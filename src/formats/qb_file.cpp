#include "formats/qb_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "formats/byte_reader.h"
#include "formats/scene_bounds.h"
#include "formats/vox_colours.h"
#include "io/atomic_file.h"
#include "model/material.h"

namespace cubrik {
namespace {

constexpr std::uint32_t kCodeFlag = 2;       // a run: count, then the colour
constexpr std::uint32_t kNextSliceFlag = 6;  // the rest of this z slice is empty
constexpr std::uint32_t kMaxMatrixSide = 1024;
// What a hostile file may make the reader walk: matrices, and their cells in all.
constexpr std::uint32_t kMaxMatrices = 4096;
constexpr std::uint64_t kMaxTotalCells = std::uint64_t{1} << 26;
constexpr char kMatrixName[] = "cubrik";
// The largest file worth reading: the header, every matrix's name and fields,
// four bytes a cell and a slice-end code for each slice. A compressed matrix
// is never larger than that unless it spends runs on single cells.
constexpr std::uint64_t kMaxFileBytes = 24 + std::uint64_t{kMaxMatrices} * (1 + 255 + 24) + 4 * kMaxTotalCells +
                                        4 * std::uint64_t{kMaxMatrices} * kMaxMatrixSide;

struct QbHeader {
    bool bgra = false;
    bool rightHanded = true;
    bool compressed = false;
    std::uint32_t matrixCount = 0;
};

struct Matrix {
    std::uint32_t size[3];
    std::int64_t position[3];
    std::span<const std::uint8_t> data;  // from the first cell to the end of the matrix
};

std::string matrixLabel(std::size_t index) { return "matrix " + std::to_string(index + 1); }

// Calls visit(x, y, z, colour) for every cell the matrix data stores, colour
// as the 32-bit little-endian value. False with `reason` when the data is
// damaged; `reader` then stands at the end of the matrix.
template <class Visit>
bool decodeMatrix(ByteReader& reader, const Matrix& m, bool compressed, std::size_t index, std::string& reason,
                  Visit visit) {
    const std::uint32_t sx = m.size[0], sy = m.size[1], sz = m.size[2];
    if (!compressed) {
        if (std::uint64_t{sx} * sy * sz * 4 > reader.left()) {
            reason = "the file ends inside " + matrixLabel(index);
            return false;
        }
        for (std::uint32_t z = 0; z < sz; ++z)
            for (std::uint32_t y = 0; y < sy; ++y)
                for (std::uint32_t x = 0; x < sx; ++x) visit(x, y, z, reader.u32());
        return true;
    }
    const std::uint64_t sliceCells = std::uint64_t{sx} * sy;
    for (std::uint32_t z = 0; z < sz; ++z) {
        std::uint64_t at = 0;
        for (;;) {
            std::uint32_t value = reader.u32();
            std::uint64_t count = 1;
            if (value == kNextSliceFlag) break;
            if (value == kCodeFlag) {
                count = reader.u32();
                value = reader.u32();
            }
            if (reader.failed) {
                reason = "the file ends inside " + matrixLabel(index);
                return false;
            }
            if (count > sliceCells - at) {
                reason = matrixLabel(index) + " stores more cells in a slice than it holds";
                return false;
            }
            for (std::uint64_t end = at + count; at < end; ++at)
                visit(static_cast<std::uint32_t>(at % sx), static_cast<std::uint32_t>(at / sx), z, value);
        }
    }
    return true;
}

bool readHeader(ByteReader& reader, QbHeader& header, std::string& reason) {
    reader.u32();  // version: every version so far shares this layout
    const std::uint32_t colourFormat = reader.u32();
    const std::uint32_t zAxis = reader.u32();
    const std::uint32_t compressed = reader.u32();
    reader.u32();  // a visibility mask in the alpha byte still leaves 0 for empty cells
    header.matrixCount = reader.u32();
    if (reader.failed) {
        reason = "the file ends inside the .qb header";
        return false;
    }
    if (colourFormat > 1 || zAxis > 1 || compressed > 1) {
        reason = "not a .qb file (colour format " + std::to_string(colourFormat) + ", z axis " + std::to_string(zAxis) +
                 ", compression " + std::to_string(compressed) + ")";
        return false;
    }
    if (header.matrixCount > kMaxMatrices) {
        reason = "the file has " + std::to_string(header.matrixCount) + " matrices; Cubrik reads at most " +
                 std::to_string(kMaxMatrices);
        return false;
    }
    header.bgra = colourFormat == 1;
    header.rightHanded = zAxis == 1;
    header.compressed = compressed == 1;
    return true;
}

bool readMatrices(ByteReader& reader, const QbHeader& header, std::vector<Matrix>& matrices, std::string& reason) {
    std::uint64_t totalCells = 0;
    for (std::size_t index = 0; index < header.matrixCount; ++index) {
        // A file that ends where a matrix would begin holds the matrices read
        // so far: a peer editor writes a count one too high and reads such
        // files itself.
        if (index > 0 && reader.left() == 0) break;
        Matrix m;
        reader.take(reader.u8());  // the name
        for (std::uint32_t& side : m.size) side = reader.u32();
        for (std::int64_t& p : m.position) p = reader.i32();
        if (reader.failed) {
            reason = "the file ends inside " + matrixLabel(index);
            return false;
        }
        for (std::uint32_t side : m.size)
            if (side < 1 || side > kMaxMatrixSide) {
                reason = matrixLabel(index) + " has the size " + std::to_string(m.size[0]) + " x " +
                         std::to_string(m.size[1]) + " x " + std::to_string(m.size[2]);
                return false;
            }
        totalCells += std::uint64_t{m.size[0]} * m.size[1] * m.size[2];
        if (totalCells > kMaxTotalCells) {
            reason = "the file holds more cells than Cubrik can take";
            return false;
        }
        const std::size_t start = reader.at;
        if (!decodeMatrix(reader, m, header.compressed, index, reason, [](auto, auto, auto, auto) {})) return false;
        m.data = reader.bytes.subspan(start, reader.at - start);
        matrices.push_back(m);
    }
    return true;
}

// Colours numbered in the order first met, through a small open-addressing
// table: a model's million cells mostly repeat a few colours.
struct ColourTable {
    std::vector<std::uint32_t> colours;  // 0xRRGGBB by number
    std::vector<std::uint32_t> counts;
    std::vector<std::uint32_t> slots = std::vector<std::uint32_t>(1024, 0);  // number + 1, or 0 when free

    std::uint32_t number(std::uint32_t rgb) {
        for (std::size_t i = hash(rgb);; i = (i + 1) & (slots.size() - 1)) {
            if (slots[i] == 0) {
                colours.push_back(rgb);
                counts.push_back(0);
                slots[i] = static_cast<std::uint32_t>(colours.size());
                if (colours.size() * 2 > slots.size()) grow();
                return static_cast<std::uint32_t>(colours.size() - 1);
            }
            if (colours[slots[i] - 1] == rgb) return slots[i] - 1;
        }
    }
    std::size_t hash(std::uint32_t rgb) const {
        return (rgb * 0x9e3779b1u >> 8) & (slots.size() - 1);
    }
    void grow() {
        slots.assign(slots.size() * 2, 0);
        for (std::size_t n = 0; n < colours.size(); ++n) {
            std::size_t i = hash(colours[n]);
            while (slots[i] != 0) i = (i + 1) & (slots.size() - 1);
            slots[i] = static_cast<std::uint32_t>(n + 1);
        }
    }
};

// 0xRRGGBB of a cell read as a little-endian value of bytes R, G, B, A or B, G, R, A.
std::uint32_t rgbOf(std::uint32_t value, bool bgra) {
    return bgra ? value & 0xffffff : (value & 0xff) << 16 | (value & 0xff00) | (value >> 16 & 0xff);
}

// Places the matrices in the grid as colour numbers + 1 (0 for empty cells).
bool placeMatrices(const QbHeader& header, const std::vector<Matrix>& matrices, std::vector<std::uint32_t>& numbers,
                   ColourTable& table, std::string& reason) {
    // Each matrix's box in cell axes; a right-handed file's z is mirrored.
    auto boxStart = [&](const Matrix& m, int axis) {
        return axis == 2 && header.rightHanded ? -m.position[2] - std::int64_t{m.size[2]} : m.position[axis];
    };
    SceneBounds bounds;
    for (std::size_t i = 0; i < matrices.size(); ++i)
        for (int axis = 0; axis < 3; ++axis) {
            const std::int64_t start = boxStart(matrices[i], axis);
            bounds.include(axis, start, start + matrices[i].size[axis], i == 0);
        }
    std::int64_t shift[3];
    if (!bounds.centringShift(shift, reason)) return false;
    numbers.assign(kCellCount, 0);
    std::uint32_t lastValue = 0, lastNumber = 0;
    bool haveLast = false;
    for (std::size_t index = 0; index < matrices.size(); ++index) {
        const Matrix& m = matrices[index];
        const int x0 = static_cast<int>(boxStart(m, 0) + shift[0]);
        const int y0 = static_cast<int>(boxStart(m, 1) + shift[1]);
        const int z0 = static_cast<int>(boxStart(m, 2) + shift[2]);
        const int zLast = static_cast<int>(m.size[2]) - 1;
        ByteReader reader{m.data};
        auto place = [&](std::uint32_t x, std::uint32_t y, std::uint32_t z, std::uint32_t value) {
            if (value >> 24 == 0) return;  // alpha 0: empty
            const int depth = header.rightHanded ? zLast - static_cast<int>(z) : static_cast<int>(z);
            std::uint32_t& cell = numbers[cellIndex(x0 + static_cast<int>(x), y0 + static_cast<int>(y), z0 + depth)];
            if (cell != 0) return;
            if (!haveLast || value != lastValue) {
                lastNumber = table.number(rgbOf(value, header.bgra));
                lastValue = value;
                haveLast = true;
            }
            cell = lastNumber + 1;
            ++table.counts[lastNumber];
        };
        decodeMatrix(reader, m, header.compressed, index, reason, place);
    }
    return true;
}

}  // namespace

std::string formatQb(const VoxelModel& model) {
    const std::size_t nameLength = sizeof kMatrixName - 1;
    std::string out(24 + 1 + nameLength + 24 + std::size_t{4} * kCellCount, '\0');
    auto put32 = [](char* at, std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>(value >> shift & 0xff);
        return at;
    };
    char* at = out.data();
    // Version 1.1.0.0, RGBA, right-handed, uncompressed, no visibility mask, one matrix.
    for (std::uint32_t field : {0x00000101u, 0u, 1u, 0u, 0u, 1u}) at = put32(at, field);
    *at++ = static_cast<char>(nameLength);
    std::memcpy(at, kMatrixName, nameLength);
    at += nameLength;
    constexpr std::uint32_t kSide = kGridSize;
    for (std::uint32_t field : {kSide, kSide, kSide, 0u, 0u, 0u}) at = put32(at, field);  // size, position
    // The bytes of every code: its palette colour, alpha 255; empty is all 0.
    std::uint8_t colours[kLastCode + 1][4] = {};
    for (int code = kFirstCodeA; code <= kLastCode; ++code) {
        const Rgb& c = isMaterialA(static_cast<std::uint8_t>(code)) ? model.paletteA[code - kFirstCodeA]
                                                                     : model.paletteB[code - kFirstCodeB];
        colours[code][0] = channelByte(c.r);
        colours[code][1] = channelByte(c.g);
        colours[code][2] = channelByte(c.b);
        colours[code][3] = 0xff;
    }
    // x fastest, then y, then z; file z is cell 99 - z.
    for (int z = kGridSize - 1; z >= 0; --z) {
        const std::uint8_t* row = model.cells + cellIndex(0, 0, z);
        for (int i = 0; i < kGridSize * kGridSize; ++i, at += 4)
            if (row[i] <= kLastCode) std::memcpy(at, colours[row[i]], 4);
    }
    return out;
}

int writeQbFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason) {
    return writeFileAtomically(path, formatQb(model), reason);
}

int parseQb(std::span<const std::uint8_t> bytes, VoxContents& out, std::string& reason) {
    ByteReader reader{bytes};
    QbHeader header;
    std::vector<Matrix> matrices;
    if (!readHeader(reader, header, reason) || !readMatrices(reader, header, matrices, reason)) return 0;
    std::vector<std::uint32_t> numbers;
    ColourTable table;
    if (!placeMatrices(header, matrices, numbers, table, reason)) return 0;

    std::vector<std::uint8_t> codes(table.colours.size());
    VoxContents read;
    read.coloursMerged = reduceColours(table.colours, table.counts, codes, read.paletteA, read.paletteB);
    read.cells.resize(kCellCount);
    for (std::size_t i = 0; i < numbers.size(); ++i) read.cells[i] = numbers[i] == 0 ? 0 : codes[numbers[i] - 1];
    if (matrices.size() > 1) read.notes = std::to_string(matrices.size()) + " matrices merged";
    if (matrices.size() < header.matrixCount)
        read.notes += (read.notes.empty() ? "" : "; ") + std::string("the header counts ") +
                      std::to_string(header.matrixCount) + " matrices, the file holds " + std::to_string(matrices.size());
    if (read.coloursMerged) read.notes += (read.notes.empty() ? "" : "; ") + std::string("colours reduced to 32");
    out = std::move(read);
    return 1;
}

int loadQbFile(const std::filesystem::path& path, VoxContents& out, std::string& reason) {
    return loadAndParse(path, kMaxFileBytes, out, reason, parseQb);
}

}  // namespace cubrik
