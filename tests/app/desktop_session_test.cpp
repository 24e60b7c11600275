// The desktop's ways into documents, replayed: Open recent, Ctrl shortcuts,
// dropped files and Import mesh….
#include <gtest/gtest.h>

#include "support/session_runner.h"

namespace cubrik {
namespace {

class DesktopSessionTest : public testing::SessionTest {
protected:
    void SetUp() override {
        testing::fillBox(*a.model, 30, 30, 30, 69, 69, 69, 1);
        testing::fillBox(*b.model, 40, 40, 40, 59, 59, 59, 17);
        std::string reason;
        ASSERT_EQ(writeModelFile((dir / "a.cbk").string(), *a.model, reason), 1) << reason;
        ASSERT_EQ(writeModelFile((dir / "b.cbk").string(), *b.model, reason), 1) << reason;
        testing::writeBytes(dir / "notes.txt", "not a model");
    }

    bool unchanged(const std::string& name, const ModelStore& original) {
        return testing::readBytes(dir / name) == formatModelFile(*original.model);
    }

    ModelStore a = testing::makeStore();
    ModelStore b = testing::makeStore();
};

// A Peel stroke across the middle of the view.
constexpr const char* kPeel = "key W\npaint\nldown 350 300\npaint\nmove 400 290\npaint\nlup 400 290\n";

// Open a, then b: b is entry 1 and a entry 2. Entry 2 opens a, and Ctrl+S
// writes the edit back to a without a dialog (none is answered).
TEST_F(DesktopSessionTest, OpenRecentListsTheNewestFirstAndCtrlSSavesWithoutADialog) {
    ASSERT_EQ(replay("answer file $DIR/a.cbk\nmenu 40002\nanswer file $DIR/b.cbk\nmenu 40002\nmenu 40092\n" +
                     std::string(kPeel) + "key ctrl+s\n"),
              "");
    EXPECT_FALSE(unchanged("a.cbk", a)) << "the stroke was saved into a.cbk";
    EXPECT_TRUE(unchanged("b.cbk", b));
}

// A dropped model opens as Open opens it; anything else is refused and the
// document stays. Ctrl with a letter never picks a tool or a size, and Ctrl+Q quits.
TEST_F(DesktopSessionTest, DroppedFilesAndCtrlLetters) {
    ASSERT_EQ(replay("drop $DIR/notes.txt\nsave $DIR/after-refusal.cbk\ndrop $DIR/b.cbk\nsave $DIR/dropped.cbk\n"
                     "size 800 600\npaint\ngrab $DIR/before.tga\nkey ctrl+c\nkey ctrl+v\nkey ctrl+x\nkey ctrl+w\n"
                     "paint\ngrab $DIR/after.tga\nkey ctrl+q\nsave $DIR/never.cbk\n"),
              "");
    EXPECT_EQ(saved("after-refusal.cbk").model->cells[cellIndex(50, 50, 50)], 0);
    EXPECT_EQ(testing::readBytes(dir / "dropped.cbk"), formatModelFile(*b.model));
    EXPECT_EQ(grab("before.tga").bytes, grab("after.tga").bytes);
    EXPECT_FALSE(std::filesystem::exists(dir / "never.cbk"));
}

// A session holds no answers for Render picture…'s and Export turntable…'s
// settings: a replay cancels them, rendering and writing nothing, and the
// document stays as it was.
TEST_F(DesktopSessionTest, RenderPictureAndExportTurntableAreCancelledInAReplay) {
    const std::string session = "menu 40007\nanswer file $DIR/turn.gif\nmenu 40009\nsave $DIR/after.cbk\n";
    ASSERT_EQ(replay(session, (dir / "a.cbk").string()), "");
    EXPECT_TRUE(unchanged("after.cbk", a));
    EXPECT_FALSE(std::filesystem::exists(dir / "turn.gif"));
}

// Import mesh… replaces the model with the mesh's cells (here a cube, four
// cells wide) in one undo step; a cancelled question and a file that is no
// mesh leave the model as it was.
TEST_F(DesktopSessionTest, ImportMeshReplacesTheModelInOneUndoStep) {
    testing::writeBytes(dir / "cube.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 0 0 1\nv 1 0 1\nv 0 1 1\nv 1 1 1\n"
                                          "f 1 5 7 3\nf 2 4 8 6\nf 1 2 6 5\nf 3 7 8 4\nf 1 3 4 2\nf 5 6 8 7\n");
    testing::writeBytes(dir / "junk.obj", "not a mesh");
    ASSERT_EQ(replay("answer file $DIR/a.cbk\nmenu 40002\nanswer file $DIR/cube.obj\nanswer mesh 4 solid\nmenu 40008\n"
                     "save $DIR/cube.cbk\nkey ctrl+z\nsave $DIR/undone.cbk\n"
                     "answer file $DIR/cube.obj\nanswer cancel\nmenu 40008\nsave $DIR/cancelled.cbk\n"
                     "answer file $DIR/junk.obj\nmenu 40008\nsave $DIR/refused.cbk\n"),
              "");
    ModelStore cube = testing::makeStore();
    testing::fillBox(*cube.model, 48, 48, 48, 51, 51, 51, 1);
    EXPECT_TRUE(unchanged("cube.cbk", cube));
    for (const char* name : {"undone.cbk", "cancelled.cbk", "refused.cbk"}) EXPECT_TRUE(unchanged(name, a)) << name;
}

}  // namespace
}  // namespace cubrik
