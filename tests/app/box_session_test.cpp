// Box selection and the Edit and Model menus replayed headless in an 800 x 600
// window: a drag in select mode, Delete, Copy and Paste, Shift intersection,
// arrow-key moves and centring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::Cell;
using testing::cellAt;
using testing::drag;
using testing::pixelOf;

bool inBox(Cell c, Cell low, Cell high) {
    return c.x >= low.x && c.x <= high.x && c.y >= low.y && c.y <= high.y && c.z >= low.z && c.z <= high.z;
}

class BoxSessionTest : public testing::SessionTest {
protected:
    // A block with a colour per column, so every move and paste shows.
    ModelStore block() {
        ModelStore store = testing::makeStore();
        for (int x = 30; x <= 69; ++x)
            testing::fillBox(*store.model, x, 30, 30, x, 69, 69, static_cast<std::uint8_t>(1 + x % 16));
        return store;
    }

    ModelStore run(const VoxelModel& start, const std::string& lines, const std::string& saveAs = "out.cbk") {
        EXPECT_EQ(replay("size 800 600\npaint\n" + lines + "save $DIR/" + saveAs + "\n", writeModel(start)), "");
        return saved(saveAs);
    }
};

TEST_F(BoxSessionTest, AFrontDragSelectsThroughTheModelDeleteEmptiesItAndUndoBringsItBack) {
    const ModelStore start = block();
    const std::string select = "key B\n" + drag({35, 40, 69}, {45, 55, 69});
    const ModelStore deleted = run(*start.model, select + "key delete\n");
    for (int i = 0; i < kCellCount; ++i) {
        const bool selected = inBox(cellAt(i), {35, 40, 0}, {45, 55, 99});
        ASSERT_EQ(deleted.model->cells[i], selected ? 0 : start.model->cells[i]) << i;
    }
    const ModelStore undone = run(*start.model, select + "key delete\nkey ctrl+z\n");
    EXPECT_EQ(std::memcmp(undone.model->cells, start.model->cells, kCellCount), 0);
}

// A front box runs through the whole depth, yet Delete and Cut, like the
// shapes, leave a locked colour and the hidden material behind the shown one;
// Cut copies only what it empties, so its paste brings no hidden cell back.
TEST_F(BoxSessionTest, DeleteAndCutLeaveLockedColoursAndTheHiddenMaterial) {
    ModelStore start = testing::makeStore();
    testing::fillBox(*start.model, 30, 30, 60, 39, 39, 69, 1);          // A in front
    testing::fillBox(*start.model, 30, 30, 60, 30, 39, 69, 2);          // its x = 30 layer
    testing::fillBox(*start.model, 30, 30, 20, 39, 39, 29, kLastCode);  // B behind
    const std::string select = "key B\n" + drag({30, 30, 69}, {39, 39, 69});
    const std::string lockTwo = testing::lockSlot(kFirstSlot + 1);
    const struct {
        std::string lines;
        std::vector<int> keptCodes;
    } cases[] = {
        {lockTwo + "key delete\n", {2, kLastCode}},
        {lockTwo + "key ctrl+x\n", {2, kLastCode}},
        {"key T\nkey delete\n", {}},  // B shown too, nothing locked: all 2000 go
        {"key T\nkey ctrl+x\n", {}},
        {lockTwo + "key ctrl+x\nkey T\nkey delete\nkey ctrl+shift+a\nkey ctrl+v\n", {1, 2}},
    };
    for (const auto& c : cases) {
        const ModelStore out = run(*start.model, select + c.lines);
        for (int i = 0; i < kCellCount; ++i) {
            const int code = start.model->cells[i];
            const bool kept = std::ranges::find(c.keptCodes, code) != c.keptCodes.end();
            ASSERT_EQ(out.model->cells[i], kept ? code : 0) << c.lines << " cell " << i;
        }
    }
}

// A mug: a base, a round wall and a handle on the right, whose mirror image
// was made about a plane one cell off, so it floats a cell short of the wall
// on the left. Delete floating parts takes exactly that copy, in one undo
// step, except its top row in a locked colour.
TEST_F(BoxSessionTest, DeleteFloatingPartsEmptiesTheMugsLooseHandleAndNothingElse) {
    ModelStore mug = testing::makeStore();
    for (int x = 40; x <= 60; ++x)
        for (int z = 40; z <= 60; ++z) {
            const int r2 = (x - 50) * (x - 50) + (z - 50) * (z - 50);
            if (r2 <= 100) testing::fillBox(*mug.model, x, 0, z, x, r2 >= 64 ? 20 : 1, z, 1);
        }
    const auto handle = [&](int inner, int outer, int step) {
        for (int x = inner; x != outer + step; x += step) {
            testing::setCell(*mug.model, x, 8, 50, 1);
            testing::setCell(*mug.model, x, 14, 50, 2);
        }
        testing::fillBox(*mug.model, outer, 9, 50, outer, 13, 50, 1);
    };
    handle(61, 63, 1);
    handle(37, 35, -1);  // the wall's left edge is x = 40: two cells short of touching it
    const ModelStore out = run(*mug.model, testing::lockSlot(kFirstSlot + 1) + "menu 40079\n");
    int emptied = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        const bool loose = c.x <= 37 && mug.model->cells[i] == 1;
        ASSERT_EQ(out.model->cells[i], loose ? 0 : mug.model->cells[i]) << i;
        emptied += loose;
    }
    EXPECT_EQ(emptied, 8);
    const ModelStore undone = run(*mug.model, "menu 40079\nmenu 40011\n");
    EXPECT_EQ(std::memcmp(undone.model->cells, mug.model->cells, kCellCount), 0);
}

