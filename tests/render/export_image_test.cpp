#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "render/export_image.h"

namespace cubrik {
namespace {

using Pixel = std::array<std::uint8_t, 4>;

// Two renders of a width x height view, RGBA, rows bottom to top: the model
// pixels are the same in both, the background differs in green.
struct Renders {
    int width, height;
    std::vector<std::uint8_t> onBackground, onKey;

    Renders(int w, int h, Pixel background) : width(w), height(h) {
        for (int i = 0; i < w * h; ++i) {
            onBackground.insert(onBackground.end(), background.begin(), background.end());
            onKey.insert(onKey.end(), {196, 196, 196, 255});
        }
    }
    void setModelPixel(int column, int row, Pixel rgba) {
        for (auto* buffer : {&onBackground, &onKey})
            std::copy(rgba.begin(), rgba.end(), buffer->begin() + 4 * (row * width + column));
    }
};

Pixel pixelAt(const std::vector<std::uint8_t>& image, int width, int column, int row) {
    const auto at = image.begin() + 4 * (row * width + column);
    return {at[0], at[1], at[2], at[3]};
}

TEST(KeyAndCrop, CropsToTheModelKeepingRowsBottomToTopInBgra) {
    Renders r(6, 5, {128, 128, 255, 255});
    r.setModelPixel(1, 1, {10, 20, 30, 255});  // bottom left of the model
    r.setModelPixel(3, 1, {11, 21, 31, 255});
    r.setModelPixel(2, 3, {12, 22, 32, 255});  // top
    int width = 0, height = 0;
    ASSERT_EQ(keyAndCropImage(r.onBackground.data(), r.onKey.data(), 6, 5, width, height), 1);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(pixelAt(r.onBackground, 3, 0, 0), (Pixel{30, 20, 10, 255}));
    EXPECT_EQ(pixelAt(r.onBackground, 3, 2, 0), (Pixel{31, 21, 11, 255}));
    EXPECT_EQ(pixelAt(r.onBackground, 3, 1, 2), (Pixel{32, 22, 12, 255}));
    // Background inside the box: the background colour in BGRA, transparent.
    EXPECT_EQ(pixelAt(r.onBackground, 3, 1, 0), (Pixel{255, 128, 128, 0}));
    EXPECT_EQ(pixelAt(r.onBackground, 3, 0, 2), (Pixel{255, 128, 128, 0}));
}

TEST(KeyAndCrop, OnlyTheComparisonOfTheTwoRendersDecides) {
    // A model pixel in the background colour is kept.
    Renders r(4, 4, {128, 128, 255, 255});
    r.setModelPixel(2, 2, {128, 128, 255, 255});
    int width = 0, height = 0;
    ASSERT_EQ(keyAndCropImage(r.onBackground.data(), r.onKey.data(), 4, 4, width, height), 1);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(pixelAt(r.onBackground, 1, 0, 0), (Pixel{255, 128, 128, 255}));
    // A background whose green is the key grey's counts as model everywhere.
    Renders grey(4, 4, {50, 196, 50, 255});
    grey.setModelPixel(1, 1, {1, 2, 3, 255});
    ASSERT_EQ(keyAndCropImage(grey.onBackground.data(), grey.onKey.data(), 4, 4, width, height), 1);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(pixelAt(grey.onBackground, 4, 3, 3), (Pixel{50, 196, 50, 255}));
}

}  // namespace
}  // namespace cubrik
