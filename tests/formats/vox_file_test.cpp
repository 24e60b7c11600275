#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "formats/vox_colours.h"
#include "formats/vox_file.h"
#include "model/material.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Voxel = std::array<std::uint8_t, 4>;

void put32(Bytes& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xff));
}

Bytes chunk(std::string_view id, const Bytes& content, const Bytes& children = {}) {
    Bytes out(id.begin(), id.end());
    put32(out, static_cast<std::int64_t>(content.size()));
    put32(out, static_cast<std::int64_t>(children.size()));
    out.insert(out.end(), content.begin(), content.end());
    out.insert(out.end(), children.begin(), children.end());
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes voxFile(const Bytes& mainChildren) {
    Bytes out{'V', 'O', 'X', ' '};
    put32(out, 150);
    return concat({out, chunk("MAIN", {}, mainChildren)});
}

Bytes model(int sx, int sy, int sz, std::initializer_list<Voxel> voxels) {
    Bytes size, xyzi;
    for (int side : {sx, sy, sz}) put32(size, side);
    put32(xyzi, static_cast<std::int64_t>(voxels.size()));
    for (const Voxel& v : voxels) xyzi.insert(xyzi.end(), v.begin(), v.end());
    return concat({chunk("SIZE", size), chunk("XYZI", xyzi)});
}

// A DICT with at most one pair.
Bytes dict(std::string_view key = {}, std::string_view value = {}) {
    Bytes out;
    put32(out, key.empty() ? 0 : 1);
    for (std::string_view text : {key, value}) {
        if (key.empty()) break;
        put32(out, static_cast<std::int64_t>(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    }
    return out;
}

Bytes transform(int id, int child, std::string_view translation) {
    Bytes head, tail;
    put32(head, id);
    for (std::int64_t field : {child, -1, 0, 1}) put32(tail, field);
    return chunk("nTRN", concat({head, dict(), tail, dict("_t", translation)}));
}

Bytes group(int id, std::initializer_list<int> children) {
    Bytes head, tail;
    put32(head, id);
    put32(tail, static_cast<std::int64_t>(children.size()));
    for (int child : children) put32(tail, child);
    return chunk("nGRP", concat({head, dict(), tail}));
}

Bytes shape(int id, int modelId) {
    Bytes head, tail;
    put32(head, id);
    put32(tail, 1);
    put32(tail, modelId);
    return chunk("nSHP", concat({head, dict(), tail, dict()}));
}

// RGBA with colour index i set to colours[i] where given, black elsewhere.
Bytes rgba(std::initializer_list<std::pair<int, std::uint32_t>> colours) {
    Bytes out(1024, 0);
    for (const auto& [index, colour] : colours) {
        out[4 * (index - 1)] = static_cast<std::uint8_t>(colour >> 16);
        out[4 * (index - 1) + 1] = static_cast<std::uint8_t>(colour >> 8);
        out[4 * (index - 1) + 2] = static_cast<std::uint8_t>(colour);
    }
    return chunk("RGBA", out);
}

// Model 0 is three voxels wide under x + 10, model 1 a 2-cube under (-5, 2, 3).
Bytes twoModelScene() {
    return voxFile(concat({model(3, 1, 1, {{0, 0, 0, 40}, {2, 0, 0, 41}}), model(2, 2, 2, {{1, 1, 1, 42}}),
                           transform(0, 1, "0 0 0"), group(1, {2, 4}), transform(2, 3, "10 0 0"), shape(3, 0),
                           transform(4, 5, "-5 2 3"), shape(5, 1),
                           rgba({{40, 0x0a141e}, {41, 0x28323c}, {42, 0x46505a}})}));
}

int parse(const Bytes& bytes, VoxContents& out, std::string& reason) { return parseVox(bytes, out, reason); }

std::uint8_t cellAt(const VoxContents& contents, int x, int y, int z) { return contents.cells[cellIndex(x, y, z)]; }

long filledCells(const VoxContents& contents) {
    return std::count_if(contents.cells.begin(), contents.cells.end(), [](std::uint8_t c) { return c != 0; });
}

void expectColour(const Rgb& colour, std::uint32_t packed) { EXPECT_EQ(packColour(colour), packed); }

TEST(VoxFile, TwoCellsHaveTheHandCheckedBytesAndReadBackInPlace) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    m.paletteA[0] = {0.999f, 0.5f, 0.2f};  // truncated: fe 7f 33
    m.paletteB[0] = {0.1f, 1.0f, 0.0f};    // 19 ff 00
    testing::setCell(m, 0, 0, 0, 1);
    testing::setCell(m, 2, 1, 3, 17);
    const std::string file = formatVox(m);
    ASSERT_EQ(file.size(), 1104u);
    const std::string head(
        "VOX \x96\0\0\0"
        "MAIN\0\0\0\0\x3c\x04\0\0"
        "SIZE\x0c\0\0\0\0\0\0\0\x64\0\0\0\x64\0\0\0\x64\0\0\0"
        "XYZI\x0c\0\0\0\0\0\0\0\x02\0\0\0"
        "\x00\x63\x00\x01"
        "\x02\x60\x01\x11"
        "RGBA\0\x04\0\0\0\0\0\0",
        80);
    EXPECT_EQ(file.substr(0, 80), head);
    EXPECT_EQ(file.substr(80, 4), "\xfe\x7f\x33\xff");              // index 1: A colour 0
    EXPECT_EQ(file.substr(84, 4), std::string("\xff\x7f\x00\xff", 4));  // A colour 1, the default orange
    EXPECT_EQ(file.substr(80 + 16 * 4, 4), std::string("\x19\xff\x00\xff", 4));  // index 17: B colour 0
    EXPECT_EQ(file.substr(80 + 32 * 4, 4), std::string("\0\0\0\xff", 4));
    EXPECT_EQ(file.substr(1100, 4), std::string("\0\0\0\xff", 4));

    VoxContents back;
    std::string reason;
    ASSERT_EQ(parseVox({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()}, back, reason), 1)
        << reason;
    EXPECT_EQ(cellAt(back, 0, 0, 0), 1);
    EXPECT_EQ(cellAt(back, 2, 1, 3), 17);
    EXPECT_EQ(filledCells(back), 2);
    expectColour(back.paletteA[0], 0xfe7f33);
    expectColour(back.paletteB[0], 0x19ff00);
}

TEST(VoxFile, RandomModelRoundTripsThroughAFileCellForCellAndColourForColour) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    testing::fillRandom(m, 20240611);
    for (int i = 0; i < kPaletteSize; ++i) {
        m.paletteA[i] = unpackColour(packColour(m.paletteA[i]));
        m.paletteB[i] = unpackColour(packColour(m.paletteB[i]));
    }
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writeVoxFile(dir / "m.vox", m, reason), 1) << reason;
    VoxContents back;
    ASSERT_EQ(loadVoxFile(dir / "m.vox", back, reason), 1) << reason;
    ASSERT_EQ(back.cells.size(), static_cast<std::size_t>(kCellCount));
    EXPECT_TRUE(std::equal(back.cells.begin(), back.cells.end(), m.cells));
    EXPECT_FALSE(back.coloursMerged);
    for (int i = 0; i < kPaletteSize; ++i) {
        EXPECT_EQ(packColour(back.paletteA[i]), packColour(m.paletteA[i])) << i;
        EXPECT_EQ(back.paletteB[i].g, m.paletteB[i].g) << i;
    }
    EXPECT_EQ(writeVoxFile(dir / "missing" / "m.vox", m, reason), 0);
    EXPECT_NE(reason.find("missing"), std::string::npos);
}