// A press far right of the grid picks the cell on its edge, x = 99, so the
// box reaches the block's right side instead of being refused.
TEST_F(BoxSessionTest, APressOffTheGridPicksTheNearestCellOnItsEdge) {
    const ModelStore start = block();
    const ModelStore out = run(*start.model, "key B\nldown 760 300\nlup " + pixelOf({40, 40, 69}) + "\nkey delete\n");
    int deleted = 0, atRightSide = 0;
    for (int i = 0; i < kCellCount; ++i)
        if (out.model->cells[i] != start.model->cells[i]) {
            ASSERT_GE(cellAt(i).x, 40) << i;
            ++deleted;
            atRightSide += cellAt(i).x == 69;
        }
    EXPECT_GT(atRightSide, 0);
    EXPECT_EQ(deleted % 30, 0);  // whole rows from x 40 to 69
}

// Select box… takes its box from the session's answer; Delete then keeps a
// locked colour and the hidden material as it does for a dragged box.
TEST_F(BoxSessionTest, ATypedBoxIsExactlyTheCellsItNames) {
    ModelStore start = testing::makeStore();
    std::fill_n(start.model->cells, kCellCount, std::uint8_t{1});
    testing::setCell(*start.model, 10, 20, 30, 2);  // locked by the session
    testing::setCell(*start.model, 19, 29, 39, kLastCode);
    const ModelStore out =
        run(*start.model, testing::lockSlot(kFirstSlot + 1) + "answer box 10 20 30 19 29 39\nmenu 40019\nkey delete\n");
    int emptied = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const int code = start.model->cells[i];
        const bool gone = inBox(cellAt(i), {10, 20, 30}, {19, 29, 39}) && code == 1;
        ASSERT_EQ(out.model->cells[i], gone ? 0 : code) << i;
        emptied += gone;
    }
    EXPECT_EQ(emptied, 998);
}

// Export selection… writes the box's cells from the origin through Save as's
// writers, and the document goes on as it was.
TEST_F(BoxSessionTest, ExportSelectionWritesTheBoxFromTheOriginAndLeavesTheDocument) {
    const ModelStore start = block();
    const ModelStore out = run(*start.model, "answer box 60 25 40 79 34 44\nmenu 40019\nanswer file $DIR/part.cbk\n"
                                             "menu 40020\nanswer file $DIR/part.obj\nmenu 40020\n");
    EXPECT_EQ(std::memcmp(out.model->cells, start.model->cells, kCellCount), 0);
    const ModelStore part = saved("part.cbk");
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        const int expected = inBox(c, {0, 0, 0}, {19, 9, 4}) ? start.model->cells[cellIndex(c.x + 60, c.y + 25, c.z + 40)] : 0;
        ASSERT_EQ(part.model->cells[i], expected) << c.x << " " << c.y << " " << c.z;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "part.obj") && std::filesystem::exists(dir / "part.mtl"));
}

TEST_F(BoxSessionTest, PasteGoesToTheSelectionsCornerOrBackWhereTheCellsCameFrom) {
    const ModelStore start = block();
    const std::string copy = "key B\n" + drag({32, 32, 69}, {33, 34, 69}) + "key ctrl+c\n";
    const ModelStore pasted = run(*start.model, copy + drag({50, 60, 69}, {52, 61, 69}) + "key ctrl+v\n");
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        const bool target = inBox(c, {50, 60, 30}, {51, 62, 69});
        const int from = target ? cellIndex(c.x - 18, c.y - 28, c.z) : i;
        ASSERT_EQ(pasted.model->cells[i], start.model->cells[from]) << c.x << " " << c.y << " " << c.z;
    }
    const ModelStore restored = run(*start.model, copy + "key delete\nkey ctrl+shift+a\nkey ctrl+v\n");
    EXPECT_EQ(std::memcmp(restored.model->cells, start.model->cells, kCellCount), 0);
}

// Another window's cells land where they came from; a text whose numbers
// overflow anything pastes nothing.
TEST_F(BoxSessionTest, CellsOnTheSystemClipboardPasteWhereTheyCameFrom) {
    const ModelStore start = block();
    const ModelStore pasted = run(*start.model, "clipboard cubrik%20cells%201%0Afrom%2010%2020%2030%0Asize%201%201%202"
                                                "%0A05%0A00%0A\nkey ctrl+v\n");
    for (int i = 0; i < kCellCount; ++i)
        ASSERT_EQ(pasted.model->cells[i], i == cellIndex(10, 20, 30) ? 5 : start.model->cells[i]) << i;
    const ModelStore untouched = run(*start.model, "clipboard cubrik%20cells%201%0Afrom%202147483647%200%200%0A"
                                                   "size%201%201%201%0A05%0A\nkey ctrl+v\n");
    EXPECT_EQ(std::memcmp(untouched.model->cells, start.model->cells, kCellCount), 0);
}

