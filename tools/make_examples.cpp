// Writes the sample models shipped in examples/, so a new user has something
// to open and turn: a penguin in a scarf and hat (both materials, several
// colours) and an iced ring doughnut (a rounded shape that shows the smooth
// display). Usage: cubrik_make_examples OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "model/model_file.h"
#include "model/material.h"
#include "model/voxel_model.h"

namespace cubrik {
namespace {

struct Point {
    double x, y, z;
};

// Cell centres in grid coordinates: cell (x, y, z) has its centre at (x + 0.5, y + 0.5, z + 0.5).
Point centreOf(int x, int y, int z) { return {x + 0.5, y + 0.5, z + 0.5}; }

bool insideEllipsoid(const Point& p, const Point& centre, const Point& radii) {
    const double dx = (p.x - centre.x) / radii.x, dy = (p.y - centre.y) / radii.y, dz = (p.z - centre.z) / radii.z;
    return dx * dx + dy * dy + dz * dz <= 1.0;
}

// Sets every cell inside the ellipsoid to `code`; with `onlyOver`, only cells
// that already hold a material (paint rather than build).
void fillEllipsoid(VoxelModel& model, const Point& centre, const Point& radii, int code, bool onlyOver = false) {
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                std::uint8_t& cell = model.cells[cellIndex(x, y, z)];
                if ((onlyOver && cell == kEmpty) || !insideEllipsoid(centreOf(x, y, z), centre, radii)) continue;
                cell = static_cast<std::uint8_t>(code);
            }
}

// Distance from p to the circle of `major` radius about the vertical axis through `centre`.
double distanceToRing(const Point& p, const Point& centre, double major) {
    const double dx = p.x - centre.x, dz = p.z - centre.z;
    const double across = std::sqrt(dx * dx + dz * dz) - major;
    const double dy = p.y - centre.y;
    return std::sqrt(across * across + dy * dy);
}

void setPalette(Rgb (&palette)[kPaletteSize], std::initializer_list<std::uint32_t> colours) {
    int i = 0;
    for (std::uint32_t packed : colours) palette[i++] = unpackColour(packed);
}

constexpr int codeA(int colour) { return kFirstCodeA + colour; }
constexpr int codeB(int colour) { return kFirstCodeB + colour; }

void makePenguin(VoxelModel& model) {
    // Material A: the bird. Material B: what it wears.
    enum { kPlumage, kBelly, kBeak, kEye, kPupil };
    enum { kScarf, kScarfStripe, kHat, kPompom };
    setPalette(model.paletteA, {0x2b3445, 0xf2efe6, 0xf29a2e, 0xffffff, 0x101010});
    setPalette(model.paletteB, {0xc8323c, 0xf0e6d2, 0x2f6fb0, 0xf4f4f4});

    fillEllipsoid(model, {50, 36, 50}, {21, 27, 18}, codeA(kPlumage));            // body
    fillEllipsoid(model, {50, 68, 50}, {14, 14, 13}, codeA(kPlumage));            // head
    fillEllipsoid(model, {29, 40, 50}, {4, 17, 9}, codeA(kPlumage));              // flippers
    fillEllipsoid(model, {71, 40, 50}, {4, 17, 9}, codeA(kPlumage));
    fillEllipsoid(model, {50, 33, 60}, {15, 21, 12}, codeA(kBelly), true);        // white front
    fillEllipsoid(model, {50, 66, 60}, {9, 7, 6}, codeA(kBelly), true);           // face
    fillEllipsoid(model, {44.5, 71, 61.5}, {3, 3.5, 2.5}, codeA(kEye));           // eyes
    fillEllipsoid(model, {55.5, 71, 61.5}, {3, 3.5, 2.5}, codeA(kEye));
    fillEllipsoid(model, {44.5, 71, 63.5}, {1.6, 1.9, 1.5}, codeA(kPupil));
    fillEllipsoid(model, {55.5, 71, 63.5}, {1.6, 1.9, 1.5}, codeA(kPupil));
    fillEllipsoid(model, {50, 65, 65}, {4, 2.5, 6}, codeA(kBeak));                // beak
    fillEllipsoid(model, {42, 9.5, 56}, {6, 2.5, 9}, codeA(kBeak));               // feet
    fillEllipsoid(model, {58, 9.5, 56}, {6, 2.5, 9}, codeA(kBeak));

    // A striped scarf round the neck with one end hanging down the front.
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const Point p = centreOf(x, y, z);
                const bool ring = distanceToRing(p, {50, 56, 50}, 15.5) <= 4.0;
                const bool end = p.x >= 55 && p.x <= 62 && p.y >= 34 && p.y <= 56 && p.z >= 63 && p.z <= 67 &&
                                 insideEllipsoid(p, {50, 40, 50}, {23, 30, 21});
                if (!ring && !end) continue;
                const bool stripe = end ? static_cast<int>(p.y) % 6 < 2 : false;
                model.cells[cellIndex(x, y, z)] = static_cast<std::uint8_t>(codeB(stripe ? kScarfStripe : kScarf));
            }