TEST(VoxFile, SceneModelsArePlacedByTheirTranslationsAndCentred) {
    VoxContents out;
    std::string reason;
    ASSERT_EQ(parse(twoModelScene(), out, reason), 1) << reason;
    // The scene spans x -6..11, y 0..2, z 0..3: 18 x 3 x 4, shifted by (47, 48, 48).
    EXPECT_EQ(filledCells(out), 3);
    EXPECT_EQ(cellAt(out, 56, 48, 51), 1);  // model 0 voxel (0, 0, 0), index 40
    EXPECT_EQ(cellAt(out, 58, 48, 51), 2);  // model 0 voxel (2, 0, 0), index 41
    EXPECT_EQ(cellAt(out, 42, 51, 49), 3);  // model 1 voxel (1, 1, 1), index 42
    expectColour(out.paletteA[0], 0x0a141e);
    expectColour(out.paletteA[2], 0x46505a);
    EXPECT_EQ(out.paletteA[3].g, kDefaultPalette[3].g);
    EXPECT_FALSE(out.coloursMerged);
}

TEST(VoxFile, ASceneLargerThanTheGridIsRefusedWithItsSize) {
    VoxContents out;
    std::string reason;
    EXPECT_EQ(parse(voxFile(model(180, 40, 64, {})), out, reason), 0);
    EXPECT_EQ(reason, "the scene is 180 x 40 x 64 voxels; Cubrik models hold at most 100 x 100 x 100");
    // Two models that fit alone but not 60 apart.
    const Bytes wide = voxFile(concat({model(50, 1, 1, {}), transform(0, 1, "0 0 0"), group(1, {2, 4}),
                                       transform(2, 3, "-30 0 0"), shape(3, 0), transform(4, 5, "30 0 0"),
                                       shape(5, 0)}));
    EXPECT_EQ(parse(wide, out, reason), 0);
    EXPECT_EQ(reason, "the scene is 110 x 1 x 1 voxels; Cubrik models hold at most 100 x 100 x 100");
    EXPECT_TRUE(out.cells.empty());
}

