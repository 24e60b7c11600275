// The shapes in the selection, Fill connected, cell mode and palette files,
// replayed headless in an 800 x 600 window and checked cell by cell against
// computations of their own.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "formats/palette_file.h"
#include "model/material.h"
#include "panel/panel_layout.h"
#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::Cell;
using testing::cellAt;
using testing::drag;
using testing::lockSlot;
using testing::pixelOf;

std::string click(Cell c) { return "ldown " + pixelOf(c) + "\nlup " + pixelOf(c) + "\n"; }

class ShapeSessionTest : public testing::SessionTest {
protected:
    ModelStore run(const VoxelModel& start, const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\npaint\n" + lines + "save $DIR/out.cbk\n", writeModel(start)), "");
        return saved("out.cbk");
    }

    // The cells that differ from `start`, with their codes after.
    static std::map<Cell, int> changes(const VoxelModel& start, const VoxelModel& after) {
        std::map<Cell, int> changed;
        for (int i = 0; i < kCellCount; ++i)
            if (after.cells[i] != start.cells[i]) changed[cellAt(i)] = after.cells[i];
        return changed;
    }

    static ModelStore block(std::uint8_t left, std::uint8_t right) {
        ModelStore store = testing::makeStore();
        testing::fillBox(*store.model, 30, 30, 30, 49, 69, 69, left);
        testing::fillBox(*store.model, 50, 30, 30, 69, 69, 69, right);
        return store;
    }
};

// A block 20..79 with an outer layer of colour 3 round a mix of empty cells,
// colour 1 (current), colour 2 (locked by the sessions), colour 3 and
// material B (hidden).
ModelStore patchwork() {
    ModelStore store = testing::makeStore();
    testing::fillBox(*store.model, 20, 20, 20, 79, 79, 79, 3);
    static const std::uint8_t kCodes[] = {0, 1, 2, 3, 3, 17};
    for (int z = 21; z <= 78; ++z)
        for (int y = 21; y <= 78; ++y)
            for (int x = 21; x <= 78; ++x) testing::setCell(*store.model, x, y, z, kCodes[(7 * x + 11 * y + 13 * z) % 6]);
    return store;
}

// A box drawn from the front and one from the left with Shift: x 35..45,
// y 45..55, z 30..50. The left view leaves the cylinder's axis along x.
TEST_F(ShapeSessionTest, EachShapeChangesExactlyTheCellsItsFormulaNames) {
    const ModelStore start = patchwork();
    const VoxelModel& m = *start.model;
    const std::string select = lockSlot(11) + "key B\n" + drag({35, 40, 79}, {45, 55, 79}) + "key 3\nldown " +
                               pixelOf({20, 45, 30}, kLeftView) + "\nshift 1\nlup " + pixelOf({20, 60, 50}, kLeftView) +
                               "\nshift 0\n";
    const int low[3] = {35, 45, 30}, high[3] = {45, 55, 50};
    const auto term = [&](Cell c, int axis) {
        const int at[3] = {c.x, c.y, c.z};
        const double u = double(2 * at[axis] - low[axis] - high[axis]) / (high[axis] - low[axis] + 1);
        return u * u;
    };
    const auto inBox = [&](Cell c) {
        return c.x >= low[0] && c.x <= high[0] && c.y >= low[1] && c.y <= high[1] && c.z >= low[2] && c.z <= high[2];
    };
    const auto filled = [&](int x, int y, int z) {
        return x >= 0 && y >= 0 && z >= 0 && x < 100 && y < 100 && z < 100 && m.cells[cellIndex(x, y, z)] != 0;
    };
    // The code each command leaves in a cell that neither the lock nor the display protects.
    const std::pair<int, std::function<int(Cell, int)>> commands[] = {
        {40121, [&](Cell c, int code) { return inBox(c) ? 1 : code; }},
        {40122, [&](Cell c, int code) { return inBox(c) && term(c, 0) + term(c, 1) + term(c, 2) <= 1 ? 1 : code; }},
        {40123, [&](Cell c, int code) { return inBox(c) && term(c, 1) + term(c, 2) <= 1 ? 1 : code; }},
        {40129, [&](Cell c, int code) { return inBox(c) && term(c, 0) + term(c, 1) + term(c, 2) <= 1 ? 0 : code; }},
        {40130, [&](Cell c, int code) { return inBox(c) && term(c, 1) + term(c, 2) <= 1 ? 0 : code; }},
        {40124, [&](Cell c, int code) { return inBox(c) && code != 0 ? 1 : code; }},
        {40125,
         [&](Cell c, int code) {
             const bool enclosed = filled(c.x - 1, c.y, c.z) && filled(c.x + 1, c.y, c.z) && filled(c.x, c.y - 1, c.z) &&
                                   filled(c.x, c.y + 1, c.z) && filled(c.x, c.y, c.z - 1) && filled(c.x, c.y, c.z + 1);
             return inBox(c) && code != 0 && enclosed ? 0 : code;
         }},
    };
    // One session: each command, saved, then undone.
    std::string session = "size 800 600\npaint\n" + select;
    for (const auto& [command, expected] : commands)
        session += "menu " + std::to_string(command) + "\nsave $DIR/" + std::to_string(command) + ".cbk\nkey ctrl+z\n";
    ASSERT_EQ(replay(session + "save $DIR/undone.cbk\n", writeModel(m)), "");
    for (const auto& [command, expected] : commands) {
        const ModelStore out = saved(std::to_string(command) + ".cbk");
        int changed = 0;
        for (int i = 0; i < kCellCount; ++i) {
            const int code = m.cells[i];
            const int want = code == 2 || code == 17 ? code : expected(cellAt(i), code);
            ASSERT_EQ(out.model->cells[i], want) << command << " at " << i;
            changed += want != code;
        }
        EXPECT_GT(changed, 100) << command;
    }
    EXPECT_TRUE(changes(m, *saved("undone.cbk").model).empty());
}

