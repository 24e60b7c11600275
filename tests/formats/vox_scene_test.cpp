// Scene graphs with rotations, written as version-200 files by a small
// generator here, read to where the placement rule puts every voxel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "formats/vox_file.h"
#include "model/material.h"
#include "support/time_limit.h"

namespace cubrik {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Voxel = std::array<std::uint8_t, 4>;  // x, y, z, colour index
using Position = std::array<std::int64_t, 3>;

void put32(Bytes& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xff));
}

void putString(Bytes& out, std::string_view text) {
    put32(out, static_cast<std::int64_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

struct VoxWriter {
    Bytes children;

    void chunk(std::string_view id, const Bytes& content) {
        children.insert(children.end(), id.begin(), id.end());
        put32(children, static_cast<std::int64_t>(content.size()));
        put32(children, 0);
        children.insert(children.end(), content.begin(), content.end());
    }
    void model(int sx, int sy, int sz, std::initializer_list<Voxel> voxels) {
        Bytes size, xyzi;
        for (int side : {sx, sy, sz}) put32(size, side);
        put32(xyzi, static_cast<std::int64_t>(voxels.size()));
        for (const Voxel& v : voxels) xyzi.insert(xyzi.end(), v.begin(), v.end());
        chunk("SIZE", size);
        chunk("XYZI", xyzi);
    }
    // Each frame is a list of key/value pairs, such as {{"_t", "1 2 3"}, {"_r", "17"}}.
    void transform(int id, int child, std::initializer_list<std::map<std::string_view, std::string_view>> frames) {
        Bytes content;
        for (std::int64_t field : {std::int64_t{id}, std::int64_t{0}, std::int64_t{child}, std::int64_t{-1},
                                   std::int64_t{0}, static_cast<std::int64_t>(frames.size())})
            put32(content, field);
        for (const auto& frame : frames) {
            put32(content, static_cast<std::int64_t>(frame.size()));
            for (const auto& [key, value] : frame) {
                putString(content, key);
                putString(content, value);
            }
        }
        chunk("nTRN", content);
    }
    void group(int id, std::initializer_list<int> members) {
        Bytes content;
        for (std::int64_t field : {std::int64_t{id}, std::int64_t{0}, static_cast<std::int64_t>(members.size())})
            put32(content, field);
        for (int member : members) put32(content, member);
        chunk("nGRP", content);
    }
    void shape(int id, int modelId) {
        Bytes content;
        for (std::int64_t field : {id, 0, 1, modelId, 0}) put32(content, field);
        chunk("nSHP", content);
    }
    // Colour index i is (i, 2i, 255), so every index has its own colour.
    Bytes file() {
        Bytes palette(1024, 0xff);
        for (int index = 1; index < 256; ++index) {
            palette[4 * (index - 1)] = static_cast<std::uint8_t>(index);
            palette[4 * (index - 1) + 1] = static_cast<std::uint8_t>(2 * index);
        }
        chunk("RGBA", palette);
        Bytes out{'V', 'O', 'X', ' '};
        put32(out, 200);
        out.insert(out.end(), {'M', 'A', 'I', 'N'});
        put32(out, 0);
        put32(out, static_cast<std::int64_t>(children.size()));
        out.insert(out.end(), children.begin(), children.end());
        return out;
    }
};

// The filled cells as file positions (cell (x, y, z) holds file (x, 99 - z, y))
// with their colour indices, moved so that the lowest position on each axis is 0.
std::map<Position, int> normalised(const std::map<Position, int>& voxels) {
    Position low = voxels.begin()->first;
    for (const auto& [p, code] : voxels)
        for (int axis = 0; axis < 3; ++axis) low[axis] = std::min(low[axis], p[axis]);
    std::map<Position, int> out;
    for (const auto& [p, code] : voxels) out[{p[0] - low[0], p[1] - low[1], p[2] - low[2]}] = code;
    return out;
}

std::map<Position, int> readVoxels(const Bytes& file, VoxContents& out) {
    std::string reason;
    EXPECT_EQ(parseVox(file, out, reason), 1) << reason;
    std::map<Position, int> voxels;
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x)
                if (const int code = out.cells[cellIndex(x, y, z)]; code != 0) voxels[{x, kGridSize - 1 - z, y}] = code;
    return voxels.empty() ? voxels : normalised(voxels);
}

// Indices 1-32 keep their codes and their file colours.
void expectFileColours(const VoxContents& out) {
    for (int index = 1; index <= 16; ++index)
        EXPECT_EQ(packColour(out.paletteA[index - 1]), 0x10000u * index + 0x200u * index + 0xffu);
}

TEST(VoxScene, AQuarterTurnAndAFlatTurnOfAnOddModelLandWhereTheRuleSays) {
    // 90 degrees about z: row 0 is -y (column 1, negative), row 1 is +x.
    VoxWriter quarter;
    quarter.model(3, 2, 1, {{0, 0, 0, 1}, {2, 0, 0, 2}, {0, 1, 0, 3}});
    quarter.transform(0, 1, {{{"_r", "17"}, {"_t", "7 -3 2"}}});
    quarter.shape(1, 0);
    VoxContents out;
    // Centred on (1, 1, 0): (-1,-1) -> (0,-1), (1,-1) -> (0,1), (-1,0) -> (-1,-1).
    EXPECT_EQ(readVoxels(quarter.file(), out), normalised({{{0, -1, 0}, 1}, {{0, 1, 0}, 2}, {{-1, -1, 0}, 3}}));
    expectFileColours(out);
    EXPECT_EQ(out.notes, "rotations applied to 1 model");

    // 180 degrees about z of a 3 x 3 model turns about its centre cell.
    VoxWriter half;
    half.model(3, 3, 1, {{0, 0, 0, 1}, {2, 0, 0, 2}, {1, 2, 0, 3}, {1, 1, 0, 4}});
    half.transform(0, 1, {{{"_r", "52"}}});
    half.shape(1, 0);
    EXPECT_EQ(readVoxels(half.file(), out),
              normalised({{{0, 0, 0}, 1}, {{-2, 0, 0}, 2}, {{-1, -2, 0}, 3}, {{-1, -1, 0}, 4}}));
}

TEST(VoxScene, MirrorsAndOddPermutationsAreApplied) {
    // Byte 20: identity columns, row 0 negative: x mirrored about the model's
    // centre between cells 1 and 2 of 4.
    VoxWriter mirror;
    mirror.model(4, 1, 1, {{0, 0, 0, 1}, {3, 0, 0, 2}, {1, 0, 0, 3}});
    mirror.transform(0, 1, {{{"_r", "20"}}});
    mirror.shape(1, 0);
    VoxContents out;
    EXPECT_EQ(readVoxels(mirror.file(), out), normalised({{{1, 0, 0}, 1}, {{-2, 0, 0}, 2}, {{0, 0, 0}, 3}}));

    // Byte 1: x and y swapped, no sign: a reflection across the diagonal.
    VoxWriter swap;
    swap.model(3, 1, 2, {{0, 0, 0, 1}, {2, 0, 1, 2}});
    swap.transform(0, 1, {{{"_r", "1"}}});
    swap.shape(1, 0);
    EXPECT_EQ(readVoxels(swap.file(), out), normalised({{{0, 0, 0}, 1}, {{0, 2, 1}, 2}}));
    expectFileColours(out);
}

// Positions compared within one scene, not each shape by itself: a mirrored
// model must stand in the same cells as the same model unmirrored.
TEST(VoxScene, AMirroredModelFillsTheBoxOfTheSameModelUnmirrored) {
    VoxWriter scene;
    scene.model(4, 1, 1, {{0, 0, 0, 1}, {3, 0, 0, 2}});
    scene.transform(0, 1, {{}});
    scene.group(1, {2, 4});
    scene.transform(2, 3, {{}});
    scene.shape(3, 0);
    scene.transform(4, 5, {{{"_r", "20"}, {"_t", "0 1 0"}}});  // x mirrored, one row further
    scene.shape(5, 0);
    VoxContents out;
    EXPECT_EQ(readVoxels(scene.file(), out), normalised({{{0, 0, 0}, 1}, {{3, 0, 0}, 2}, {{3, 1, 0}, 1}, {{0, 1, 0}, 2}}));
}

TEST(VoxScene, AGroupsRotationTurnsItsChildrensTranslationsAndTheFirstShapeWins) {
    VoxWriter scene;
    scene.model(1, 1, 1, {{0, 0, 0, 1}});
    scene.model(1, 1, 1, {{0, 0, 0, 2}});
    scene.model(1, 1, 1, {{0, 0, 0, 3}});
    scene.transform(0, 1, {{}});
    scene.group(1, {2});
    scene.transform(2, 3, {{{"_r", "17"}, {"_t", "10 10 0"}}});
    scene.group(3, {4, 6, 8});
    // Frame 0 counts; frame 1 would put the child elsewhere.
    scene.transform(4, 5, {{{"_t", "4 0 0"}}, {{"_t", "0 0 9"}}});
    scene.shape(5, 0);
    scene.transform(6, 7, {{}});
    scene.shape(7, 1);
    scene.transform(8, 9, {{}});
    scene.shape(9, 2);  // on model 1's cell, later in the file: loses
    VoxContents out;
    // The turn takes (4, 0, 0) to (0, 4, 0).
    EXPECT_EQ(readVoxels(scene.file(), out), normalised({{{0, 4, 0}, 1}, {{0, 0, 0}, 2}}));
    EXPECT_EQ(out.notes, "3 models merged; rotations applied to 3 models");
}

TEST(VoxScene, RotationBytesThatAreNoPermutationReadAsNoneAndAreSaidOnce) {
    VoxWriter scene;
    scene.model(2, 1, 1, {{0, 0, 0, 1}, {1, 0, 0, 2}});
    scene.transform(0, 1, {{{"_r", "3"}}});  // row 0 in column 3
    scene.group(1, {2});
    scene.transform(2, 3, {{{"_r", "0"}}});  // rows 0 and 1 in column 0
    scene.shape(3, 0);
    VoxContents out;
    EXPECT_EQ(readVoxels(scene.file(), out), normalised({{{0, 0, 0}, 1}, {{1, 0, 0}, 2}}));
    EXPECT_EQ(out.notes, "rotation byte 3 is no rotation, read as none (2 nodes)");

    VoxWriter damaged;
    damaged.model(1, 1, 1, {{0, 0, 0, 1}});
    damaged.transform(0, 1, {{{"_r", "4x"}}});
    damaged.shape(1, 0);
    std::string reason;
    EXPECT_EQ(parseVox(damaged.file(), out, reason), 0);
    EXPECT_EQ(reason, "scene node 0 has a damaged rotation");
}

// A 2 KB file whose groups each list the next twice would be walked 2^60 times.
TEST(VoxScene, RepeatedChildrenAndRunawayWalksAreRefused) {
    const testing::TimeLimit limit(20);
    const auto refusal = [](VoxWriter& scene) {
        VoxContents out;
        std::string reason;
        EXPECT_EQ(parseVox(scene.file(), out, reason), 0);
        return reason;
    };
    VoxWriter doubled;
    doubled.model(1, 1, 1, {{0, 0, 0, 1}});
    doubled.transform(0, 1, {{}});
    for (int level = 1; level <= 60; ++level) doubled.group(level, {level + 1, level + 1});
    doubled.shape(61, 0);
    EXPECT_EQ(refusal(doubled), "group node 1 lists node 2 twice");

    // Two transforms to the same group at every level: no node is listed twice.
    VoxWriter shared;
    shared.model(1, 1, 1, {{0, 0, 0, 1}});
    shared.transform(0, 1, {{}});
    for (int level = 0; level < 24; ++level) {
        const int group = 1 + 3 * level, next = group + 3;
        shared.group(group, {group + 1, group + 2});
        shared.transform(group + 1, next, {{}});
        shared.transform(group + 2, next, {{}});
    }
    shared.group(1 + 3 * 24, {});
    EXPECT_EQ(refusal(shared), "walking the scene graph takes more than 1048576 node visits (nodes shared by many paths)");
}

}  // namespace
}  // namespace cubrik
