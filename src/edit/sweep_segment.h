#pragma once
// The window pixels a screen brush covers: the disc about a point and the
// area one stroke step sweeps between two points, walked row by row and
// clipped to the pick buffer. The walks take the visitor as a template so the
// per-pixel work inlines into the row loops.

#include <algorithm>
#include <cmath>

namespace cubrik {

// trunc((1.1f - 1 / brushSize) * brushRadiusPx / divisor), never negative. The
// 1.1 is single precision on purpose: it decides the radius at the integer
// boundaries, where a double 1.1 would give one pixel less.
int brushRadiusOver(int brushSize, float brushRadiusPx, double divisor);

// The radius of the surface brushes and of the smoothing steps, in pixels.
inline int surfaceRadius(int brushSize, float brushRadiusPx) {
    return brushRadiusOver(brushSize, brushRadiusPx, 1.0);
}

// Which pixels a walk visits: those inside width x height, and with step 1
// every pixel or with step 2 every second row and every second column.
struct PixelWalk {
    int width;
    int height;
    int step;
};

// The pixels of row y at columns first, first + step, ... up to last that lie
// in the window. Clipping keeps the columns on the step grid of `first`.
template <class Visit>
void visitRow(const PixelWalk& walk, int y, int first, int last, Visit& visit) {
    if (y < 0 || y >= walk.height) return;
    if (first < 0) first += (-first + walk.step - 1) / walk.step * walk.step;
    last = std::min(last, walk.width - 1);
    for (int x = first; x <= last; x += walk.step) visit(x, y);
}

// The disc of radius r about (cx, cy), strictly inside: (px - cx)^2 +
// (py - cy)^2 < r^2. With step 2 the rows and columns are those of the grid
// that starts at (cx - r, cy - r). r = 0 is empty.
template <class Visit>
void visitDisc(const PixelWalk& walk, int cx, int cy, int r, Visit& visit) {
    for (int dy = -r; dy <= r; dy += walk.step) {
        const int room = r * r - dy * dy;  // the row holds the columns with dx^2 < room
        if (room <= 0) continue;
        int half = static_cast<int>(std::sqrt(static_cast<double>(room - 1)));
        while (half * half >= room) --half;
        while ((half + 1) * (half + 1) < room) ++half;
        const int skipped = (r - half + walk.step - 1) / walk.step * walk.step;
        visitRow(walk, cy + dy, cx - r + skipped, cx + half, visit);
    }
}

// The band between two points that are neither on one row nor on one column:
// the rectangle with corners r pixels either side of each end point, as the
// rows where its edges change course and the slopes they follow (x per row).
struct SlantedBand {
    int firstRow;         // the top corner's row
    int middleRow;        // the first row past the upper of the two side corners
    int bottomPartRow;    // the last row (going up) of the part below the lower side corner
    int lastRow;          // the bottom corner's row
    double topX;          // the top corner
    double bottomX;       // the bottom corner
    double topLeftSlope;  // downward from the top corner
    double topRightSlope;
    double middleLeftSlope;
    // The band itself: between the long sides and between the short ones,
    // each as its left edge at row 0, its slope and its width across a row.
    double longLeft, alongSlope, longWidth;
    double shortLeft, acrossSlope, shortWidth;
    double bottomLeftSlope;  // upward from the bottom corner
    double bottomRightSlope;
};

SlantedBand slantedBand(int x0, int y0, int x1, int y1, int r);

// One row of the band from the edges tracked row by row, held to within two
// pixels of the band itself and reaching to within a pixel of its sides:
// where a part has only a row or two (a nearly vertical or horizontal step),
// its rounded corner rows would send the steep edges far off the band.
template <class Visit>
void visitBandRow(const PixelWalk& walk, const SlantedBand& band, int y, double left, double right, Visit& visit) {
    constexpr double kSlack = 2;
    const double longLeft = band.longLeft + y * band.alongSlope, shortLeft = band.shortLeft + y * band.acrossSlope;
    const double inner = std::max(longLeft, shortLeft);
    const double outer = std::min(longLeft + band.longWidth, shortLeft + band.shortWidth);
    double first = std::max(left, inner - kSlack), last = std::min(right, outer + kSlack);
    if (inner + 1 <= outer - 1) {
        first = std::min(first, inner + 1);
        last = std::max(last, outer - 1);
    }
    if (first <= last) visitRow(walk, y, static_cast<int>(first), static_cast<int>(last), visit);
}

// Rows are filled from trunc(left) to trunc(right). The middle part keeps the
// width the top part ended with; with no top rows that is 0, which turns a
// band of radius 0 into a one-pixel line.
template <class Visit>
void visitBand(const PixelWalk& walk, const SlantedBand& band, Visit& visit) {
    const int step = walk.step;
    double left = band.topX, right = band.topX;
    for (int y = band.firstRow; y < band.middleRow; y += step) {
        visitBandRow(walk, band, y, left, right, visit);
        left += step * band.topLeftSlope;
        right += step * band.topRightSlope;
    }
    const double width = band.firstRow < band.middleRow ? right - left : 0.0;
    for (int y = band.middleRow; y < band.bottomPartRow; y += step) {
        visitBandRow(walk, band, y, left, left + width, visit);
        left += step * band.middleLeftSlope;
    }
    left = right = band.bottomX;
    for (int y = band.lastRow; y >= band.bottomPartRow; y -= step) {
        visitBandRow(walk, band, y, left, right, visit);
        left += step * band.bottomLeftSlope;
        right += step * band.bottomRightSlope;
    }
}

// The area of one stroke step from (x0, y0) to (x1, y1): the disc of radius r
// at the new point plus the band swept between the points. The disc at the
// old point was covered by the step before. Pixels may be visited twice.
template <class Visit>
void sweepSegment(int x0, int y0, int x1, int y1, int r, const PixelWalk& walk, Visit&& visit) {
    visitDisc(walk, x1, y1, r, visit);
    if (x0 == x1 && y0 == y1) return;
    if (y0 == y1) {
        for (int y = y1 - r; y <= y1 + r; y += walk.step)
            visitRow(walk, y, std::min(x0, x1), std::max(x0, x1), visit);
    } else if (x0 == x1) {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); y += walk.step)
            visitRow(walk, y, x1 - r, x1 + r, visit);
    } else {
        visitBand(walk, slantedBand(x0, y0, x1, y1, r), visit);
    }
}

}  // namespace cubrik
