#include <gtest/gtest.h>

#include <array>

#include "model/smoothing.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

using Offset = std::array<int, 3>;

Offset offsetOf(const SmoothingTable& table, int code) {
    return {table.offset[code][0], table.offset[code][1], table.offset[code][2]};
}

TEST(SmoothingTable, TellingRows) {
    SmoothingTable table;
    buildSmoothingTable(table);
    EXPECT_EQ(offsetOf(table, 0), (Offset{0, 0, 0}));
    EXPECT_EQ(offsetOf(table, 1), (Offset{-2, -2, -2}));
    EXPECT_EQ(offsetOf(table, 3), (Offset{0, -2, -2}));
    EXPECT_EQ(offsetOf(table, 6), (Offset{0, 0, 0}));
    EXPECT_EQ(offsetOf(table, 7), (Offset{2, 2, 0}));
    EXPECT_EQ(offsetOf(table, 15), (Offset{0, 0, 0}));
    EXPECT_EQ(offsetOf(table, 23), (Offset{3, 3, 3}));
    EXPECT_EQ(offsetOf(table, 31), (Offset{2, 2, 2}));
    EXPECT_EQ(offsetOf(table, 63), (Offset{0, 2, 2}));
    EXPECT_EQ(offsetOf(table, 127), (Offset{3, 3, 3}));
    EXPECT_EQ(offsetOf(table, 254), (Offset{-3, -3, -3}));
    EXPECT_EQ(offsetOf(table, 255), (Offset{0, 0, 0}));
    EXPECT_EQ(offsetOf(table, 128), (Offset{2, 2, 2}));  // lone cell towards (1, 1, 1)
}

TEST(SmoothingTable, HasOnlyTheAllowedValuesAndExactly136StillPoints) {
    SmoothingTable table;
    buildSmoothingTable(table);
    int still = 0;
    for (int code = 0; code < 256; ++code) {
        const Offset o = offsetOf(table, code);
        if (o == Offset{0, 0, 0}) ++still;
        for (int v : o) EXPECT_TRUE(v == -3 || v == -2 || v == 0 || v == 2 || v == 3) << code;
    }
    EXPECT_EQ(still, 136);
}

TEST(CornerCodes, ALoneCellSetsOneBitAtEachOfItsEightCorners) {
    ModelStore store = testing::makeStore();
    testing::setCell(*store.model, 4, 5, 6, 9);
    refreshCornerCodes(store.model->cells, *store.cornerCodes);
    const auto& codes = store.cornerCodes->codes;
    // Seen from corner (X, Y, Z) the cell lies at (dx, dy, dz) = cell - corner + 1.
    for (int dz = 0; dz < 2; ++dz)
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx) {
                const int X = 4 + 1 - dx, Y = 5 + 1 - dy, Z = 6 + 1 - dz;
                EXPECT_EQ(codes[cornerIndex(X, Y, Z)], 1 << (dx + 2 * dy + 4 * dz));
            }
    int nonZero = 0;
    for (std::uint8_t code : codes) nonZero += code != 0;
    EXPECT_EQ(nonZero, 8);
}

TEST(CornerCodes, OutsideTheGridCountsAsEmptyAndTheBorderBytesStayZero) {
    ModelStore store = testing::makeStore();
    testing::fillAll(*store.model, 20);
    store.cornerCodes->codes[cornerIndex(101, 3, 3)] = 77;  // stale content is replaced
    refreshCornerCodes(store.model->cells, *store.cornerCodes);
    const auto& codes = store.cornerCodes->codes;
    EXPECT_EQ(codes[cornerIndex(50, 50, 50)], 255);
    EXPECT_EQ(codes[cornerIndex(0, 0, 0)], 0x80);      // only the cell towards (+1, +1, +1)
    EXPECT_EQ(codes[cornerIndex(100, 100, 100)], 0x01);
    EXPECT_EQ(codes[cornerIndex(0, 50, 50)], 0xaa);    // the four cells with dx = 1
    EXPECT_EQ(codes[cornerIndex(100, 50, 50)], 0x55);
    EXPECT_EQ(codes[cornerIndex(50, 100, 50)], 0x33);
    EXPECT_EQ(codes[cornerIndex(101, 3, 3)], 0);
    EXPECT_EQ(codes[cornerIndex(3, 101, 3)], 0);
    EXPECT_EQ(codes[cornerIndex(3, 3, 101)], 0);
}

TEST(CornerCodes, MatchACountOfTheEightCellsOnARandomModel) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 21);
    for (std::uint8_t& cell : store.model->cells) cell = cell % 3 == 0 ? cell : 0;  // sparser
    refreshCornerCodes(store.model->cells, *store.cornerCodes);
    auto filled = [&](int x, int y, int z) {
        return x >= 0 && y >= 0 && z >= 0 && x < 100 && y < 100 && z < 100 && store.model->cells[cellIndex(x, y, z)];
    };
    for (int Z = 0; Z <= 100; Z += 7)
        for (int Y = 0; Y <= 100; Y += 3)
            for (int X = 0; X <= 100; ++X) {
                int code = 0;
                for (int b = 0; b < 8; ++b)
                    if (filled(X - 1 + (b & 1), Y - 1 + ((b >> 1) & 1), Z - 1 + ((b >> 2) & 1))) code |= 1 << b;
                ASSERT_EQ(store.cornerCodes->codes[cornerIndex(X, Y, Z)], code) << X << " " << Y << " " << Z;
            }
}

}  // namespace
}  // namespace cubrik
