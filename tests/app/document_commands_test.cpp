// The file commands with scripted dialog answers: names, titles, the question
// before unsaved changes are dropped, and what happens when a file fails.
#include <gtest/gtest.h>

#include <cstring>

#include "app/text/ui_text.h"
#include "app_fixture.h"
#include "formats/threemf_export.h"
#include "model/material.h"
#include "support/file_bytes.h"

namespace cubrik {
namespace {

using testing::AppTest;

class DocumentTest : public AppTest {
protected:
    void modify() {
        app.model().cells[0] = 3;
        app.flags.modelModified = 1;
    }
    std::string path(const std::string& name) { return (dir / name).string(); }
};

TEST_F(DocumentTest, AutomaticNamesCountOnThroughTheRun) {
    start();
    EXPECT_EQ(platform.title, "Untitled1 - Cubrik");
    command(command::kNew);
    EXPECT_EQ(platform.title, "Untitled2 - Cubrik");
    EXPECT_EQ(app.document.path, "Untitled2.cbk");
    EXPECT_EQ(app.document.untitled, 1);
}

TEST_F(DocumentTest, JapaneseNamesUseTheJapaneseBase) {
    app.language = Language::Japanese;
    start();
    EXPECT_EQ(platform.title, "無題1 - Cubrik");
}

TEST_F(DocumentTest, AModelOnTheCommandLineOpensWhateverTheCaseOfItsExtension) {
    const std::string file = writeModel("model.CBK", 7);
    start(file);
    EXPECT_EQ(platform.title, "model - Cubrik");
    EXPECT_EQ(app.model().cells[cellIndex(50, 50, 50)], 7);
    EXPECT_EQ(app.document.untitled, 0);
    EXPECT_EQ(app.document.lastFolder, dir.path().string());
    EXPECT_EQ(app.flags.modelModified, 0);
}

TEST_F(DocumentTest, OtherCommandLineNamesGiveAnUntitledDocument) {
    testing::writeBytes(dir / "model.txt", "hello");
    start(path("model.txt"));
    EXPECT_EQ(platform.title, "Untitled1 - Cubrik");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(app.document.lastFolder, (dir / "Desktop").string());
}

TEST_F(DocumentTest, ADamagedStartUpFileIsReportedAndTheSettingsPalettesStay) {
    std::string damaged = testing::readBytes(writeModel("damaged.cbk", 7, 1.0f));
    damaged.resize(damaged.size() / 2);
    testing::writeBytes(dir / "damaged.cbk", damaged);
    app.settings.materialA[0] = 0x102030;
    start(path("damaged.cbk"));
    EXPECT_EQ(platform.title, "Untitled1 - Cubrik");
    EXPECT_EQ(packColour(app.model().paletteA[0]), 0x102030u);
    EXPECT_EQ(app.model().cells[cellIndex(50, 50, 50)], 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("the file ends early"), std::string::npos) << platform.messages[0];
}

TEST_F(DocumentTest, SaveOnAnUntitledDocumentAsksForANameThenSavesAtOnce) {
    start();
    modify();
    platform.fileAnswers = {path("first.cbk")};
    command(command::kSave);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].proposedName, "Untitled1");
    EXPECT_EQ(platform.dialogs[0].folder, (dir / "Desktop").string());
    EXPECT_EQ(platform.title, "first - Cubrik");
    EXPECT_EQ(app.flags.modelModified, 0);
    EXPECT_EQ(testing::readBytes(dir / "first.cbk"), formatModelFile(app.model()));

    modify();
    command(command::kSave);  // titled now: no dialog
    EXPECT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(testing::readBytes(dir / "first.cbk"), formatModelFile(app.model()));
    EXPECT_EQ(app.flags.modelModified, 0);
}