    // A knitted hat: the top of a slightly larger head, a turned-up brim and a pompom.
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 72; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const Point p = centreOf(x, y, z);
                if (!insideEllipsoid(p, {50, 69, 50}, {16, 17, 15})) continue;
                const bool brim = p.y < 77;
                model.cells[cellIndex(x, y, z)] = static_cast<std::uint8_t>(codeB(brim ? kScarfStripe : kHat));
            }
    fillEllipsoid(model, {50, 89, 50}, {5, 5, 5}, codeB(kPompom));
}

void makeDoughnut(VoxelModel& model) {
    // Material A: the dough. Material B: the icing and the sprinkles on it.
    enum { kDough, kDoughDark };
    enum { kIcing, kSprinkleFirst };
    setPalette(model.paletteA, {0xd9a05b, 0xb97a3a});
    setPalette(model.paletteB, {0xf4a6c6, 0xffffff, 0x4fc3f7, 0xffd54f, 0x81c784, 0x7e57c2});
    const Point centre{50, 46, 50};
    const double major = 27, minor = 14;
    std::mt19937 random(12);
    std::uniform_int_distribution<int> sprinkle(0, 4);
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const Point p = centreOf(x, y, z);
                const double distance = distanceToRing(p, centre, major);
                if (distance > minor) continue;
                // The icing covers the top, with a gently wavy edge, and is a little thick.
                const double angle = std::atan2(p.z - centre.z, p.x - centre.x);
                const double edge = centre.y + 2.0 + 2.5 * std::sin(5 * angle) + 1.5 * std::sin(13 * angle + 1);
                int code = codeA(distance > minor - 2.5 && p.y < centre.y - 6 ? kDoughDark : kDough);
                if (p.y > edge) {
                    code = codeB(kIcing);
                    if (distance > minor - 2 && random() % 23 == 0) code = codeB(kSprinkleFirst + sprinkle(random));
                }
                model.cells[cellIndex(x, y, z)] = static_cast<std::uint8_t>(code);
            }
}

}  // namespace
}  // namespace cubrik

int main(int argc, char** argv) {
    using namespace cubrik;
    if (argc != 2) {
        std::cerr << "usage: cubrik_make_examples OUTPUT_FOLDER\n";
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    struct Example {
        const char* name;
        void (*make)(VoxelModel&);
    };
    for (const Example& example : {Example{"penguin.cbk", makePenguin}, Example{"doughnut.cbk", makeDoughnut}}) {
        ModelStore store;
        if (!resetModel(store)) {
            std::cerr << "cubrik_make_examples: out of memory\n";
            return 1;
        }
        example.make(*store.model);
        std::string reason;
        if (!writeModelFile(folder / example.name, *store.model, reason)) {
            std::cerr << "cubrik_make_examples: " << reason << '\n';
            return 1;
        }
    }
    return 0;
}
