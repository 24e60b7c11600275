// What the window says about itself and remembers: the title's star, the
// status line, tooltips, Open recent and the start-up file's problems.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "app/commands/window_status.h"
#include "app/state/recent_files.h"
#include "app/text/ui_text.h"
#include "app_fixture.h"
#include "formats/qb_file.h"
#include "panel/panel_layout.h"
#include "support/file_bytes.h"
#include "support/time_limit.h"

namespace cubrik {
namespace {

using testing::AppTest;

class DesktopTest : public AppTest {
protected:
    std::string path(const std::string& name) { return (dir / name).string(); }
    void open(const std::string& file) {
        platform.fileAnswers = {file};
        command(command::kOpen);
    }
};

TEST_F(DesktopTest, TheTitleStarsUnsavedChangesAndCtrlSClearsThem) {
    start(writeModel("penguin.cbk", 3));
    EXPECT_EQ(platform.title, "penguin - Cubrik");
    mouse(MessageType::MiddleDown, 2, 2);  // any message refreshes the title
    app.flags.modelModified = 1;
    key('D');
    EXPECT_EQ(platform.title, "penguin* - Cubrik");
    key('S' | key::kCtrl);
    EXPECT_EQ(platform.title, "penguin - Cubrik");
    EXPECT_TRUE(platform.dialogs.empty());  // a titled document saves without asking
    EXPECT_EQ(app.edit.currentTool, Tool::Build);
}

TEST_F(DesktopTest, CtrlLettersAreShortcutsOnly) {
    start();
    const std::int32_t size = app.model().brushSize;
    for (int letter = 'A'; letter <= 'Z'; ++letter)
        if (letter != 'Q' && letter != 'N' && letter != 'O' && letter != 'S' && letter != 'E' && letter != 'A')
            key(letter | key::kCtrl);  // with nothing selected (no Ctrl+A), Ctrl+X, C and V change nothing
    EXPECT_EQ(app.edit.currentTool, Tool::Build);
    EXPECT_EQ(app.model().brushSize, size);
    EXPECT_EQ(app.toggles.smoothDisplay, 1);
    EXPECT_TRUE(platform.dialogs.empty());
    platform.fileAnswers = {std::nullopt};
    key('S' | key::kCtrl | key::kShift);  // Save as asks even for an untitled document
    EXPECT_EQ(platform.dialogs.size(), 1u);
    key('Q' | key::kCtrl);
    EXPECT_EQ(platform.quitCode, 0);
    EXPECT_EQ(app.edit.currentTool, Tool::Build);
}

TEST_F(DesktopTest, TheStatusLineNamesToolSizeColourAndWhatIsHidden) {
    start();
    key('W');
    key('V');
    const std::string size = std::to_string(app.model().brushSize);
    EXPECT_EQ(statusTextOf(app), "Peel (W)   Size " + size + "   Colour A1 #FF0000   B hidden — T shows it");
    key('T');
    EXPECT_NE(statusTextOf(app).find("A and B shown"), std::string::npos);
    app.status.cell = cellIndex(3, 4, 5);
    app.model().cells[app.status.cell] = 18;
    EXPECT_NE(statusTextOf(app).find("Cell 3,4,5 code 18 B2 #FF7F00"), std::string::npos) << statusTextOf(app);
    // Ctrl + wheel zooms instead of sizing the brush; the zoom shows once it is not 100 %.
    platform.ctrl = true;
    Message wheel{MessageType::MouseWheel};
    wheel.wheelDelta = 120;
    send(wheel);
    platform.ctrl = false;
    EXPECT_EQ(std::to_string(app.model().brushSize), size);
    EXPECT_NE(statusTextOf(app).find("   Zoom 125%"), std::string::npos) << statusTextOf(app);
    command(command::kFrameSelection);
    EXPECT_NE(statusTextOf(app).find("Nothing is selected to frame."), std::string::npos) << statusTextOf(app);
    // Select mode gives the box's size and corners; Planes through the model's centre says where they went.
    command(command::kSelectMode);
    app.selection.box = CellBox{{10, 20, 0}, {21, 27, 99}};
    EXPECT_NE(statusTextOf(app).find("   Box 12 × 8 × 100 — 10,20,0 to 21,27,99"), std::string::npos) << statusTextOf(app);
    app.model().cells[app.status.cell] = 0;
    command(command::kMirrorToModelCentre);
    EXPECT_NE(statusTextOf(app).find("No cell is filled"), std::string::npos) << statusTextOf(app);
    app.model().cells[cellIndex(10, 30, 40)] = 1;
    app.model().cells[cellIndex(19, 30, 59)] = 1;
    command(command::kMirrorToModelCentre);
    EXPECT_NE(statusTextOf(app).find("Mirror planes at x 14.5, y 30, z 49.5"), std::string::npos) << statusTextOf(app);
}

// A narrow bar leaves fields out from the right, never the latest message;
// each character is one unit wide here.
TEST(StatusLine, FieldsGiveWayBeforeTheNote) {
    const auto chars = [](const std::string& text) { return static_cast<int>(text.size()); };
    const StatusLine line{{"Peel (W)", "Size 3", "B hidden"}, "Undone: 3 changes"};
    const std::string whole = "Peel (W)   Size 3   B hidden   Undone: 3 changes";
    EXPECT_EQ(fitStatusLine(line, chars(whole), chars), whole);
    EXPECT_EQ(fitStatusLine(line, chars(whole) - 1, chars), "Peel (W)   Size 3   …   Undone: 3 changes");
    EXPECT_EQ(fitStatusLine(line, 34, chars), "Peel (W)   …   Undone: 3 changes");
    EXPECT_EQ(fitStatusLine(line, 10, chars), "Undone: 3 changes");
    EXPECT_EQ(fitStatusLine({line.fields, ""}, 23, chars), "Peel (W)   Size 3   …");
}

TEST_F(DesktopTest, EveryPanelItemHasATooltip) {
    start();
    for (int item = 0; item < kItemCount; ++item) {
        const PanelRect r = panelItemRect(item, false);
        EXPECT_FALSE(panelTooltipAt(app, (r.left + r.right) / 2, (r.top + r.bottom) / 2).empty()) << item;
    }
    const PanelRect peel = panelItemRect(buttonOf(Tool::Peel), false);
    EXPECT_EQ(panelTooltipAt(app, peel.left + 2, peel.top + 2), "Peel (W)");
    const PanelRect slot = panelItemRect(kFirstSlot + 1, false);
    EXPECT_EQ(panelTooltipAt(app, slot.left + 2, slot.top + 2).substr(0, 20), "A2 #FF7F00, unlocked");
    EXPECT_EQ(panelTooltipAt(app, 300, 300), "");
}

TEST_F(DesktopTest, OpenRecentForgetsAFileThatHasGone) {
    start();
    const std::string a = writeModel("a.cbk", 3), b = writeModel("b.cbk", 4);
    open(a);
    open(b);
    ASSERT_EQ(app.settings.recentFiles, (std::vector<std::string>{b, a}));
    std::filesystem::remove(a);
    command(command::kFirstRecent + 1);
    EXPECT_EQ(app.settings.recentFiles, std::vector<std::string>{b});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("no longer there"), std::string::npos);
    EXPECT_EQ(app.model().cells[cellIndex(50, 50, 50)], 4);  // b stays open
}

TEST_F(DesktopTest, AReferencePictureThatCannotBeReadIsSaidOnceAndChangesNothing) {
    start();
    const std::string bad = writeModel("not-a-picture.png", 1);
    platform.fileAnswers = {bad};
    command(command::kReferencePicture);
    EXPECT_FALSE(app.view.reference);
    EXPECT_EQ(platform.messages,
              std::vector<std::string>{"Cubrik: Cannot open " + bad +
                                       " as a reference picture.\nit is not a PNG, JPEG or TARGA picture"});
}

TEST_F(DesktopTest, AStartUpFileThatCannotBeOpenedLeavesUntitledAndSaysWhy) {
    start(path("nothere.cbk"));
    EXPECT_EQ(platform.title, "Untitled1 - Cubrik");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_NE(app.status.startupProblem.find("there is no such file"), std::string::npos);
    EXPECT_NE(statusTextOf(app).find("Cannot open " + path("nothere.cbk")), std::string::npos);
    key('D');  // the note lasts until the user does something
    EXPECT_EQ(statusTextOf(app).find("Cannot open"), std::string::npos);
}

// The selection, model and mirror commands say in the status bar why they did
// nothing, and never open a box.
TEST_F(DesktopTest, RefusalsAreNotedInTheStatusBarNeverInABox) {
    start();
    const auto refusal = [&](auto action, const char* words) {
        action();
        EXPECT_EQ(app.status.note.rfind(words, 0), 0u) << app.status.note;
        EXPECT_NE(statusTextOf(app).find(app.status.note), std::string::npos);
    };
    refusal([&] { key('C' | key::kCtrl); }, "Nothing was copied: no cells are selected");
    refusal([&] { key('X' | key::kCtrl); }, "Nothing was cut: no cells are selected");
    refusal([&] { key(key::kDelete); }, "Nothing was deleted: no cells are selected");
    refusal([&] { key('V' | key::kCtrl); }, "Nothing was pasted: nothing has been copied");
    refusal([&] { key(key::kRight); }, "Nothing was moved: there are no cells");
    refusal([&] { command(command::kCentre); }, "Nothing was centred");
    platform.cursor = ClientPoint{400, 20};  // over empty space
    refusal([&] { key('M'); }, "The mirror planes were not moved: no cell lay under the pointer");
    app.selection.box = CellBox{{0, 0, 0}, {9, 9, 9}};
    key('C' | key::kCtrl);
    app.selection.box = CellBox{{95, 0, 0}, {99, 9, 9}};
    refusal([&] { key('V' | key::kCtrl); }, "Nothing was pasted: the cells would reach outside the grid");
    refusal([&] { key(key::kRight); }, "Nothing was moved: the cells would leave the grid");
    app.selection.box = CellBox{{0, 0, 0}, {99, 9, 9}};
    refusal([&] { command(command::kTurnX + 2); }, "Nothing was turned");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.quitCode.has_value());
}