TEST_F(DocumentTest, SaveAsChoosesTheWriterByTheExtension) {
    start(writeModel("model.cbk", 9));
    modify();
    platform.fileAnswers = {path("mesh.obj"), path("mesh.DAE"), path("mesh.mqo"), path("mesh.stl"), path("mesh.txt")};
    for (int i = 0; i < 5; ++i) command(command::kSaveAs);
    EXPECT_EQ(testing::readBytes(dir / "mesh.obj").substr(0, 19), "mtllib mesh.mtl\r\ng ");
    EXPECT_TRUE(std::filesystem::exists(dir / "mesh.mtl"));
    EXPECT_EQ(testing::readBytes(dir / "mesh.DAE").substr(0, 38), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    EXPECT_EQ(testing::readBytes(dir / "mesh.mqo").substr(0, 20), "Metasequoia Document");
    EXPECT_EQ(testing::readBytes(dir / "mesh.stl").substr(0, 17), "Cubrik binary STL");
    EXPECT_FALSE(std::filesystem::exists(dir / "mesh.txt"));
    ASSERT_EQ(platform.messages.size(), 1u);  // the unknown type is said, not silently dropped
    EXPECT_NE(platform.messages[0].find("mesh.txt was not saved"), std::string::npos);
    // Exports leave the document's name and state alone; Save still writes the model.
    EXPECT_EQ(platform.title, "model* - Cubrik");
    EXPECT_EQ(app.flags.modelModified, 1);
    EXPECT_EQ(app.document.exportPath, path("mesh.txt"));
    command(command::kSave);
    EXPECT_EQ(testing::readBytes(dir / "model.cbk"), formatModelFile(app.model()));
}

TEST_F(DocumentTest, SaveAsA3mfAsksWhetherToWriteAnObjectPerColour) {
    start(writeModel("model.cbk", 9));
    app.model().cells[1] = kFirstCodeB;
    const MeshSource source{app.model(), *app.store.cornerCodes, app.store.smoothingTable,
                            app.toggles.smoothDisplay != 0};
    std::string reason;
    MeshExtractor extractor;
    ASSERT_EQ(initMeshExtraction(extractor), 1);
    std::filesystem::create_directory(dir / "expected");  // the same names: the object is named after the file
    ASSERT_EQ(export3mf(extractor, source, dir / "expected" / "no.3mf", reason), 1) << reason;
    ASSERT_EQ(export3mfColourParts(extractor, source, dir / "expected" / "yes.3mf", reason), 1) << reason;
    platform.fileAnswers = {path("yes.3mf"), path("no.3mf"), path("cancel.3mf")};
    platform.replies = {Reply::Yes, Reply::No, Reply::Cancel};
    for (int i = 0; i < 3; ++i) command(command::kSaveAs);
    ASSERT_EQ(platform.questions.size(), 3u);
    EXPECT_NE(platform.questions[0].find("separate object for each colour"), std::string::npos);
    for (const char* name : {"yes.3mf", "no.3mf"})
        EXPECT_EQ(testing::readBytes(dir / name), testing::readBytes(dir / "expected" / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "cancel.3mf"));
}

TEST_F(DocumentTest, AFailedSaveIsReportedAndKeepsTheChanges) {
    start();
    modify();
    platform.fileAnswers = {path("missing folder/a.cbk")};
    command(command::kSaveAs);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("Cannot save " + path("missing folder/a.cbk")), std::string::npos);
    EXPECT_EQ(app.flags.modelModified, 1);
    EXPECT_EQ(platform.title, "Untitled1* - Cubrik");  // the document keeps its name and its star
    EXPECT_EQ(app.document.untitled, 1);
}

TEST_F(DocumentTest, SaveKeepsAPrivateFilePrivateAndALinkALink) {
    namespace fs = std::filesystem;
    const std::string real = writeModel("real/private.cbk", 7);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/private.cbk", dir / "link.cbk");
    start(path("link.cbk"));
    modify();
    command(command::kSave);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(fs::is_symlink(dir / "link.cbk"));
    EXPECT_EQ(testing::readBytes(real), formatModelFile(app.model()));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0600));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 1);
}

TEST_F(DocumentTest, SaveOnAReadOnlyFileSaysSoAndOffersSaveAs) {
    const std::string locked = writeModel("locked.cbk", 7);
    const std::string before = testing::readBytes(locked);
    std::filesystem::permissions(locked, std::filesystem::perms(0444));
    start(locked);
    modify();
    platform.replies = {Reply::No, Reply::Yes};
    platform.fileAnswers = {path("copy.cbk")};
    command(command::kSave);
    EXPECT_TRUE(platform.dialogs.empty());
    command(command::kSave);
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.questions[0],
              "Cubrik: " + locked + " is read-only, so it was not saved. Save the model under another name?");
    EXPECT_EQ(testing::readBytes(locked), before);
    EXPECT_EQ(testing::readBytes(dir / "copy.cbk"), formatModelFile(app.model()));
    EXPECT_EQ(platform.title, "copy - Cubrik");
}

TEST_F(DocumentTest, AnObjWhoseLibraryCannotBeWrittenIsNotWrittenEither) {
    start();
    modify();
    std::filesystem::create_directory(dir / "m.mtl");
    platform.fileAnswers = {path("m.obj")};
    command(command::kSaveAs);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.obj"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "Cubrik: Cannot export " + path("m.obj") + ".\ncannot replace " + path("m.mtl") +
                                        ": it is a folder");
}

