#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "formats/qb_file.h"
#include "model/material.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Position = std::array<int, 3>;

void put32(Bytes& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xff));
}

// A colour as its four bytes in file order, read as a little-endian value.
constexpr std::uint32_t bytes4(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return b0 | b1 << 8 | b2 << 16 | std::uint32_t{b3} << 24;
}

struct QbMatrix {
    int size[3];
    int position[3];
    std::vector<std::uint32_t> cells;  // x fastest, then y, then z
};

// Compressed matrices store every cell on its own, each slice ended by code 6.
Bytes qbFile(std::uint32_t colourFormat, std::uint32_t zAxis, std::uint32_t compressed,
             std::initializer_list<QbMatrix> matrices) {
    Bytes out;
    for (std::uint32_t field : {0x00000101u, colourFormat, zAxis, compressed, 0u}) put32(out, field);
    put32(out, static_cast<std::int64_t>(matrices.size()));
    for (const QbMatrix& m : matrices) {
        out.insert(out.end(), {2, 'm', '1'});
        for (int side : m.size) put32(out, side);
        for (int p : m.position) put32(out, p);
        const std::size_t slice = static_cast<std::size_t>(m.size[0] * m.size[1]);
        for (std::size_t i = 0; i < m.cells.size(); ++i) {
            put32(out, m.cells[i]);
            if (compressed && (i + 1) % slice == 0) put32(out, 6);
        }
    }
    return out;
}

constexpr std::uint32_t kRed = bytes4(0xff, 0, 0, 0xff), kBlue = bytes4(0, 0, 0xff, 0xff),
                        kGreen = bytes4(0, 0x80, 0, 0xff), kNone = bytes4(0xff, 0xff, 0xff, 0);

// Matrix 1 (2 x 1 x 2 at the origin): red at (0, 0, 0), blue at (1, 0, 1).
// Matrix 2 (1 x 2 x 1 at (5, 3, -2)): green, then an empty cell above it.
std::initializer_list<QbMatrix> twoMatrices() {
    static const std::initializer_list<QbMatrix> matrices = {
        {{2, 1, 2}, {0, 0, 0}, {kRed, kNone, kNone, kBlue}}, {{1, 2, 1}, {5, 3, -2}, {kGreen, kNone}}};
    return matrices;
}

// Filled cells by position, as the RGB of their palette colour, moved so
// that the lowest position on each axis is 0.
std::map<Position, std::uint32_t> colouredCells(const VoxContents& out) {
    std::map<Position, std::uint32_t> cells;
    Position low = {kGridSize, kGridSize, kGridSize};
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x)
                if (const std::uint8_t code = out.cells[cellIndex(x, y, z)]; code != 0) {
                    cells[{x, y, z}] = packColour(isMaterialA(code) ? out.paletteA[code - kFirstCodeA]
                                                                    : out.paletteB[code - kFirstCodeB]);
                    low = {std::min(low[0], x), std::min(low[1], y), std::min(low[2], z)};
                }
    std::map<Position, std::uint32_t> moved;
    for (const auto& [p, rgb] : cells) moved[{p[0] - low[0], p[1] - low[1], p[2] - low[2]}] = rgb;
    return moved;
}

std::map<Position, std::uint32_t> readCells(const Bytes& file) {
    VoxContents out;
    std::string reason;
    EXPECT_EQ(parseQb(file, out, reason), 1) << reason;
    return colouredCells(out);
}

