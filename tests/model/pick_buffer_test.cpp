// Decoding the pick read-back, and how the buffer grows with the window.
#include <gtest/gtest.h>

#include "model/pick_buffer.h"

namespace cubrik {
namespace {

void setPixel(PickBuffer& buffer, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* p = buffer.pixels.get() + 4 * (x + buffer.width * (buffer.height - 1 - y));
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = 255;
}

TEST(PickBuffer, DecodesCornersAndRejectsChannelsAbove198) {
    PickBuffer buffer;
    ASSERT_EQ(preparePickBuffer(buffer, 4, 3), 1);
    setPixel(buffer, 0, 0, 0, 0, 0);
    setPixel(buffer, 3, 2, 198, 198, 198);
    setPixel(buffer, 1, 0, 199, 0, 0);
    setPixel(buffer, 2, 0, 0, 0, 255);
    setPixel(buffer, 1, 1, 3, 5, 7);  // odd channels halve down
    EXPECT_EQ(pickCell(buffer, 0, 0), 0);
    EXPECT_EQ(pickCell(buffer, 3, 2), 999999);
    EXPECT_EQ(pickCell(buffer, 1, 0), -1);
    EXPECT_EQ(pickCell(buffer, 2, 0), -1);
    EXPECT_EQ(pickCell(buffer, 1, 1), 1 + 100 * 2 + 10000 * 3);
    for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}}) EXPECT_EQ(pickCell(buffer, x, y), -1);
}

TEST(PickBuffer, GrowsWithTheWindowAndNeverShrinks) {
    PickBuffer buffer;
    ASSERT_EQ(preparePickBuffer(buffer, 1, 1), 1);
    EXPECT_EQ(buffer.capacity, 4u);
    ASSERT_EQ(preparePickBuffer(buffer, 800, 600), 1);
    EXPECT_EQ(buffer.capacity, 800u * 600u * 4u);
    ASSERT_EQ(preparePickBuffer(buffer, 300, 200), 1);
    EXPECT_EQ(buffer.capacity, 800u * 600u * 4u);
    EXPECT_EQ(buffer.width, 300);
    EXPECT_EQ(buffer.height, 200);
    // A window without area reads nothing and keeps the last size.
    EXPECT_EQ(preparePickBuffer(buffer, 0, 600), 0);
    EXPECT_EQ(buffer.width, 300);
}

}  // namespace
}  // namespace cubrik