TEST_F(DocumentTest, YesToTheQuestionOfNewSavesFirstAndUndoBringsTheModelBack) {
    start();
    modify();
    platform.yesNoAnswers = {true};
    platform.fileAnswers = {path("kept.cbk")};
    command(command::kNew);
    EXPECT_EQ(platform.questions[0], "Cubrik: Untitled1 has changes. Do you want to save the model?");
    ModelStore saved;
    resetModel(saved);
    std::string reason;
    ASSERT_EQ(readModelFile(dir / "kept.cbk", *saved.model, reason), 1);
    EXPECT_EQ(saved.model->cells[0], 3);
    EXPECT_EQ(app.model().cells[0], 0);
    EXPECT_EQ(platform.title, "Untitled2 - Cubrik");
    ctrlKey('Z');
    EXPECT_EQ(app.model().cells[0], 3);
}

TEST_F(DocumentTest, NoToTheQuestionDropsTheChanges) {
    start();
    modify();
    platform.yesNoAnswers = {false};
    command(command::kNew);
    EXPECT_EQ(app.model().cells[0], 0);
    EXPECT_EQ(app.flags.modelModified, 0);
}

TEST_F(DocumentTest, YesThenCancellingTheSaveAbandonsNewOpenAndQuit) {
    start();
    modify();
    platform.yesNoAnswers = {true, true, true};
    platform.fileAnswers = {std::nullopt, std::nullopt, std::nullopt};
    command(command::kNew);
    command(command::kOpen);
    key(key::kEscape);
    EXPECT_EQ(app.model().cells[0], 3);
    EXPECT_EQ(app.flags.modelModified, 1);
    EXPECT_EQ(platform.title, "Untitled1* - Cubrik");
    EXPECT_FALSE(platform.quitCode.has_value());
    EXPECT_EQ(platform.dialogs.size(), 3u);  // only the save dialogs: Open never asked for a file
}

// Cancel (and Esc, and closing the box) abandons the command that asked,
// where No used to drop every unsaved edit.
TEST_F(DocumentTest, CancelToTheQuestionAbandonsNewOpenAndQuit) {
    start();
    modify();
    platform.replies = {Reply::Cancel, Reply::Cancel, Reply::Cancel};
    command(command::kNew);
    command(command::kOpen);
    key(key::kEscape);
    EXPECT_EQ(platform.questions.size(), 3u);
    EXPECT_EQ(app.model().cells[0], 3);
    EXPECT_EQ(app.flags.modelModified, 1);
    EXPECT_FALSE(platform.quitCode.has_value());
    EXPECT_TRUE(platform.dialogs.empty());
}

// A .vox file of 33 voxels in a row, each of its own colour index.
std::string thirtyThreeColourVox() {
    auto int32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string voxels;
    for (int i = 0; i < 33; ++i) voxels += std::string{char(i), 0, 0, char(i + 1)};
    const std::string size = "SIZE" + int32(12) + int32(0) + int32(33) + int32(1) + int32(1);
    const std::string xyzi = "XYZI" + int32(4 + 4 * 33) + int32(0) + int32(33) + voxels;
    return "VOX " + int32(150) + "MAIN" + int32(0) + int32(static_cast<std::uint32_t>(size.size() + xyzi.size())) + size + xyzi;
}

// A .vox file is not what Save writes: the document keeps the name, unsaved,
// and says so when colours had to be merged.
TEST_F(DocumentTest, OpeningAVoxFileLeavesItForSaveAsAndSaysColoursWereMerged) {
    testing::writeBytes(dir / "row.vox", thirtyThreeColourVox());
    platform.fileAnswers = {path("row.vox")};
    start();
    command(command::kOpen);
    EXPECT_EQ(platform.title, "row - Cubrik");
    EXPECT_EQ(app.document.path, path("row.cbk"));
    EXPECT_EQ(app.document.untitled, 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("more than 32 colours"), std::string::npos);
    EXPECT_NE(platform.messages[0].find("\ncolours reduced to 32"), std::string::npos);
    int filled = 0;
    for (std::uint8_t cell : app.model().cells) filled += cell != 0;
    EXPECT_EQ(filled, 33);
}