TEST_F(ShapeSessionTest, FillConnectedRecoloursTheHalfItHitsInsideCellsIncluded) {
    const ModelStore start = block(3, 4);
    const std::string fillLeft = "key H\nmove " + pixelOf({40, 50, 69}) + "\nkey P\n";
    EXPECT_EQ(run(*start.model, fillLeft).model->cells[cellIndex(40, 50, 50)], 2);
    EXPECT_EQ(changes(*start.model, *run(*start.model, fillLeft).model).size(), 20u * 40u * 40u);
    // A locked colour changes nothing; with the x plane on, the right half's
    // cell in the hit cell's image starts a fill of its own.
    EXPECT_TRUE(changes(*start.model, *run(*start.model, lockSlot(12) + fillLeft).model).empty());
    EXPECT_EQ(changes(*start.model, *run(*start.model, "menu 40061\n" + fillLeft).model).size(), 40u * 40u * 40u);
}

// With the cut-away on (z <= 49 in the front view) the fill starts on the cut
// face and neither it nor Fill in a selection reaches a hidden cell.
TEST_F(ShapeSessionTest, NothingTheCutHidesIsFilled) {
    const ModelStore start = block(3, 4);
    const std::string fillLeft = "key U\nkey H\nmove " + pixelOf({40, 50, 49}) + "\nkey P\n";
    EXPECT_EQ(changes(*start.model, *run(*start.model, fillLeft).model).size(), 20u * 40u * 20u);
    const std::map<Cell, int> filled =
        changes(*start.model, *run(*start.model, "key B\n" + drag({35, 40, 79}, {45, 55, 79}) + "key U\nmenu 40121\n").model);
    std::size_t inFrontLayer = 0;
    for (const auto& [cell, code] : filled) {
        ASSERT_LE(cell.z, 49);
        inFrontLayer += cell.z == 49;
    }
    EXPECT_GT(inFrontLayer, 100u);
    EXPECT_EQ(filled.size(), 50 * inFrontLayer);  // the selection's whole depth up to the cut
}