TEST(VoxFile, MoreThan32ColoursKeepTheMostUsedAndMergeTheRestIntoTheNearest) {
    // Indices 1..34 on one voxel each along x, index 34 on a second: 34 and then
    // the lower indices 1..31 are kept; 32 and 33 fall to their nearest reds.
    Bytes voxels, size;
    put32(voxels, 35);
    for (int x = 0; x < 35; ++x) voxels.insert(voxels.end(), {std::uint8_t(x), 0, 0, std::uint8_t(std::min(x + 1, 34))});
    for (int side : {35, 1, 1}) put32(size, side);
    Bytes palette(1024, 0);
    for (int index = 1; index <= 34; ++index) palette[4 * (index - 1)] = static_cast<std::uint8_t>(index * 7);
    VoxContents out;
    std::string reason;
    ASSERT_EQ(parse(voxFile(concat({chunk("SIZE", size), chunk("XYZI", voxels), chunk("RGBA", palette)})), out,
                    reason),
              1)
        << reason;
    EXPECT_TRUE(out.coloursMerged);
    // File x goes to cell x + 32 on row (49, 50).
    EXPECT_EQ(cellAt(out, 32, 49, 50), 1);   // index 1
    EXPECT_EQ(cellAt(out, 62, 49, 50), 31);  // index 31, the 31st kept
    EXPECT_EQ(cellAt(out, 63, 49, 50), 31);  // index 32 (224) is nearer 31 (217) than 34 (238)
    EXPECT_EQ(cellAt(out, 64, 49, 50), 32);  // index 33 (231) is nearer 34
    EXPECT_EQ(cellAt(out, 66, 49, 50), 32);
    expectColour(out.paletteB[14], 0xd90000);
    expectColour(out.paletteB[15], 0xee0000);
}

