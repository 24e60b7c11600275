// Session files: the parser, and whole panel sessions replayed headless.
#include <gtest/gtest.h>

#include <cstring>

#include "app/session/session.h"
#include "app/session/session_file.h"
#include "app/session/session_recorder.h"
#include "formats/image/png_image.h"
#include "support/fake_platform.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

using testing::SessionTest;

TEST(SessionLines, EveryKindReadsBackAsWritten) {
    const char* lines[] = {"size 800 700", "paint", "key Q", "key 5", "key keypad8", "key space", "key escape",
                           "key f1", "key ctrl+z", "key ctrl+shift+s", "key ctrl+c", "menu 40004", "menu 40098",
                           "drop /a b/c.cbk", "ldown 10 -3", "lup 1 2", "ldbl 3 4", "rdown 5 6",
                           "rup 7 8", "rdbl 9 10", "mdown 11 12", "move 13 14", "wheel -120", "shift 1", "pointer 3 -4",
                           "pointer none", "ctrl 1", "ctrl 0", "key home",
                           "tablet 1 1 512 0 1023 0", "answer file /a b/c.cbk", "answer yes", "answer no",
                           "answer cancel", "answer colour 80FF01", "answer box 0 5 7 99 9 8", "answer number 3", "save /a b/m.obj",
                           "answer mesh 60 surface", "answer mesh 1 solid",
                           "grab g.tga",
                           "setting backgroundColor=255", "wait 31", "wait 2.5", "wait 0.1", "wait 100000", "crash",
                           "move -100000 100000", "size 6144 0", "clipboard", "clipboard a%0Ab%20c%25", "finding 0",
                           "finding 12"};
    for (const char* text : lines) {
        SessionLine line;
        std::string error;
        ASSERT_EQ(parseSessionLine(text, line, error), 1) << text << ": " << error;
        EXPECT_EQ(formatSessionLine(line), text);
    }
    SessionLine colour;
    std::string error;
    parseSessionLine("answer colour 80FF01", colour, error);
    EXPECT_EQ(colour.colour, 0x01ff80u);  // dialogs take 0x00BBGGRR
    SessionLine box;
    parseSessionLine("answer box 9 2 30 4 5 6", box, error);
    EXPECT_EQ(box.box, (CellBox{{4, 2, 6}, {9, 5, 30}}));  // either corner first
}

// Escapes are read in either letter case, as any percent-encoding is.
TEST(SessionLines, LowerCasePercentEscapesAreRead) {
    SessionLine line;
    std::string error;
    ASSERT_EQ(parseSessionLine("clipboard a%2fb%0a%c3%a9", line, error), 1) << error;
    EXPECT_EQ(line.text, "a/b\n\xc3\xa9");
}

TEST(SessionLines, MalformedLinesSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"lclick 1 2", "unknown message \"lclick\""},
        {"ldown 1", "\"ldown\" takes the pointer's X and Y, each from -100000 to 100000"},
        {"ldown 2147483647 2147483647", "\"ldown\" takes the pointer's X and Y, each from -100000 to 100000"},
        {"move 0 -100001", "\"move\" takes the pointer's X and Y, each from -100000 to 100000"},
        {"size 800", "\"size\" takes a width and a height from 0 to 6144"},
        {"size 6145 600", "\"size\" takes a width and a height from 0 to 6144"},
        {"clipboard %4", "\"clipboard\" takes percent-encoded text, or nothing"},
        {"key F2", "\"key\" takes a letter, a digit, space, escape, delete, left, right, up, down, pageup, pagedown, "
         "f1, home, keypad0 to keypad9, ctrl+LETTER or ctrl+shift+LETTER"},
        {"key ctrl+1", "\"key\" takes a letter, a digit, space, escape, delete, left, right, up, down, pageup, pagedown, "
         "f1, home, keypad0 to keypad9, ctrl+LETTER or ctrl+shift+LETTER"},
        {"pointer 1", "\"pointer\" takes none, or the pointer's X and Y, each from -100000 to 100000"},
        {"pointer 0 100001", "\"pointer\" takes none, or the pointer's X and Y, each from -100000 to 100000"},
        {"ctrl 2", "\"ctrl\" takes 0 or 1"},
        {"menu 99999", "no menu item has the number 99999"},
        {"menu 40090", "no menu item has the number 40090"},
        {"drop", "\"drop\" takes a path"},
        {"answer maybe", "\"answer\" takes file PATH, yes, no, cancel or colour RRGGBB"},
        {"answer box 1 2 3 4 5", "\"answer box\" takes six cell coordinates from 0 to 99"},
        {"answer box 1 2 3 4 5 100", "\"answer box\" takes six cell coordinates from 0 to 99"},
        {"answer box -1 2 3 4 5 6", "\"answer box\" takes six cell coordinates from 0 to 99"},
        {"answer mesh 0 solid", "\"answer mesh\" takes the cells 1 to 100, then solid or surface"},
        {"answer mesh 60 hollow", "\"answer mesh\" takes the cells 1 to 100, then solid or surface"},
        {"answer number 2.5", "\"answer number\" takes a whole number"},
        {"tablet 1 2 3", "\"tablet\" takes CURSOR BUTTONS PRESSURE MIN MAX MARK"},
        {"save", "\"save\" takes a path"},
        {"wait -1", "\"wait\" takes seconds, a decimal number such as 31 or 2.5"},
        {"wait 1e3", "\"wait\" takes seconds, a decimal number such as 31 or 2.5"},
        {"wait 2.", "\"wait\" takes seconds, a decimal number such as 31 or 2.5"},
        {"crash now", "\"crash\" takes nothing"},
        {"finding -1", "\"finding\" takes the number of a row of the findings list, 0 for the first"},
    };
    for (const auto& [text, expected] : cases) {
        SessionLine line;
        std::string error;
        EXPECT_EQ(parseSessionLine(text, line, error), 0) << text;
        EXPECT_EQ(error, expected);
    }
}

