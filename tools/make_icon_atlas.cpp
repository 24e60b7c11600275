// Draws the ten tool-panel icons into the 64 x 256 icon atlas the program
// embeds: a run-length encoded, bottom-to-top, 32-bit TARGA with a
// transparent background. At SCALE 2 the same icons at twice the size, for
// screens with more than one pixel per client pixel.
// Usage: cubrik_make_icon_atlas OUTPUT.tga [SCALE]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 64, kHeight = 256, kIcon = 29;

struct P {
    double x, y;
};

using Shape = std::function<bool(P)>;  // icon-local coordinates 0..29, y down

double segmentDistance(P p, P a, P b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

Shape stroke(std::vector<P> points, double width) {
    return [points, width](P p) {
        for (std::size_t i = 1; i < points.size(); ++i)
            if (segmentDistance(p, points[i - 1], points[i]) <= width / 2) return true;
        return false;
    };
}

Shape disc(P c, double r) { return [=](P p) { return std::hypot(p.x - c.x, p.y - c.y) <= r; }; }

Shape rect(double l, double t, double r, double b) {
    return [=](P p) { return p.x >= l && p.x <= r && p.y >= t && p.y <= b; };
}

Shape anyOf(std::vector<Shape> parts) {
    return [parts](P p) { return std::any_of(parts.begin(), parts.end(), [p](const Shape& s) { return s(p); }); };
}

// Inside the triangle abc, either winding.
Shape triangle(P a, P b, P c) {
    return [=](P p) {
        auto side = [p](P u, P v) { return (v.x - u.x) * (p.y - u.y) - (v.y - u.y) * (p.x - u.x); };
        const double d1 = side(a, b), d2 = side(b, c), d3 = side(c, a);
        return !((d1 < 0 || d2 < 0 || d3 < 0) && (d1 > 0 || d2 > 0 || d3 > 0));
    };
}

Shape sprayRing() {
    std::vector<Shape> dots;
    for (int k = 0; k < 8; ++k) {
        const double a = k * std::numbers::pi / 4;
        dots.push_back(disc({14.5 + 9 * std::cos(a), 14.5 + 9 * std::sin(a)}, 2.3));
    }
    dots.push_back(disc({14.5, 14.5}, 2.3));
    return anyOf(dots);
}

Shape spiral() {
    std::vector<P> points;
    for (double a = 0; a <= 4.2 * std::numbers::pi; a += 0.1) {
        const double r = 1.0 + 0.85 * a;
        points.push_back({14.5 + r * std::cos(a), 14.5 + r * std::sin(a)});
    }
    return stroke(points, 2.4);
}

Shape heart() {
    const Shape body = anyOf({disc({10, 11.5}, 6), disc({19, 11.5}, 6), triangle({4.4, 13.5}, {24.6, 13.5}, {14.5, 25.5})});
    const Shape notch = triangle({11.5, 4}, {17.5, 4}, {14.5, 9.5});
    return [=](P p) { return body(p) && !notch(p); };
}

Shape notchedSquare() {
    const Shape square = rect(5, 5, 24, 24);
    const Shape notches = anyOf({triangle({11, 5}, {18, 5}, {14.5, 9.5}), triangle({11, 24}, {18, 24}, {14.5, 19.5}),
                                 triangle({5, 11}, {5, 18}, {9.5, 14.5}), triangle({24, 11}, {24, 18}, {19.5, 14.5})});
    return [=](P p) { return square(p) && !notches(p); };
}

Shape digitTwo() {
    std::vector<P> points;
    for (double a = 1.15 * std::numbers::pi; a >= -0.25 * std::numbers::pi; a -= 0.1)
        points.push_back({14.5 + 5.5 * std::cos(a), 10.5 - 5.5 * std::sin(a)});
    points.push_back({9, 24});
    points.push_back({20.5, 24});
    return stroke(points, 3);
}

struct Icon {
    Shape shape;
    std::uint8_t r, g, b;
};

std::vector<Icon> icons() {
    return {
        {sprayRing(), 128, 128, 0},                                                      // Spray: olive dots
        {anyOf({rect(6, 15, 23, 23), rect(12.5, 7, 16.5, 15), disc({14.5, 6.5}, 3)}), 0, 150, 0},  // Paint: stamp
        {stroke({{3, 19}, {8, 10}, {13, 19}, {18, 10}, {23, 19}, {27, 10}}, 3.5), 0, 128, 128},  // Peel: zig-zag
        {spiral(), 240, 130, 0},                                                         // Coat: spiral
        {rect(5, 12, 24, 17), 0, 40, 230},                                               // Carve: minus
        {anyOf({rect(5, 12, 24, 17), rect(12, 5, 17, 24)}), 220, 0, 0},                  // Build: plus
        {heart(), 240, 110, 170},                                                        // Smoothing: blob
        {notchedSquare(), 140, 50, 220},                                                 // Punch: notched square
        {stroke({{11, 9}, {15.5, 5}, {15.5, 24}}, 3), 0, 0, 0},                          // material A: 1
        {digitTwo(), 0, 0, 0},                                                           // material B: 2
    };
}

// Top-to-bottom BGRA texels of the atlas at `scale` texels per icon unit;
// each texel's alpha is its 4 x 4 sample coverage.
std::vector<std::uint8_t> drawAtlas(int scale) {
    const int width = kWidth * scale, icon = kIcon * scale;
    std::vector<std::uint8_t> texels(static_cast<std::size_t>(width) * kHeight * scale * 4, 0);
    const std::vector<Icon> all = icons();
    for (int item = 0; item < static_cast<int>(all.size()); ++item) {
        const int left = icon * (item % 2), top = icon * (item / 2);
        for (int y = 0; y < icon; ++y)
            for (int x = 0; x < icon; ++x) {
                int covered = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        covered += all[item].shape({(x + (sx + 0.5) / 4) / scale, (y + (sy + 0.5) / 4) / scale});
                if (covered == 0) continue;
                std::uint8_t* t = &texels[4 * ((top + y) * width + left + x)];
                t[0] = all[item].b;
                t[1] = all[item].g;
                t[2] = all[item].r;
                t[3] = static_cast<std::uint8_t>(covered * 255 / 16);
            }
    }
    return texels;
}

// Run-length packets over the rows from the bottom up; runs cross row ends.
std::string encodeRle(const std::vector<std::uint8_t>& texels, int width, int height) {
    std::vector<std::uint32_t> pixels;
    for (int row = height - 1; row >= 0; --row)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* t = &texels[4 * (row * width + x)];
            pixels.push_back(t[0] | t[1] << 8 | t[2] << 16 | static_cast<std::uint32_t>(t[3]) << 24);
        }
    std::string out;
    auto put = [&out](std::uint32_t p) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((p >> (8 * i)) & 0xff));
    };
    std::size_t i = 0;
    while (i < pixels.size()) {
        std::size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) ++run;
        if (run > 1) {
            out.push_back(static_cast<char>(0x80 | (run - 1)));
            put(pixels[i]);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<char>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k) put(pixels[i + k]);
        i += raw;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scaleText = argc == 3 ? argv[2] : "1";
    if ((argc != 2 && argc != 3) || (scaleText != "1" && scaleText != "2")) {
        std::cerr << "usage: cubrik_make_icon_atlas OUTPUT.tga [SCALE: 1 or 2]\n";
        return 1;
    }
    const int scale = scaleText[0] - '0', width = kWidth * scale, height = kHeight * scale;
    const unsigned char header[18] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      static_cast<unsigned char>(width & 0xff), static_cast<unsigned char>(width >> 8),
                                      static_cast<unsigned char>(height & 0xff), static_cast<unsigned char>(height >> 8),
                                      32, 0x08};
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    file << encodeRle(drawAtlas(scale), width, height);
    file.close();
    if (!file) {
        std::cerr << "cubrik_make_icon_atlas: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
