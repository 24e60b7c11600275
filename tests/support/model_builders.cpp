#include "support/model_builders.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>

#include "model/material.h"

namespace cubrik::testing {

ModelStore makeStore() {
    ModelStore store;
    if (!resetModel(store)) throw std::runtime_error("out of memory");
    return store;
}

void setCell(VoxelModel& model, int x, int y, int z, std::uint8_t code) { model.cells[cellIndex(x, y, z)] = code; }

void fillRandom(VoxelModel& model, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> code(0, kLastCode);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xffffff);
    for (auto& cell : model.cells) cell = static_cast<std::uint8_t>(code(random));
    for (int i = 0; i < kPaletteSize; ++i) {
        model.paletteA[i] = unpackColour(colour(random));
        model.paletteB[i] = unpackColour(colour(random));
    }
}

void fillSphere(VoxelModel& model, double radius) {
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const double dx = x - 49.5, dy = y - 49.5, dz = z - 49.5;
                if (dx * dx + dy * dy + dz * dz > radius * radius) continue;
                const int colour = (x / 7 + y / 11 + z / 13) % kPaletteSize;
                setCell(model, x, y, z, static_cast<std::uint8_t>((x < 50 ? kFirstCodeA : kFirstCodeB) + colour));
            }
}

void fillAll(VoxelModel& model, std::uint8_t code) { std::memset(model.cells, code, sizeof model.cells); }

void fillBox(VoxelModel& model, int x0, int y0, int z0, int x1, int y1, int z1, std::uint8_t code) {
    for (int z = z0; z <= z1; ++z)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) setCell(model, x, y, z, code);
}

void fillCheckerboard(VoxelModel& model, int side, std::uint8_t code) {
    for (int z = 0; z < side; ++z)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if ((x + y + z) % 2 == 0) setCell(model, x, y, z, code);
}

void strokeLikeChange(VoxelModel& model, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> place(5, 94), code(0, kLastCode), length(1, 6), entry(0, 15);
    int x = place(random);
    const int y = place(random), z = place(random);
    const auto value = static_cast<std::uint8_t>(code(random));
    for (int n = length(random); n > 0; --n, x = std::min(x + 1, 94))
        for (int dz = -3; dz <= 3; ++dz)
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (dx * dx + dy * dy + dz * dz <= 9) setCell(model, x + dx, y + dy, z + dz, value);
    model.rotation[entry(random)] = std::uniform_real_distribution<double>(-1, 1)(random);
    model.brushRadiusPx = static_cast<float>(entry(random)) + 1.1f;
}

}  // namespace cubrik::testing