TEST_F(ShapeSessionTest, CellModeAddsAndEmptiesSingleCellsOnTheFirstFacesPlane) {
    const ModelStore start = block(3, 3);
    const VoxelModel& m = *start.model;
    EXPECT_EQ(changes(m, *run(m, "key N\n" + click({50, 50, 69})).model), (std::map<Cell, int>{{{50, 50, 70}, 1}}));
    EXPECT_EQ(changes(m, *run(m, "key N\nshift 1\n" + click({50, 50, 69}) + "shift 0\n").model),
              (std::map<Cell, int>{{{50, 50, 69}, 0}}));
    std::string across = "key N\nldown " + pixelOf({40, 50, 69}) + "\n";
    for (int x = 41; x <= 44; ++x) across += "move " + pixelOf({x, 50, 69}) + "\n";
    across += "lup " + pixelOf({44, 50, 69}) + "\n";
    std::map<Cell, int> row;
    for (int x = 40; x <= 44; ++x) row[{x, 50, 70}] = 1;
    EXPECT_EQ(changes(m, *run(m, across).model), row);
    EXPECT_TRUE(changes(m, *run(m, across + "key ctrl+z\n").model).empty());
    EXPECT_EQ(changes(m, *run(m, "menu 40061\nkey N\n" + click({40, 50, 69})).model),
              (std::map<Cell, int>{{{40, 50, 70}, 1}, {{59, 50, 70}, 1}}));
    // An image already filled stays; the clicked cell still fills, in one undo step.
    ModelStore imaged = block(3, 3);
    testing::setCell(*imaged.model, 59, 50, 70, 5);
    const std::string twoClicks = "menu 40061\nkey N\n" + click({45, 50, 69}) + click({40, 50, 69});
    EXPECT_EQ(changes(*imaged.model, *run(*imaged.model, twoClicks).model),
              (std::map<Cell, int>{{{40, 50, 70}, 1}, {{45, 50, 70}, 1}, {{54, 50, 70}, 1}}));
    EXPECT_TRUE(changes(*imaged.model, *run(*imaged.model, twoClicks + "key ctrl+z\nkey ctrl+z\n").model).empty());
}

class PaletteSessionTest : public ShapeSessionTest {
protected:
    static std::vector<std::uint32_t> packed(const Rgb* palette) {
        std::vector<std::uint32_t> colours;
        for (int i = 0; i < kPaletteSize; ++i) colours.push_back(packColour(palette[i]));
        return colours;
    }
};

TEST_F(PaletteSessionTest, EachFormatImportsIntoTheCurrentMaterialsSlots) {
    const ModelStore start = testing::makeStore();
    std::vector<std::uint32_t> expected = packed(start.model->paletteB);
    std::copy_n(std::begin({0xff0000u, 0x00ff00u, 0x0000ffu, 0x0a0b0cu}), 4, expected.begin());
    for (const char* name : {"four.gpl", "four.hex", "four.pal", "four-indexed.png", "four-rgb.png"}) {
        const std::string path = std::string(CUBRIK_SOURCE_TESTS) + "/fuzz/corpus/palette/" + name;
        const ModelStore out = run(*start.model, "key G\nanswer file " + path + "\nmenu 40127\n");
        EXPECT_EQ(packed(out.model->paletteB), expected) << name;
        EXPECT_EQ(packed(out.model->paletteA), packed(start.model->paletteA)) << name;
    }
    testing::writeBytes(dir / "bad.gpl", "GIMP Palette\n1 2 3\n1 2\n");
    const ModelStore refused = run(*start.model, "answer file $DIR/bad.gpl\nmenu 40127\n");
    EXPECT_EQ(packed(refused.model->paletteA), packed(start.model->paletteA));
}

TEST_F(PaletteSessionTest, ExportWritesAThenBAndImportBringsTheFirstSixteenBack) {
    ModelStore start = testing::makeStore();
    for (int i = 0; i < kPaletteSize; ++i) {
        start.model->paletteA[i] = unpackColour(0x3d5a7fu * (i + 1) & 0xffffff);
        start.model->paletteB[i] = unpackColour(0x9b1c46u * (i + 1) & 0xffffff);
    }
    std::vector<std::uint32_t> both = packed(start.model->paletteA);
    for (std::uint32_t colour : packed(start.model->paletteB)) both.push_back(colour);
    run(*start.model, "answer file $DIR/both.gpl\nmenu 40128\nanswer file $DIR/both.hex\nmenu 40128\n");
    for (const char* name : {"both.gpl", "both.hex"}) {
        PaletteColours written;
        std::string reason;
        ASSERT_EQ(readPaletteFile(dir / name, written, reason), 1) << reason;
        EXPECT_EQ(written, both) << name;
        const ModelStore back = run(*testing::makeStore().model, "answer file $DIR/" + std::string(name) + "\nmenu 40127\n");
        EXPECT_EQ(packed(back.model->paletteA), packed(start.model->paletteA)) << name;
    }
}

}  // namespace
}  // namespace cubrik
