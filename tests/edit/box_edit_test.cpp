// Copy, delete, paste, flip, turn and move of boxes of cells, and Hollow, on
// small hand-built models.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "edit/box_edit.h"
#include "edit/box_shapes.h"
#include "model/material.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

bool sameCells(const VoxelModel& a, const VoxelModel& b) { return std::memcmp(a.cells, b.cells, kCellCount) == 0; }

std::uint8_t at(const VoxelModel& model, int x, int y, int z) { return model.cells[cellIndex(x, y, z)]; }

TEST(BoxEdit, TurningTheWholeGridMapsEveryCellAsItsAxisSays) {
    ModelStore store = testing::makeStore();
    testing::setCell(*store.model, 1, 2, 3, 5);
    ASSERT_TRUE(turnCells(*store.model, kWholeGrid, 2));  // about z: (x, y, z) -> (99 - y, x, z)
    EXPECT_EQ(at(*store.model, 97, 1, 3), 5);
    ASSERT_TRUE(turnCells(*store.model, kWholeGrid, 0));  // about x: (x, y, z) -> (x, 99 - z, y)
    EXPECT_EQ(at(*store.model, 97, 96, 1), 5);
    ASSERT_TRUE(turnCells(*store.model, kWholeGrid, 1));  // about y: (x, y, z) -> (z, y, 99 - x)
    EXPECT_EQ(at(*store.model, 1, 96, 2), 5);
    EXPECT_EQ(filledCount(*store.model, kWholeGrid), 1);
}

TEST(BoxEdit, TwoFlipsAndFourTurnsAreTheIdentity) {
    ModelStore random = testing::makeStore(), store = testing::makeStore();
    testing::fillRandom(*random.model, 7);
    std::memcpy(store.model->cells, random.model->cells, kCellCount);
    const CellBox cube = boxSpanning({10, 20, 30}, {29, 39, 49});
    for (const CellBox& box : {kWholeGrid, cube})
        for (int axis = 0; axis < 3; ++axis) {
            flipCells(*store.model, box, axis);
            EXPECT_FALSE(sameCells(*store.model, *random.model));
            flipCells(*store.model, box, axis);
            for (int turn = 0; turn < 4; ++turn) EXPECT_EQ(turnCells(*store.model, box, axis), box);
            EXPECT_TRUE(sameCells(*store.model, *random.model)) << axis;
        }
}

// A 4 x 6 box turns about its centre into a 6 x 4 one; the cells it leaves empty.
TEST(BoxEdit, ANonSquareBoxTurnsAboutItsCentre) {
    ModelStore store = testing::makeStore();
    testing::fillBox(*store.model, 10, 20, 5, 13, 25, 5, 1);
    testing::setCell(*store.model, 10, 20, 5, 2);  // the box's low corner
    const std::optional<CellBox> turned = turnCells(*store.model, boxSpanning({10, 20, 5}, {13, 25, 5}), 2);
    ASSERT_TRUE(turned);
    EXPECT_EQ(*turned, boxSpanning({9, 21, 5}, {14, 24, 5}));
    EXPECT_EQ(filledCount(*store.model, *turned), 24);
    EXPECT_EQ(filledCount(*store.model, kWholeGrid), 24);
    EXPECT_EQ(at(*store.model, 14, 21, 5), 2);  // (u, v) = (0, 0) turns to (5, 0)
}

TEST(BoxEdit, NothingLeavesTheGrid) {
    ModelStore store = testing::makeStore();
    testing::fillBox(*store.model, 0, 0, 0, 1, 9, 0, 3);
    ModelStore before = testing::makeStore();
    std::memcpy(before.model->cells, store.model->cells, kCellCount);
    const CellBox strip = boxSpanning({0, 0, 0}, {1, 9, 0});
    EXPECT_FALSE(turnCells(*store.model, strip, 2));
    EXPECT_FALSE(moveCells(*store.model, strip, {-1, 0, 0}));
    EXPECT_FALSE(pasteCells(*store.model, copyCells(*store.model, strip), {99, 0, 0}));
    EXPECT_TRUE(sameCells(*store.model, *before.model));
}

TEST(BoxEdit, PasteLeavesTheTargetUnderEmptyCellsAndCentringFavoursTheLowerSide) {
    ModelStore store = testing::makeStore();
    testing::setCell(*store.model, 0, 0, 0, 4);
    testing::setCell(*store.model, 50, 50, 51, 9);
    const BoxCells copied = copyCells(*store.model, boxSpanning({0, 0, 0}, {0, 0, 1}));
    EXPECT_EQ(pasteCells(*store.model, copied, {50, 50, 50}), boxSpanning({50, 50, 50}, {50, 50, 51}));
    EXPECT_EQ(at(*store.model, 50, 50, 50), 4);
    EXPECT_EQ(at(*store.model, 50, 50, 51), 9);
    // A box 3 wide has 97 cells of room: 48 below, 49 above.
    EXPECT_EQ(centringOffset(boxSpanning({0, 10, 90}, {2, 12, 92})), (std::array<int, 3>{48, 38, -42}));
}