TEST(QbFile, CubriksOwnFileReopensWithEveryCellInPlaceAndEveryColourExact) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    testing::fillRandom(m, 20240612);
    testing::setCell(m, 0, 0, 99, 5);  // the file's first cell
    testing::setCell(m, 99, 99, 0, 20);
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writeQbFile(dir / "m.qb", m, reason), 1) << reason;
    VoxContents back;
    ASSERT_EQ(loadQbFile(dir / "m.qb", back, reason), 1) << reason;
    ASSERT_EQ(back.cells.size(), static_cast<std::size_t>(kCellCount));
    EXPECT_FALSE(back.coloursMerged);
    const auto colourOf = [](const Rgb* a, const Rgb* b, std::uint8_t code) {
        return packColour(isMaterialA(code) ? a[code - kFirstCodeA] : b[code - kFirstCodeB]);
    };
    long wrong = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const std::uint8_t was = m.cells[i], is = back.cells[i];
        if ((was == 0) != (is == 0) ||
            (was != 0 && colourOf(m.paletteA, m.paletteB, was) != colourOf(back.paletteA, back.paletteB, is)))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);

    // The header: version 1.1.0.0, RGBA, right-handed, uncompressed, one
    // 100-cube matrix at the origin; cell (0, 0, 99) first, alpha 255.
    const std::string file = formatQb(m);
    EXPECT_EQ(file.size(), 24u + 7 + 24 + 4000000);
    EXPECT_EQ(file.substr(0, 24), std::string("\1\1\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0", 24));
    EXPECT_EQ(file.substr(24, 7), "\6cubrik");
    EXPECT_EQ(file.substr(31, 24), std::string("d\0\0\0d\0\0\0d\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 24));
    const std::uint32_t corner = packColour(m.paletteA[4]);
    EXPECT_EQ(file.substr(55, 4), std::string({char(corner >> 16), char(corner >> 8), char(corner), '\xff'}));
    EXPECT_EQ(writeQbFile(dir / "missing" / "m.qb", m, reason), 0);
}

TEST(QbFile, MatricesArePlacedByTheirPositionsInEitherHandednessAndColourOrder) {
    const std::uint32_t red = 0xff0000, blue = 0x0000ff, green = 0x008000;
    // Left-handed: z as stored. Green sits at (5, 3, -2) against red at (0, 0, 0).
    const std::map<Position, std::uint32_t> left = {{{0, 0, 2}, red}, {{1, 0, 3}, blue}, {{5, 3, 0}, green}};
    EXPECT_EQ(readCells(qbFile(0, 0, 0, twoMatrices())), left);
    EXPECT_EQ(readCells(qbFile(0, 0, 1, twoMatrices())), left);
    // Right-handed: z mirrored, within matrices and between them.
    const std::map<Position, std::uint32_t> right = {{{0, 0, 1}, red}, {{1, 0, 0}, blue}, {{5, 3, 3}, green}};
    EXPECT_EQ(readCells(qbFile(0, 1, 0, twoMatrices())), right);
    EXPECT_EQ(readCells(qbFile(0, 1, 1, twoMatrices())), right);
    // BGRA: the same bytes with red and blue swapped.
    const std::map<Position, std::uint32_t> bgra = {{{0, 0, 1}, blue}, {{1, 0, 0}, red}, {{5, 3, 3}, green}};
    EXPECT_EQ(readCells(qbFile(1, 1, 1, twoMatrices())), bgra);

    // Colours take slots in the order first met; the grid is centred on the
    // matrices' boxes, 6 x 5 x 4 cells.
    VoxContents out;
    std::string reason;
    ASSERT_EQ(parseQb(qbFile(0, 0, 0, twoMatrices()), out, reason), 1) << reason;
    EXPECT_EQ(out.cells[cellIndex(47, 47, 50)], 1);
    EXPECT_EQ(out.cells[cellIndex(48, 47, 51)], 2);
    EXPECT_EQ(out.cells[cellIndex(52, 50, 48)], 3);
    EXPECT_EQ(packColour(out.paletteA[2]), green);
    EXPECT_EQ(out.notes, "2 matrices merged");
}

TEST(QbFile, RunsAndSliceEndsOfACompressedMatrixFillTheirCells) {
    // One 3 x 2 x 2 matrix: slice 0 is a run of three reds, then blue, and
    // ends early; slice 1 is empty, ended at once.
    Bytes file;
    for (std::uint32_t field : {0x00000101u, 0u, 1u, 1u, 0u, 1u}) put32(file, field);
    file.push_back(0);  // no name
    for (int field : {3, 2, 2, 0, 0, 0}) put32(file, field);
    for (std::uint32_t value : {2u, 3u, kRed, kBlue, 6u, 6u}) put32(file, value);
    const std::map<Position, std::uint32_t> expected = {
        {{0, 0, 0}, 0xff0000}, {{1, 0, 0}, 0xff0000}, {{2, 0, 0}, 0xff0000}, {{0, 1, 0}, 0x0000ff}};
    EXPECT_EQ(readCells(file), expected);
    VoxContents out;
    std::string reason;
    file[file.size() - 20] = 7;  // a run of 7 in a slice of 6
    EXPECT_EQ(parseQb(file, out, reason), 0);
    EXPECT_EQ(reason, "matrix 1 stores more cells in a slice than it holds");
    // Runs of 3 and then 4 overflow the slice together, though each fits alone.
    file.resize(file.size() - 12);
    for (std::uint32_t value : {2u, 4u, kBlue, 6u, 6u}) put32(file, value);
    file[file.size() - 28] = 3;
    EXPECT_EQ(parseQb(file, out, reason), 0);
    EXPECT_EQ(reason, "matrix 1 stores more cells in a slice than it holds");
}

// A peer editor writes a header counting one matrix more than the file holds.
TEST(QbFile, AFileEndingWhereAMatrixWouldBeginHoldsTheMatricesBeforeIt) {
    Bytes file = qbFile(0, 1, 0, {*twoMatrices().begin()});
    file[20] = 2;
    const std::map<Position, std::uint32_t> first = {{{0, 0, 1}, 0xff0000}, {{1, 0, 0}, 0x0000ff}};
    VoxContents out;
    std::string reason;
    ASSERT_EQ(parseQb(file, out, reason), 1) << reason;
    EXPECT_EQ(colouredCells(out), first);
    EXPECT_EQ(out.notes, "the header counts 2 matrices, the file holds 1");
    file.pop_back();  // now it ends inside the matrix
    EXPECT_EQ(parseQb(file, out, reason), 0);
    EXPECT_EQ(reason, "the file ends inside matrix 1");
}

TEST(QbFile, DamagedFilesAreRefusedWithOneReasonAndNoOutput) {
    VoxContents out;
    out.cells.assign(1, 99);  // must survive every refusal
    std::string reason;
    for (const Bytes& good : {qbFile(0, 1, 0, twoMatrices()), qbFile(1, 0, 1, twoMatrices())})
        for (std::size_t length = 0; length < good.size(); ++length) {
            if (length == good.size() - (3 + 24 + 8 + (good[12] ? 4 : 0))) continue;  // just before matrix 2
            reason.clear();
            EXPECT_EQ(parseQb(Bytes(good.begin(), good.begin() + length), out, reason), 0) << length;
            EXPECT_NE(reason.find("the file ends inside"), std::string::npos) << length << ": " << reason;
        }
    auto refusal = [&](const Bytes& file) {
        reason.clear();
        EXPECT_EQ(parseQb(file, out, reason), 0);
        return reason;
    };
    EXPECT_EQ(refusal(qbFile(2, 1, 0, {})), "not a .qb file (colour format 2, z axis 1, compression 0)");
    EXPECT_EQ(refusal(qbFile(0, 1, 0, {{{0, 1, 1}, {0, 0, 0}, {}}})), "matrix 1 has the size 0 x 1 x 1");
    EXPECT_EQ(refusal(qbFile(0, 1, 0, {{{1, 1, 1}, {-60, 0, 0}, {kRed}}, {{1, 1, 1}, {60, 0, 0}, {kRed}}})),
              "the scene is 121 x 1 x 1 voxels; Cubrik models hold at most 100 x 100 x 100");
    EXPECT_EQ(out.cells, Bytes{99});
}

}  // namespace
}  // namespace cubrik