TEST_F(DocumentTest, OpenReadsTheFileResetsTheViewAndSelectionAndCanBeUndone) {
    start();
    const std::string file = writeModel("models/a.cbk", 12);
    app.model().rotation[0] = -1;
    app.edit.currentTool = Tool::Paint;
    app.model().lockedA[4] = 255;
    platform.fileAnswers = {file};
    command(command::kOpen);
    EXPECT_EQ(app.model().cells[cellIndex(50, 50, 50)], 12);
    EXPECT_EQ(app.model().rotation[0], 1.0);
    EXPECT_EQ(app.edit.currentTool, Tool::Build);
    EXPECT_EQ(app.model().lockedA[4], 0);
    EXPECT_EQ(platform.title, "a - Cubrik");
    EXPECT_EQ(app.document.untitled, 0);
    // The next dialog starts in the folder of the opened file.
    platform.fileAnswers = {std::nullopt};
    command(command::kSaveAs);
    EXPECT_EQ(platform.dialogs.back().folder, (dir / "models").string());
    ctrlKey('Z');
    EXPECT_EQ(app.model().cells[cellIndex(50, 50, 50)], 0);
}

TEST_F(DocumentTest, AFileThatCannotBeOpenedLeavesEverythingAsItWas) {
    start();
    modify();
    app.flags.modelModified = 0;
    testing::writeBytes(dir / "bad.cbk", "#CUBIC-100\r\n#NOT THIS\r\n");
    platform.fileAnswers = {path("bad.cbk")};
    const int undoIndex = app.history.undoIndex;
    command(command::kOpen);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("line 2: expected \"#MATERIAL\""), std::string::npos);
    EXPECT_EQ(app.model().cells[0], 3);
    EXPECT_EQ(platform.title, "Untitled1 - Cubrik");
    EXPECT_EQ(app.history.undoIndex, undoIndex);
}

TEST_F(DocumentTest, QuitStoresThePlacementAndPalettesAndTheSettingsAreWritten) {
    start();
    app.model().paletteB[2] = unpackColour(0x123456);
    key(key::kEscape);
    EXPECT_EQ(platform.quitCode, 0);
    EXPECT_EQ(app.settings.windowX, 30);
    EXPECT_EQ(app.settings.windowHeight, 600);
    EXPECT_EQ(app.settings.materialB[2], 0x123456u);
    std::string reason;
    ASSERT_EQ(shutDown(app, reason), 1) << reason;
    Settings read;
    ASSERT_EQ(readSettings(dir / "settings" / "property.txt", read, {1920, 1080}), 1);
    EXPECT_EQ(read.materialB[2], 0x123456u);
    EXPECT_EQ(read.windowWidth, 700);
}

TEST_F(DocumentTest, ExportAnImageWritesTheViewAsTargaOrPng) {
    start(writeModel("cell.cbk", 1));
    paint();
    platform.fileAnswers = {path("view.tga"), path("view.png"), path("view.bmp")};
    command(command::kExportImage);
    EXPECT_EQ(platform.dialogs[0].proposedName, "cell");
    const std::string image = testing::readBytes(dir / "view.tga");
    ASSERT_GT(image.size(), 18u + 26u);
    EXPECT_EQ(image[2], 2);
    EXPECT_TRUE(platform.messages.empty());
    command(command::kExportImage);
    EXPECT_EQ(testing::readBytes(dir / "view.png").substr(1, 3), "PNG");
    command(command::kExportImage);  // no image type: nothing written, and said so
    EXPECT_FALSE(std::filesystem::exists(dir / "view.bmp"));
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(DocumentTest, ExportingAnEmptyViewSaysWhy) {
    start();
    paint();
    platform.fileAnswers = {path("empty.tga")};
    command(command::kExportImage);
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.tga"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("nothing to draw"), std::string::npos) << platform.messages[0];
}

TEST_F(DocumentTest, BackgroundColourHelpAndAbout) {
    start();
    platform.colourAnswers = {0x00ff00, std::nullopt};
    command(command::kBackgroundColour);
    EXPECT_EQ(app.settings.backgroundColor, 0x00ff00);
    EXPECT_EQ(app.document.customColours[0], 0x010203u);
    command(command::kBackgroundColour);  // cancelled: unchanged
    EXPECT_EQ(app.settings.backgroundColor, 0x00ff00);
    EXPECT_EQ(platform.inputMethodOffCount, 2);

    command(command::kHelp);
    EXPECT_EQ(platform.helpOpened, std::vector<std::string>{"/opt/cubrik/docs/help/index.html"});
    platform.helpOpens = false;
    command(command::kHelp);
    command(command::kAbout);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].substr(0, 32), "About Cubrik: Cubrik version 1.7");
}

TEST_F(DocumentTest, AMaximisedWindowIsMaximisedAgainAtStartUp) {
    app.window.startMaximized = 1;
    start();
    EXPECT_TRUE(platform.maximized);
}

}  // namespace
}  // namespace cubrik