// Every flip, turn and move of a box reaching across the cut leaves the
// hidden cells as they were, and one that is refused changes nothing; on a
// box wholly in view each does what it does without a cut.
TEST(BoxEdit, ACutKeepsEveryHiddenCellAndChangesNothingInViewOtherwise) {
    ModelStore random = testing::makeStore();
    testing::fillRandom(*random.model, 11);
    const VisibleSlab slab{1, 30, 99};
    for (const CellBox& box : {boxSpanning({10, 25, 10}, {21, 36, 23}), boxSpanning({10, 40, 10}, {21, 51, 23})})
        for (int op = 0; op < 12; ++op) {
            ModelStore cut = testing::makeStore(), plain = testing::makeStore();
            *cut.model = *random.model;
            *plain.model = *random.model;
            const int axis = op % 3;
            const std::array<int, 3> offset{axis == 0 ? 1 - op / 6 * 2 : 0, axis == 1 ? 1 - op / 6 * 2 : 0,
                                            axis == 2 ? 1 - op / 6 * 2 : 0};
            bool done = false;
            if (op < 3) {
                done = flipCells(*cut.model, box, axis, slab);
                flipCells(*plain.model, box, axis);
            } else if (op < 6) {
                done = turnCells(*cut.model, box, axis, slab).has_value();
                turnCells(*plain.model, box, axis);
            } else {
                done = moveCells(*cut.model, box, offset, slab).has_value();
                moveCells(*plain.model, box, offset);
            }
            const bool inView = box.min[1] >= 30;
            for (int i = 0; i < kCellCount; ++i) {
                if (!slab.holdsIndex(i) || !done) {
                    ASSERT_EQ(cut.model->cells[i], random.model->cells[i]) << op;
                }
                if (inView && slab.holdsIndex(i)) {
                    ASSERT_EQ(cut.model->cells[i], plain.model->cells[i]) << op;
                }
            }
            EXPECT_TRUE(done || !inView) << op;
        }
}

// Row x = code of every code 0..32 at z = 0, and again at z = 1 behind a cut
// that shows only z = 0. Delete empties and Copy takes exactly the cells in
// view the change rule lets change, the last colour of B included.
TEST(BoxEdit, DeleteAndCopyTakeWhatTheChangeRuleLetsChange) {
    ModelStore store = testing::makeStore();
    for (int z = 0; z <= 1; ++z)
        for (int code = 1; code <= kLastCode; ++code)
            testing::setCell(*store.model, code, 0, z, static_cast<std::uint8_t>(code));
    const CellBox row = boxSpanning({0, 0, 0}, {kLastCode, 0, 1});
    const struct {
        Material current;
        bool otherShown;
        int lockedCode;
        int keptFrom;  // codes from here up stay, besides the locked one
    } cases[] = {{Material::A, true, 0, kLastCode + 1},
                 {Material::A, false, 0, kFirstCodeB},
                 {Material::B, true, kLastCode, kLastCode + 1}};
    for (const auto& c : cases) {
        ModelStore work = testing::makeStore();
        *work.model = *store.model;
        if (c.lockedCode) {
            const Material material = materialOfCode(static_cast<std::uint8_t>(c.lockedCode));
            locksOf(*work.model, material)[c.lockedCode - firstCodeOf(material)] = 1;
        }
        EditState edit;
        edit.currentMaterial = c.current;
        if (c.otherShown) edit.alsoShownMaterial = otherMaterial(c.current);
        const CellChangeRule rule = cellChangeRuleOf(*work.model, edit, VisibleSlab{2, 0, 0});
        const BoxCells copied = copyCells(*work.model, row, rule);
        deleteCells(*work.model, row, rule);
        for (int code = 1; code <= kLastCode; ++code) {
            const bool taken = code < c.keptFrom && code != c.lockedCode;
            EXPECT_EQ(at(*work.model, code, 0, 0), taken ? 0 : code) << code;
            EXPECT_EQ(at(*work.model, code, 0, 1), code);
            EXPECT_EQ(copied.cells[code], taken ? code : 0);
            EXPECT_EQ(copied.cells[kLastCode + 1 + code], 0);
        }
    }
}

TEST(BoxEdit, HollowLeavesAOneCellShellOnEverySide) {
    ModelStore store = testing::makeStore();
    testing::fillBox(*store.model, 40, 40, 40, 49, 49, 49, kLastCode);
    EditState edit;
    edit.currentMaterial = Material::B;
    const std::vector<int> hollowed = cellsToHollow(*store.model, kWholeGrid, cellChangeRuleOf(*store.model, edit, {}));
    std::vector<int> inside;
    for (int z = 41; z <= 48; ++z)
        for (int y = 41; y <= 48; ++y)
            for (int x = 41; x <= 48; ++x) inside.push_back(cellIndex(x, y, z));
    EXPECT_EQ(hollowed, inside);
}

TEST(BoxEdit, TheClipboardTextReadsBackAndRefusesAnythingElse) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 3);
    const BoxCells copied = copyCells(*store.model, boxSpanning({5, 6, 7}, {9, 6, 8}));
    const std::string text = formatBoxCells(copied);
    const std::optional<BoxCells> read = parseBoxCells(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->from, copied.from);
    EXPECT_EQ(read->cells, copied.cells);
    std::string badCode = text;
    badCode[badCode.size() - 3] = 'f';  // a code above 32
    for (const std::string& bad : {std::string(), std::string("hello"), text.substr(0, text.size() - 3), badCode,
                                   text + "00\n", std::string("cubrik cells 1\nfrom 0 0 0\nsize 0 1 1\n"),
                                   std::string("cubrik cells 1\nfrom 2147483647 0 0\nsize 1 1 1\n00\n"),
                                   std::string("cubrik cells 1\nfrom 99 0 0\nsize 2147483647 1 1\n00\n")})
        EXPECT_FALSE(parseBoxCells(bad)) << bad;
}

}  // namespace
}  // namespace cubrik
