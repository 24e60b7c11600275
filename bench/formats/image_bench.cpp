// Writing an 800 x 600 view as PNG, with the TARGA writer beside it for
// scale. The picture is what a view holds: a gradient background and a
// shaded ball, mostly smooth runs, which is what the encoder's filters meet.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "formats/image/png_image.h"
#include "formats/image/targa.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

constexpr int kWidth = 800, kHeight = 600;

std::vector<std::uint8_t> viewPixels() {
    std::vector<std::uint8_t> pixels(4 * kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = pixels.data() + 4 * (static_cast<std::size_t>(y) * kWidth + x);
            const double dx = (x - 400) / 250.0, dy = (y - 300) / 250.0, inside = 1 - dx * dx - dy * dy;
            const int shade = inside > 0 ? static_cast<int>(255 * std::sqrt(inside)) : 0;
            p[0] = static_cast<std::uint8_t>(inside > 0 ? shade / 3 : 200 - y / 4);
            p[1] = static_cast<std::uint8_t>(inside > 0 ? shade : 160 - y / 5);
            p[2] = static_cast<std::uint8_t>(inside > 0 ? shade / 2 : 120);
            p[3] = 255;
        }
    return pixels;
}

using ImageWriter = int (*)(const std::filesystem::path&, int, int, std::span<const std::uint8_t>, std::string&);

int targaAt(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> pixels,
            std::string& reason) {
    return writeTarga(path, width, height, pixels, reason);
}

void writeImage(benchmark::State& state, ImageWriter writer, const char* name) {
    const std::vector<std::uint8_t> pixels = viewPixels();
    testing::TempDir dir;
    std::string reason;
    for (auto _ : state)
        if (!writer(dir / name, kWidth, kHeight, pixels, reason)) state.SkipWithError(reason.c_str());
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir / name));
}

BENCHMARK_CAPTURE(writeImage, png_800x600, writePng, "v.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeImage, targa_800x600, targaAt, "v.tga")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubrik
