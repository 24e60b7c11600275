// Decoding the pick read-back, and how the buffer grows with the window.
#include <gtest/gtest.h>

#include <vector>

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

// A source that paints every pixel it is asked for with the cell of its
// column and row, and remembers the boxes.
struct CountingSource final : PickSource {
    std::vector<PixelBox> boxes;
    bool fails = false;
    int fill(const PickBuffer& buffer, const PixelBox& box) override {
        boxes.push_back(box);
        if (fails) return 0;
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x)
                setPixel(const_cast<PickBuffer&>(buffer), x, y, static_cast<std::uint8_t>(2 * (x % 100)),
                         static_cast<std::uint8_t>(2 * (y % 100)), 0);
        return 1;
    }
};

// A fetched read draws a block the first time a pixel of it is decoded, a
// prefetched area with its margin (or the area round it asked for) in one
// drawing once a block of it is missing, most of the window or a fifth part
// at once as the whole; what could not be drawn names no cell.
TEST(PickBuffer, AFetchedReadDrawsEachPartOnceWhenFirstNeeded) {
    CountingSource source;
    PickBuffer buffer;
    ASSERT_EQ(prepareFetchedPick(buffer, 1000, 700, source, 1), 1);
    EXPECT_EQ(pickCell(buffer, 130, 70), 30 + 100 * 70);
    ASSERT_EQ(source.boxes.size(), 1u);  // the block and its neighbours
    EXPECT_EQ(source.boxes[0].left, 64);
    EXPECT_EQ(source.boxes[0].bottom, 191);
    EXPECT_EQ(pickCell(buffer, 150, 120), 50 + 100 * 20);  // fetched with it
    EXPECT_EQ(source.boxes.size(), 1u);
    prefetchPick(buffer, {550, 330, 650, 390}, 50);  // with a margin round it
    ASSERT_EQ(source.boxes.size(), 2u);
    EXPECT_EQ(source.boxes[1].left, 448);
    EXPECT_EQ(source.boxes[1].right, 703);
    prefetchPick(buffer, {510, 310, 690, 400}, 300);  // fetched already: the margin is not needed yet
    prefetchPick(buffer, {-50, -50, -1, 600});        // outside the window
    EXPECT_EQ(source.boxes.size(), 2u);
    prefetchPick(buffer, {0, 0, 999, 400});  // more than half the window: all of it
    ASSERT_EQ(source.boxes.size(), 3u);
    EXPECT_EQ(source.boxes[2].right, 999);
    EXPECT_EQ(source.boxes[2].bottom, 699);
    EXPECT_EQ(pickCell(buffer, 999, 699), 99 + 100 * 99);

    source.boxes.clear();
    ASSERT_EQ(prepareFetchedPick(buffer, 1000, 700, source, 2), 1);
    for (int i = 0; i < 4; ++i) prefetchPick(buffer, {200 * i, 0, 200 * i, 0});
    prefetchPick(buffer, {900, 600, 900, 600});  // the fifth drawing takes the rest
    EXPECT_EQ(source.boxes.back().top, 0);
    EXPECT_EQ(source.boxes.back().right, 999);

    source.boxes.clear();
    ASSERT_EQ(prepareFetchedPick(buffer, 1000, 700, source, 4), 1);
    prefetchPick(buffer, {300, 300, 310, 310}, {300, 300, 700, 310});  // round a box of its own
    ASSERT_EQ(source.boxes.size(), 1u);
    EXPECT_EQ(source.boxes[0].left, 256);
    EXPECT_EQ(source.boxes[0].right, 703);
    EXPECT_EQ(source.boxes[0].bottom, 319);
    prefetchPick(buffer, {600, 300, 640, 310}, {0, 0, 999, 699});  // fetched already
    EXPECT_EQ(source.boxes.size(), 1u);

    source.fails = true;
    ASSERT_EQ(prepareFetchedPick(buffer, 1000, 700, source, 3), 1);
    EXPECT_EQ(pickCell(buffer, 130, 70), -1);
}

}  // namespace
}  // namespace cubrik