// Waits are written down in whole tenths, and what the rounding leaves out
// is carried into the next wait, so a long recording does not drift.
TEST(SessionRecording, AWaitLineStandsForEachSecondOrMoreThatPassed) {
    testing::TempDir dir;
    const std::string path = (dir / "s.txt").string();
    {
        SessionRecorder recorder;
        std::string reason;
        ASSERT_EQ(recorder.open(path, reason), 1) << reason;
        for (double now : {100.0, 100.5, 103.27, 104.0, 104.25}) recorder.keepTime(now);
    }
    EXPECT_EQ(testing::readBytes(dir / "s.txt"), "wait 3.2\nwait 1\n");
}

// A replay never reads the settings file, so a recording starts with the
// settings it cannot know: those that are not the window's place or paths.
TEST(SessionRecording, ARecordingStartsWithTheSettingsAReplayCannotKnow) {
    testing::TempDir dir;
    Settings settings;
    settings.undoSteps = 1000;
    settings.recentFiles = {"/home/a.cbk"};
    {
        SessionRecorder recorder;
        std::string reason;
        ASSERT_EQ(recorder.open((dir / "s.txt").string(), reason), 1) << reason;
        recordStartState(recorder, settings, 0);
    }
    const std::string text = testing::readBytes(dir / "s.txt");
    EXPECT_EQ(text.substr(0, 32), "setting backgroundColor=16744576");
    EXPECT_NE(text.find("\nsetting materialB="), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind("setting")), "setting undoSteps=1000\n");
    EXPECT_EQ(text.find("window"), std::string::npos);
    EXPECT_EQ(text.find("a.cbk"), std::string::npos);
}