TEST_F(DesktopTest, F1OpensTheHelpPage) {
    start();
    key(key::kF1);
    EXPECT_EQ(platform.helpOpened, std::vector<std::string>{app.paths.helpDocument});
}

TEST_F(DesktopTest, TheRecoveryQuestionNamesTheCopysFileInFull) {
    app.paths.stateFolder = dir / "state";
    const std::filesystem::path folder = recoveryFolderOf(app.paths.stateFolder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(writeModel("penguin.cbk", 3), folder / "1-a.cbk");
    testing::writeBytes(folder / "1-a.txt", "path=/models/penguin.cbk\ntitle=penguin\nuntitled=0\n");
    platform.replies = {Reply::Cancel};
    start();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].find("\"/models/penguin.cbk\""), std::string::npos) << platform.questions[0];
}

// Opening a FIFO would wait for a writer for ever, and /dev/zero never ends:
// Open, a drop and the recovery copies at start refuse them at once.
TEST_F(DesktopTest, FifosAndDevicesAreRefusedAtOnceWhereverAModelIsRead) {
    const testing::TimeLimit limit(20);
    const auto recovery = dir / "state" / "cubrik" / "recovery";
    std::filesystem::create_directories(recovery);
    ASSERT_EQ(mkfifo((recovery / "1-a.cbk").c_str(), 0600), 0);
    writeModel("state/cubrik/recovery/2-b.cbk", 5);
    ASSERT_EQ(mkfifo((recovery / "2-b.txt").c_str(), 0600), 0);  // its note
    ASSERT_EQ(mkfifo(path("pipe.cbk").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.qb");
    app.paths.stateFolder = dir / "state";
    platform.replies = {Reply::No};
    start();
    ASSERT_EQ(platform.questions.size(), 1u);  // only the readable copy is offered
    open(path("pipe.cbk"));
    Message drop{MessageType::DropFile};
    drop.path = path("zero.qb");
    send(drop);
    ASSERT_EQ(platform.messages.size(), 2u);
    for (const std::string& message : platform.messages)
        EXPECT_NE(message.find("it is not a regular file"), std::string::npos) << message;
}

// A .qb re-saved by a peer editor counts one matrix more than it holds.
TEST_F(DesktopTest, WhatReadingAnotherEditorsFileDidIsSaidInTheStatusLine) {
    ModelStore store;
    resetModel(store);
    std::string qb = formatQb(*store.model);
    qb[20] = 2;
    testing::writeBytes(dir / "two.qb", qb);
    start();
    open(path("two.qb"));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_NE(statusTextOf(app).find("two.qb: the header counts 2 matrices, the file holds 1"), std::string::npos);
}

TEST(RecentFiles, KeptInTheSettingsFileNewestFirstAndReadLeniently) {
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i) rememberRecentFile(list, "/m/" + std::to_string(i) + ".cbk");
    rememberRecentFile(list, "/m/5.cbk");
    ASSERT_EQ(list.size(), kMaxRecentFiles);
    EXPECT_EQ(list.front(), "/m/5.cbk");
    EXPECT_EQ(list[1], "/m/9.cbk");
    Settings settings;
    // Names that are not UTF-8 (a Latin-1 byte, an encoded surrogate, an overlong form) come back byte for byte.
    settings.recentFiles = {"/モデル/ペンギン.cbk", "/a b/c.vox", "/caf\xe9.cbk", "/\xed\xb2\x80.cbk", "/\xc0\xae.cbk"};
    Settings back;
    parseSettingsFile(formatSettings(settings), back, {1920, 1080});
    EXPECT_EQ(back.recentFiles, settings.recentFiles);
    // A lone surrogate and an empty entry are skipped; the rest stay.
    const std::u16string damaged = u"recentFile=\xd800x\r\nrecentFile=\r\nrecentFile=/ok.cbk\r\n";
    EXPECT_EQ(parseRecentFiles(damaged), std::vector<std::string>{"/ok.cbk"});
}

}  // namespace
}  // namespace cubrik
