#include "edit/sweep_segment.h"

#include <utility>

namespace cubrik {

int brushRadiusOver(int brushSize, float brushRadiusPx, double divisor) {
    const double scale = static_cast<double>(1.1f) - 1.0 / brushSize;
    return std::max(0, static_cast<int>(scale * brushRadiusPx / divisor));
}

SlantedBand slantedBand(int x0, int y0, int x1, int y1, int r) {
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double dx = x1 - x0, dy = y1 - y0;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double p = r * dy / length;  // the corners' offsets from the end points
    const double q = r * std::abs(dx) / length;
    const int y2 = static_cast<int>(y0 + q), y3 = static_cast<int>(y1 - q);
    // Downward, the long sides move by dx/dy per row and the short ones by
    // -dy/dx; the left edge is always the one moving left faster.
    const double alongSlope = dx / dy, acrossSlope = -dy / dx;
    const double side = dx > 0 ? p : -p;
    SlantedBand band;
    band.firstRow = static_cast<int>(y0 - q);
    band.middleRow = std::min(y2, y3);
    band.bottomPartRow = std::max(y2, y3);
    band.lastRow = static_cast<int>(y1 + q);
    band.topX = x0 + side;
    band.bottomX = x1 - side;
    band.topLeftSlope = std::min(alongSlope, acrossSlope);
    band.topRightSlope = std::max(alongSlope, acrossSlope);
    band.middleLeftSlope = y2 < y3 ? alongSlope : acrossSlope;
    // Across a row, the long sides lie 2r * length / dy apart about the
    // segment, and the short ones, through the end points, length^2 / |dx|.
    band.alongSlope = alongSlope;
    band.longWidth = 2 * r * length / dy;
    band.longLeft = x0 - y0 * alongSlope - band.longWidth / 2;
    band.acrossSlope = acrossSlope;
    band.shortWidth = length * length / std::abs(dx);
    band.shortLeft = dx > 0 ? x0 - y0 * acrossSlope : x1 - y1 * acrossSlope;
    band.bottomLeftSlope = -band.topRightSlope;
    band.bottomRightSlope = -band.topLeftSlope;
    return band;
}

}  // namespace cubrik
