// The brush radius and the pixels a stroke step covers, pinned on small
// hand-worked cases and checked for coverage on random segments.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "edit/sweep_segment.h"

namespace cubrik {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels swept(int x0, int y0, int x1, int y1, int r, PixelWalk walk) {
    Pixels pixels;
    sweepSegment(x0, y0, x1, y1, r, walk, [&](int x, int y) { pixels.insert({x, y}); });
    return pixels;
}

// Row spans {y, first, last} with every column between.
Pixels spans(std::initializer_list<std::array<int, 3>> rows, int step = 1) {
    Pixels pixels;
    for (auto [y, first, last] : rows)
        for (int x = first; x <= last; x += step) pixels.insert({x, y});
    return pixels;
}

Pixels joined(Pixels a, const Pixels& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(SurfaceRadius, TruncatesWithASinglePrecisionOnePointOne) {
    EXPECT_EQ(surfaceRadius(1, 9.99f), 0);
    EXPECT_EQ(surfaceRadius(1, 10.0f), 1);
    // 0.6 * 25/3 is 5 exactly; only the float 1.1 keeps it from falling to 4.
    EXPECT_EQ(surfaceRadius(2, 25.0f / 3.0f), 5);
    EXPECT_EQ(surfaceRadius(24, 600.0f / 140.84508f * 24.0f), 108);
    EXPECT_EQ(brushRadiusOver(24, 600.0f / 140.84508f * 24.0f, std::sqrt(6.0f)), 44);
    EXPECT_EQ(surfaceRadius(3, -4.0f), 0);
}

TEST(SweepSegment, HorizontalAndVerticalStepsAreRectanglesPlusTheNewDisc) {
    const PixelWalk walk{20, 20, 1};
    const Pixels discAt6x5 = spans({{4, 5, 7}, {5, 5, 7}, {6, 5, 7}});  // r = 2, strict
    EXPECT_EQ(swept(2, 5, 6, 5, 2, walk), joined(spans({{3, 2, 6}, {4, 2, 6}, {5, 2, 6}, {6, 2, 6}, {7, 2, 6}}), discAt6x5));
    EXPECT_EQ(swept(6, 9, 6, 5, 2, walk),
              joined(spans({{5, 4, 8}, {6, 4, 8}, {7, 4, 8}, {8, 4, 8}, {9, 4, 8}}), discAt6x5));
    EXPECT_EQ(swept(6, 5, 6, 5, 2, walk), discAt6x5);
}

// A = (10, 10), B = (13, 14), r = 2: P = 1.6, Q = 1.2, corner rows 8, 11, 12,
// 15; the top corner at x 11.6 and the bottom corner at x 11.4.
TEST(SweepSegment, SlantedBandFollowsTheCornerRows) {
    const PixelWalk walk{30, 30, 1};
    const Pixels band = spans({{8, 11, 11}, {9, 10, 12}, {10, 8, 13},  // top: edges -4/3 and 3/4
                               {11, 7, 13},                            // middle: width 6.25
                               {15, 11, 11}, {14, 10, 12}, {13, 9, 14}, {12, 9, 15}});  // bottom, upward
    EXPECT_EQ(swept(10, 10, 13, 14, 2, walk), joined(band, spans({{13, 12, 14}, {14, 12, 14}, {15, 12, 14}})));
    EXPECT_EQ(swept(13, 14, 10, 10, 2, walk), joined(band, spans({{9, 9, 11}, {10, 9, 11}, {11, 9, 11}})));
}

TEST(SweepSegment, EverySecondPixelStepsTheEdgesTwiceAsFar) {
    const PixelWalk walk{30, 30, 2};
    // Top rows 8 and 10, middle row 11 from the edges of row 12, bottom rows
    // 15 and 13; of the disc only the centre lies on the sampling grid.
    const Pixels band = spans({{8, 11, 11}, {10, 8, 13}, {11, 6, 14}, {15, 11, 11}, {13, 9, 14}}, 2);
    EXPECT_EQ(swept(10, 10, 13, 14, 2, walk), joined(band, {{13, 14}}));
    EXPECT_EQ(swept(2, 5, 6, 5, 2, walk), spans({{3, 2, 6}, {5, 2, 6}, {7, 2, 6}, {5, 6, 6}}, 2));
}

// A step of 100 rows drifting one column: the band stays about 2r wide about
// the segment instead of taking the width and edges of its one top row.
TEST(SweepSegment, ANearlyVerticalBandKeepsItsWidth) {
    int widest = 0;
    for (int y = 30; y < 120; ++y) {
        int first = 1000, last = -1;
        for (auto [x, row] : swept(100, 20, 101, 120, 10, PixelWalk{300, 300, 1}))
            if (row == y) first = std::min(first, x), last = std::max(last, x);
        widest = std::max(widest, last - first + 1);
        EXPECT_LE(first, 100 - 9) << y;
        EXPECT_GE(last, 101 + 9) << y;
    }
    EXPECT_LE(widest, 2 * 10 + 1 + 2 * 2);  // the band, and the two pixels the rows may stray
}

TEST(SweepSegment, RadiusZeroIsAOnePixelLine) {
    const PixelWalk walk{20, 20, 1};
    EXPECT_EQ(swept(2, 2, 5, 8, 0, walk), (Pixels{{2, 2}, {2, 3}, {3, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}}));
    EXPECT_EQ(swept(7, 3, 4, 3, 0, walk), spans({{3, 4, 7}}));
}

TEST(SweepSegment, ClipsToTheWindowOnTheSamplingGrid) {
    // Columns -3, -1, 1, 3 of rows -1, 1, 3, and the centre of the disc at (4, 1).
    EXPECT_EQ(swept(-3, 1, 4, 1, 2, PixelWalk{5, 5, 2}), (Pixels{{1, 1}, {3, 1}, {1, 3}, {3, 3}, {4, 1}}));
    for (auto [x, y] : swept(-40, -10, 30, 50, 9, PixelWalk{25, 35, 1})) {
        EXPECT_TRUE(x >= 0 && x < 25 && y >= 0 && y < 35) << x << ", " << y;
    }
}

// The disc at the old point belongs to the step before, so the segment counts
// as covered when a pixel lies in either.
TEST(SweepSegment, CoversTheSegmentAndTheNewDisc) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(20, 180), radius(1, 12);
    const PixelWalk walk{200, 200, 1};
    for (int trial = 0; trial < 2000; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        const int r = radius(random);
        const Pixels pixels = swept(x0, y0, x1, y1, r, walk);
        const int samples = 8 * std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int k = 0; k <= samples; ++k) {
            const double t = samples ? static_cast<double>(k) / samples : 0.0;
            const int x = static_cast<int>(x0 + t * (x1 - x0)), y = static_cast<int>(y0 + t * (y1 - y0));
            const bool inOldDisc = (x - x0) * (x - x0) + (y - y0) * (y - y0) < r * r;
            ASSERT_TRUE(inOldDisc || pixels.count({x, y})) << x0 << "," << y0 << " -> " << x1 << "," << y1 << " r " << r
                                              << " misses " << x << "," << y;
        }
        for (int y = y1 - r; y <= y1 + r; ++y)
            for (int x = x1 - r; x <= x1 + r; ++x)
                if ((x - x1) * (x - x1) + (y - y1) * (y - y1) < r * r) {
                    ASSERT_TRUE(pixels.count({x, y}));
                }
    }
}

}  // namespace
}  // namespace cubrik