TEST(VoxFile, UnknownChunksAreSkippedAndNoRgbaMeansTheDefaultPalette) {
    Bytes pack;
    put32(pack, 1);
    const Bytes file = voxFile(concat({chunk("PACK", pack), chunk("ABCD", {1, 2, 3, 4, 5}, chunk("EFGH", {9})),
                                       model(1, 1, 1, {{0, 0, 0, 2}}), chunk("MATL", {7, 7})}));
    VoxContents out;
    std::string reason;
    ASSERT_EQ(parse(file, out, reason), 1) << reason;
    EXPECT_EQ(cellAt(out, 49, 49, 50), 2);
    EXPECT_EQ(filledCells(out), 1);
    expectColour(out.paletteA[1], 0xffffcc);
    // Corners of the published default table.
    EXPECT_EQ(defaultVoxColour(1), 0xffffffu);
    EXPECT_EQ(defaultVoxColour(36), 0xff0000u);
    EXPECT_EQ(defaultVoxColour(215), 0x000033u);
    EXPECT_EQ(defaultVoxColour(216), 0xee0000u);
    EXPECT_EQ(defaultVoxColour(229), 0x00aa00u);
    EXPECT_EQ(defaultVoxColour(245), 0x000011u);
    EXPECT_EQ(defaultVoxColour(255), 0x111111u);
}

TEST(VoxFile, TruncatedAndDamagedFilesAreRefusedWithAReason) {
    const Bytes good = twoModelScene();
    VoxContents out;
    out.cells.assign(1, 99);  // must survive every refusal
    std::string reason;
    for (std::size_t length = 0; length < good.size(); ++length) {
        reason.clear();
        EXPECT_EQ(parse(Bytes(good.begin(), good.begin() + length), out, reason), 0) << length;
        EXPECT_FALSE(reason.empty()) << length;
    }
    auto refusal = [&](const Bytes& file) {
        reason.clear();
        EXPECT_EQ(parse(file, out, reason), 0);
        return reason;
    };
    Bytes badMagic = good;
    badMagic[0] = 'W';
    EXPECT_EQ(refusal(badMagic), "not a .vox file (no \"VOX \" header)");
    Bytes longChild = good;
    longChild[20 + 7] = 0x7f;  // SIZE content size, far past the end
    EXPECT_EQ(refusal(longChild), "the file ends inside chunk \"SIZE\"");
    Bytes overCount = voxFile(model(2, 2, 2, {{0, 0, 0, 1}}));
    overCount[20 + 24 + 12] = 2;
    EXPECT_EQ(refusal(overCount), "the XYZI chunk holds fewer voxels than it counts");
    EXPECT_EQ(refusal(voxFile(model(2, 2, 2, {{0, 2, 0, 1}}))), "a voxel lies outside its model's size");
    EXPECT_EQ(refusal(voxFile(model(2, 0, 2, {}))), "a model has the size 2 x 0 x 2");
    EXPECT_EQ(refusal(voxFile(chunk("XYZI", Bytes(4, 0)))), "an XYZI chunk has no SIZE chunk before it");
    const Bytes oneModel = model(1, 1, 1, {{0, 0, 0, 1}});
    EXPECT_EQ(refusal(voxFile(concat({oneModel, transform(0, 1, "0 0 0"), group(1, {0})}))),
              "the scene graph loops back to node 0");
    EXPECT_EQ(refusal(voxFile(concat({oneModel, transform(0, 1, "0 0 0"), shape(1, 3)}))),
              "the scene graph refers to a missing model 3");
    EXPECT_EQ(refusal(voxFile(concat({oneModel, transform(0, 1, "0 0 0")}))),
              "the scene graph refers to a missing node 1");
    EXPECT_EQ(refusal(voxFile(concat({oneModel, transform(0, 1, "1 2"), shape(1, 0)}))),
              "scene node 0 has a damaged translation");
    EXPECT_EQ(refusal(voxFile(concat({oneModel, shape(1, 0), shape(1, 0)}))), "two scene nodes have the id 1");
    EXPECT_EQ(refusal(voxFile(concat({oneModel, chunk("nGRP", {0, 0, 0, 0})}))),
              "the nGRP chunk is shorter than its fields");
    EXPECT_EQ(out.cells, Bytes{99});
}

}  // namespace
}  // namespace cubrik