// A box drawn from the front and one from the right, with Shift held at the
// second release, leave the box that is in both.
TEST_F(BoxSessionTest, ShiftIntersectsAFrontBoxWithASideBox) {
    const ModelStore start = block();
    const std::string front = "key B\n" + drag({35, 40, 69}, {45, 55, 69});
    const std::string side = "key 4\nldown " + pixelOf({69, 35, 60}, kRightView) + "\nshift 1\nlup " +
                             pixelOf({69, 50, 40}, kRightView) + "\nshift 0\n";
    const ModelStore deleted = run(*start.model, front + side + "key delete\n");
    for (int i = 0; i < kCellCount; ++i) {
        const bool selected = inBox(cellAt(i), {35, 40, 40}, {45, 50, 60});
        ASSERT_EQ(deleted.model->cells[i], selected ? 0 : start.model->cells[i]) << i;
    }
}

TEST_F(BoxSessionTest, ArrowsMoveAlongTheScreenAndNothingFallsOffTheGrid) {
    ModelStore start = testing::makeStore();
    testing::fillBox(*start.model, 0, 10, 20, 9, 19, 29, 5);
    const ModelStore right = run(*start.model, "key right\nkey up\nkey pageup\n");
    for (int i = 0; i < kCellCount; ++i) {
        const Cell c = cellAt(i);
        ASSERT_EQ(right.model->cells[i], inBox(c, {1, 11, 21}, {10, 20, 30}) ? 5 : 0) << i;
    }
    const ModelStore left = run(*start.model, "key left\n");
    EXPECT_EQ(std::memcmp(left.model->cells, start.model->cells, kCellCount), 0);
    const ModelStore centred = run(*start.model, "menu 40077\n");
    for (int i = 0; i < kCellCount; ++i)
        ASSERT_EQ(centred.model->cells[i], inBox(cellAt(i), {45, 45, 45}, {54, 54, 54}) ? 5 : 0);
}

// Esc in select mode leaves the mode and nothing else: the program runs on, the
// selection stays for Delete, and the next drag is a stroke. Outside the mode Esc quits.
TEST_F(BoxSessionTest, EscLeavesSelectModeKeepingTheSelectionAndOtherwiseQuits) {
    const ModelStore start = block();
    const std::string carve = "ldown " + pixelOf({60, 60, 69}) + "\nlup " + pixelOf({60, 60, 69}) + "\n";
    const ModelStore out = run(*start.model, "key E\nkey B\n" + drag({35, 40, 69}, {45, 55, 69}) + "key escape\n" +
                                                 carve + "key delete\n");
    EXPECT_EQ(out.model->cells[cellIndex(40, 50, 50)], 0);  // deleted with the selection
    EXPECT_EQ(out.model->cells[cellIndex(60, 60, 69)], 0);  // carved by the stroke
    EXPECT_EQ(out.model->cells[cellIndex(60, 40, 69)], start.model->cells[cellIndex(60, 40, 69)]);
    EXPECT_EQ(replay("size 800 600\npaint\nkey escape\nsave $DIR/after.cbk\n"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "after.cbk"));  // the replay ended at the quit
}

// While a box is dragged it is drawn as the selection is (amber), and in
// select mode the pointer is a cross, not the brush's white outline.
TEST_F(BoxSessionTest, ASelectDragShowsItsBoxWithoutTheBrushOutline) {
    const auto frame = [&](const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\npaint\n" + lines + "paint\ngrab $DIR/frame.tga\n"), "");
        return grab("frame.tga");
    };
    const auto count = [](const testing::Grab& g, int x0, int y0, int x1, int y1, auto wanted) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += wanted(g.at(x, y) >> 16 & 0xff, g.at(x, y) >> 8 & 0xff, g.at(x, y) & 0xff);
        return n;
    };
    const auto amber = [](int r, int g, int b) { return r > 200 && g > 150 && g < 220 && b < 80; };
    const auto white = [](int r, int g, int b) { return r > 240 && g > 240 && b > 240; };
    const testing::Grab dragging = frame("key B\nldown 300 200\nmove 500 400\n");
    EXPECT_GT(count(dragging, 64, 0, 800, 600, amber), 200);
    const auto cyan = [](int r, int g, int b) { return r < 100 && g > 200 && b > 230; };
    EXPECT_GT(count(dragging, 64, 0, 800, 600, cyan), 8);  // the two picked corner cells
    EXPECT_EQ(count(dragging, 440, 340, 560, 460, white), 0);
    EXPECT_GT(count(frame("move 500 400\n"), 440, 340, 560, 460, white), 20);  // the brush outline otherwise
}

}  // namespace
}  // namespace cubrik