// Nothing is created or changed for a name that is not a session's; the
// lines go to a file beside it, which takes the name at the end.
TEST(SessionRecording, RefusesOtherFilesAndTakesTheNameAtTheEnd) {
    testing::TempDir dir;
    testing::writeBytes(dir / "notes.txt", "my notes\n");
    testing::writeBytes(dir / "s.txt", "paint\n");
    std::string reason;
    for (const char* name : {"m.cbk", "view.PNG", "notes.txt", "."}) {
        SessionRecorder recorder;
        EXPECT_EQ(recorder.open((dir / name).string(), reason), 0) << name;
    }
    EXPECT_EQ(testing::readBytes(dir / "notes.txt"), "my notes\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "m.cbk"));
    {
        SessionRecorder recorder;
        ASSERT_EQ(recorder.open((dir / "s.txt").string(), reason), 1) << reason;
        SessionLine line;
        parseSessionLine("key Q", line, reason);
        recorder.write(line);
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (testing::readBytes(entry.path()) == "key Q\n") ++files;  // flushed, as a crash would leave it
        EXPECT_EQ(files, 1);
        EXPECT_EQ(testing::readBytes(dir / "s.txt"), "paint\n");
    }
    EXPECT_EQ(testing::readBytes(dir / "s.txt"), "key Q\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// A paste of another window's cells needs them in the replay too; the
// window's own copy and text that holds no cells do not. Ctrl is written when it changes.
TEST(SessionRecording, CellsAnotherWindowCopiedAreWrittenDown) {
    testing::TempDir dir;
    testing::FakePlatform desktop;
    {
        SessionRecorder recorder;
        std::string reason;
        ASSERT_EQ(recorder.open((dir / "s.txt").string(), reason), 1) << reason;
        RecordingPlatform recording(desktop, recorder);
        desktop.clipboard = "cubrik cells 1\nfrom 1 2 3\nsize 1 1 1\n05\n";
        recording.clipboardText();
        recording.clipboardText();
        recording.setClipboardText("cubrik cells 1\nfrom 0 0 0\nsize 1 1 1\n01\n");
        recording.clipboardText();
        desktop.clipboard = "hello";
        recording.clipboardText();
        // The mouse and the wheel ask for Ctrl; the recording says when it changed.
        for (bool down : {false, true, true, false}) {
            desktop.ctrl = down;
            EXPECT_EQ(recording.ctrlDown(), down);
        }
    }
    EXPECT_EQ(testing::readBytes(dir / "s.txt"),
              "clipboard cubrik%20cells%201%0Afrom%201%202%203%0Asize%201%201%201%0A05%0A\nclipboard\n"
              "ctrl 1\nctrl 0\n");
}

TEST_F(SessionTest, AMalformedLineStopsTheReplayWithItsNumber) {
    EXPECT_EQ(replay("# comment\n\npaint\nlclick 1 2\n"), (dir / "session.txt").string() + " line 4: unknown message \"lclick\"");
    EXPECT_EQ(replay("save $DIR/no/such/folder/m.cbk\n").find((dir / "session.txt").string() + " line 1: "), 0u);
    // Read whole before anything runs: a bad last line leaves nothing saved.
    EXPECT_NE(replay("save $DIR/early.cbk\n" + std::string(kMaxSessionLineBytes + 1, '#') + "\n"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "early.cbk"));
    std::string reason;
    EXPECT_EQ(runReplay(dir.path().string(), "", reason), 0);
    EXPECT_EQ(reason, dir.path().string() + " is not a regular file");
}

// An undoSteps setting line, here after the start, deepens the history as the
// settings file does: 300 strokes and 300 undos end where they began.
TEST_F(SessionTest, AnUndoStepsSettingLineDeepensTheReplaysHistory) {
    ModelStore start = testing::makeStore();
    testing::fillBox(*start.model, 40, 40, 40, 59, 59, 59, 1);
    std::string session = "size 800 600\npaint\nsetting undoSteps=1000\n";
    for (int i = 0; i < 300; ++i) {
        const std::string at = std::to_string(200 + i % 30 * 15) + " " + std::to_string(150 + i / 30 * 30);
        session += "ldown " + at + "\nlup " + at + "\n";
    }
    session += "save $DIR/stroked.cbk\n";
    for (int i = 0; i < 300; ++i) session += "key ctrl+z\n";
    ASSERT_EQ(replay(session + "save $DIR/undone.cbk\n", writeModel(*start.model)), "");
    EXPECT_NE(std::memcmp(saved("stroked.cbk").model->cells, start.model->cells, kCellCount), 0);
    EXPECT_EQ(std::memcmp(saved("undone.cbk").model->cells, start.model->cells, kCellCount), 0);
}

// Colour 12 dragged onto colour 15 turns code 6 into code 3; a locked target
// and a drop on the source change nothing; the palettes stay.
TEST_F(SessionTest, DraggingAColourOntoAnotherRecoloursOnlyItsCells) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    testing::setCell(m, 1, 1, 1, 6);
    testing::setCell(m, 2, 1, 1, 3);
    testing::setCell(m, 3, 1, 1, 22);  // code 6 of material B
    testing::setCell(m, 4, 1, 1, 7);
    const std::string model = writeModel(m);
    EXPECT_EQ(replay(R"(size 800 700
paint
# colour 12 onto colour 15: 6 becomes 3
ldown 20 230
move 20 260
lup 20 320
# lock colour 16, then try to drop colour 13 on it
rdown 20 340
rup 20 340
ldown 20 260
move 20 300
lup 20 345
# a drop on the source itself
ldown 20 260
move 21 261
lup 21 262
save $DIR/out.cbk
)",
                     model),
              "");
    const ModelStore result = saved("out.cbk"), start = saved("start.cbk");
    const VoxelModel& out = *result.model;
    EXPECT_EQ(out.cells[cellIndex(1, 1, 1)], 3);
    EXPECT_EQ(out.cells[cellIndex(2, 1, 1)], 3);
    EXPECT_EQ(out.cells[cellIndex(3, 1, 1)], 22);
    EXPECT_EQ(out.cells[cellIndex(4, 1, 1)], 7);
    int filled = 0;
    for (std::uint8_t cell : out.cells) filled += cell != 0;
    EXPECT_EQ(filled, 4);
    EXPECT_EQ(std::memcmp(out.paletteA, start.model->paletteA, sizeof out.paletteA), 0);
}

// A colour chosen in the slot's dialog is saved with the document; a
// cancelled one is not.
TEST_F(SessionTest, TheSlotColourDialogChangesThePaletteTheFileKeeps) {
    EXPECT_EQ(replay(R"(size 800 700
paint
ldbl 20 170
answer cancel
ldbl 20 170
answer colour 80FF01
ldbl 20 170
save $DIR/out.cbk
)"),
              "");
    const ModelStore result = saved("out.cbk");
    const VoxelModel& out = *result.model;
    EXPECT_FLOAT_EQ(out.paletteA[0].r, 128 / 255.0f);
    EXPECT_FLOAT_EQ(out.paletteA[0].g, 1.0f);
    EXPECT_FLOAT_EQ(out.paletteA[0].b, 1 / 255.0f);
}

// A picture becomes cells in the current palette's colours, in place of the
// model, as one undo step; a cancelled thickness changes nothing.
TEST_F(SessionTest, APictureImportedAsCellsReplacesTheModelUntilUndone) {
    ModelStore start = testing::makeStore();
    testing::setCell(*start.model, 3, 4, 5, 20);
    start.model->paletteA[2] = {0.2f, 0.4f, 0.6f};
    // 2 x 1: a blue-grey pixel left of a transparent one (blue, green, red, alpha).
    const std::uint8_t pixels[] = {150, 100, 50, 255, 255, 255, 255, 0};
    std::string reason;
    ASSERT_EQ(writePng(dir / "p.png", 2, 1, pixels, reason), 1) << reason;
    const std::string lines = "size 800 600\npaint\nanswer file $DIR/p.png\nanswer cancel\nmenu 40010\nsave $DIR/kept.cbk\n"
                              "answer file $DIR/p.png\nanswer number 2\nmenu 40010\nsave $DIR/out.cbk\n"
                              "key ctrl+z\nsave $DIR/undone.cbk\n";
    ASSERT_EQ(replay(lines, writeModel(*start.model)), "");
    std::vector<std::uint8_t> expected(kCellCount, kEmpty);
    expected[cellIndex(49, 49, 49)] = expected[cellIndex(49, 49, 50)] = 3;
    EXPECT_EQ(std::memcmp(saved("out.cbk").model->cells, expected.data(), kCellCount), 0);
    for (const char* unchanged : {"kept.cbk", "undone.cbk"})
        EXPECT_EQ(std::memcmp(saved(unchanged).model->cells, start.model->cells, kCellCount), 0) << unchanged;
}

constexpr std::uint32_t kFace = 0xf0f0f0, kLight = 0xffffff, kSelection = 0x0078d7, kDark = 0x696969;

TEST_F(SessionTest, ThePanelShowsButtonStatesTheCurrentColourAndLockedColours) {
    EXPECT_EQ(replay(R"(size 800 700
rdown 20 240
rup 20 240
move 40 5
paint
grab $DIR/full.tga
ldown 20 240
move 300 300
paint
grab $DIR/ghost.tga
lup 300 300
size 800 600
paint
grab $DIR/compact.tga
)"),
              "");
    const testing::Grab full = grab("full.tga");
    EXPECT_EQ(full.at(2, 2), kFace);             // tool 0, plain
    EXPECT_EQ(full.at(31, 2), 0xf7f7f7u);        // tool 1, hovered: halfway from light to face
    EXPECT_EQ(full.at(30, 59), kDark);           // tool 5, current: dark outline ...
    EXPECT_EQ(full.at(31, 61), kLight);          // ... on the light fill
    EXPECT_EQ(full.at(32, 129), kSelection);     // material B, hidden
    EXPECT_EQ(full.at(40, 180), 0xff0000u);      // slot 10, current ...
    EXPECT_EQ(full.at(52, 180), 0x8080ffu);      // ... the notch in its right edge shows the background
    EXPECT_EQ(full.at(52, 200), 0xff7f00u);      // slot 11 has none
    EXPECT_EQ(full.at(3, 226), kSelection);      // slot 12 locked: a selection field ...
    EXPECT_EQ(full.at(29, 238), 0xffff00u);      // ... round a small swatch
    EXPECT_EQ(full.at(5, 650), kFace);           // below the last slot

    const testing::Grab ghost = grab("ghost.tga");
    int ringPixels = 0;  // the ghost's rings in the dragged (locked) colour about the pointer
    for (int x = 280; x < 320; ++x) ringPixels += ghost.at(x, 300) == 0xffff00u;
    EXPECT_GE(ringPixels, 4);

    const testing::Grab compact = grab("compact.tga");
    EXPECT_EQ(compact.at(10, 170), 0x0000ffu);   // slot 18 in the left column
    EXPECT_EQ(compact.at(35, 170), 0xff0000u);   // slot 10 in the right column
}

}  // namespace
}  // namespace cubrik
