#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>

#include "model/model_file.h"
#include "model/material.h"
#include "support/file_bytes.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using testing::readBytes;
using testing::writeBytes;

constexpr std::size_t kFileSize = 12 + 11 + 32 * 8 + 9 + 100 * (8 + 100 * 102);

std::string plusRow() { return std::string(100, '+') + "\r\n"; }

// The exact text of an empty model with the default palettes, built by hand.
std::string emptyModelText() {
    std::string text = "#CUBIC-100\r\n#MATERIAL\r\n";
    const char* colours[] = {"ff0000", "ff7f00", "ffff00", "7fff00", "00ff00", "00ff7f", "00ffff", "007fff",
                             "0000ff", "7f00ff", "ff00ff", "ff007f", "000000", "3f3f3f", "7f7f7f", "ffffff"};
    for (int material = 0; material < 2; ++material)
        for (const char* colour : colours) text += std::string(colour) + "\r\n";
    text += "#OBJECT\r\n";
    for (int slice = 0; slice < 100; ++slice) {
        text += "#SLICE\r\n";
        for (int row = 0; row < 100; ++row) text += plusRow();
    }
    return text;
}

// Offset of the character of cell (x, y, z) in a file.
std::size_t charOffset(int x, int y, int z) {
    const std::size_t header = 12 + 11 + 32 * 8 + 9;
    return header + static_cast<std::size_t>(99 - z) * (8 + 100 * 102) + 8 + static_cast<std::size_t>(99 - y) * 102 + x;
}

std::string lfOnly(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

class ModelFileTest : public ::testing::Test {
protected:
    VoxelModel& model() { return *store.model; }
    ModelFileContents parse(const std::string& text, int expected = 1) {
        ModelFileContents contents;
        EXPECT_EQ(parseModelFile(text, contents, reason), expected) << reason;
        return contents;
    }

    ModelStore store = testing::makeStore();
    testing::TempDir dir;
    std::string reason;
};

TEST_F(ModelFileTest, AnEmptyModelWritesTheHandCheckedBytes) {
    const std::string text = formatModelFile(model());
    EXPECT_EQ(text.size(), kFileSize);
    EXPECT_EQ(text, emptyModelText());
}

TEST_F(ModelFileTest, CellsGoFromTheFrontSliceAndTheTopRowWithTheirCharacters) {
    testing::setCell(model(), 0, 0, 0, 1);
    testing::setCell(model(), 0, 99, 99, 16);
    testing::setCell(model(), 5, 40, 60, 17);
    testing::setCell(model(), 99, 0, 99, 32);
    const std::string text = formatModelFile(model());
    std::string expected = emptyModelText();
    expected[charOffset(0, 0, 0)] = 'A';
    expected[charOffset(0, 99, 99)] = 'P';
    expected[charOffset(5, 40, 60)] = 'a';
    expected[charOffset(99, 0, 99)] = 'p';
    EXPECT_EQ(text, expected);
    // Cell (0, 0, 0) is the first character of the last row of the last slice.
    EXPECT_EQ(text.substr(text.size() - 102, 2), "A+");
    // Cell (0, 99, 99) is the first character of the first row of the first slice.
    EXPECT_EQ(text.substr(288 + 8, 2), "P+");
}

TEST_F(ModelFileTest, RandomModelsSurviveAWriteAndARead) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        testing::fillRandom(model(), seed);
        model().paletteA[3] = {0.5f, 0.25f, 1.0f};  // values that quantise to 7f, 3f, ff
        const auto path = dir / "random.cbk";
        ASSERT_EQ(writeModelFile(path, model(), reason), 1) << reason;
        const std::string written = readBytes(path);

        ModelStore other = testing::makeStore();
        ASSERT_EQ(readModelFile(path, *other.model, reason), 1) << reason;
        EXPECT_EQ(std::memcmp(other.model->cells, model().cells, kCellCount), 0);
        for (int i = 0; i < kPaletteSize; ++i) {
            EXPECT_EQ(packColour(other.model->paletteA[i]), packColour(model().paletteA[i]));
            EXPECT_EQ(packColour(other.model->paletteB[i]), packColour(model().paletteB[i]));
        }
        EXPECT_EQ(packColour(other.model->paletteA[3]), 0x7f3fffu);
        // Writing what was read gives the same bytes again.
        EXPECT_EQ(formatModelFile(*other.model), written);
    }
}

TEST_F(ModelFileTest, LineFeedOnlyFilesReadLikeCrLfFiles) {
    testing::fillRandom(model(), 11);
    const std::string text = formatModelFile(model());
    const ModelFileContents contents = parse(lfOnly(text));
    EXPECT_EQ(std::memcmp(contents.cells.data(), model().cells, kCellCount), 0);
}

TEST_F(ModelFileTest, TheHeaderMustMatchExactly) {
    std::string text = emptyModelText();
    parse("#CUBIC-100 " + text.substr(10), 0);
    EXPECT_EQ(reason, "line 1: expected \"#CUBIC-100\"");
    parse("#cubic-100" + text.substr(10), 0);
    parse("", 0);
    EXPECT_EQ(reason, "line 1: the file ends early, expected #CUBIC-100");
}

TEST_F(ModelFileTest, SectionLinesOutOfPlaceAreReportedWithTheirLineNumber) {
    std::string text = emptyModelText();
    text.replace(text.find("#MATERIAL"), 9, "#MATERIAX");
    parse(text, 0);
    EXPECT_EQ(reason, "line 2: expected \"#MATERIAL\"");

    text = emptyModelText();
    const std::size_t slice = text.find("#SLICE", 288 + 5 * 10208);
    text.replace(slice, 6, "#SLICF");
    parse(text, 0);
    EXPECT_EQ(reason, "line " + std::to_string(36 + 5 * 101) + ": expected \"#SLICE\"");
}

TEST_F(ModelFileTest, ColourLinesTakeUpToSixDigitsInEitherCase) {
    std::string text = emptyModelText();
    text.replace(23, 6, "FF8000");
    text.replace(23 + 8, 8, "  12ab\r\n");
    text.replace(23 + 16, 8, "1234567\r\n");  // 7 digits: the first six count
    text.replace(23 + 25, 0, 1, '9');             // "97fff00": six digits 97fff0
    const ModelFileContents contents = parse(text);
    EXPECT_EQ(contents.paletteA[0].r, 1.0f);
    EXPECT_FLOAT_EQ(contents.paletteA[0].g, 128 / 255.0f);
    EXPECT_EQ(contents.paletteA[0].b, 0.0f);
    EXPECT_EQ(packColour(contents.paletteA[1]), 0x0012abu);
    EXPECT_EQ(packColour(contents.paletteA[2]), 0x123456u);
    EXPECT_EQ(packColour(contents.paletteA[3]), 0x97fff0u);
    ModelStore written = testing::makeStore();
    std::copy(std::begin(contents.paletteA), std::end(contents.paletteA), written.model->paletteA);
    EXPECT_EQ(formatModelFile(*written.model).substr(23, 8), "ff8000\r\n");
}

TEST_F(ModelFileTest, AColourLineWithoutANumberKeepsTheColourBefore) {
    std::string text = emptyModelText();
    text.replace(23, 6, "zz0000");         // the first: black
    text.replace(23 + 5 * 8, 6, "------");  // sixth keeps the fifth, 00ff00
    const ModelFileContents contents = parse(text);
    EXPECT_EQ(packColour(contents.paletteA[0]), 0u);
    EXPECT_EQ(packColour(contents.paletteA[5]), 0x00ff00u);
}

TEST_F(ModelFileTest, EveryCharacterReadsAsTheTableSays) {
    std::string text = emptyModelText();
    // Row y = 99 of slice z = 99: characters 0..99 of the first row.
    std::string row;
    for (int c = 0; c < 100; ++c) row += static_cast<char>(c + 28);  // "\x1c" .. "\x7f"
    text.replace(charOffset(0, 99, 99), 100, row);
    std::string high(100, '\xc8');
    text.replace(charOffset(0, 98, 99), 100, high);
    const ModelFileContents contents = parse(text);
    for (int x = 0; x < 100; ++x) {
        const int c = x + 28;
        const std::uint8_t code = contents.cells[cellIndex(x, 99, 99)];
        if (c < 'A') EXPECT_EQ(code, 0) << c;
        else if (c <= '`') EXPECT_EQ(code, c - 64) << c;  // "Q".."`" read as 17..32
        else if (c <= 'p') EXPECT_EQ(code, c - 80) << c;
        else EXPECT_EQ(code, 0) << c;                       // above "p": no such code
        EXPECT_EQ(contents.cells[cellIndex(x, 98, 99)], 0);
    }
}

TEST_F(ModelFileTest, ShortRowsLeaveTheirMissingColumnsEmpty) {
    std::string text = emptyModelText();
    const std::size_t at = charOffset(0, 50, 50);
    text.replace(at, 102, "AB\r\n");
    const ModelFileContents contents = parse(text);
    EXPECT_EQ(contents.cells[cellIndex(0, 50, 50)], 1);
    EXPECT_EQ(contents.cells[cellIndex(1, 50, 50)], 2);
    EXPECT_EQ(contents.cells[cellIndex(2, 50, 50)], 0);
}

TEST_F(ModelFileTest, CharactersAfterTheHundredthAndTextAfterTheLastRowAreIgnored) {
    std::string text = emptyModelText();
    const std::size_t at = charOffset(99, 10, 10);
    text.insert(at + 1, "AAAAAAAAAAAAAAAAAAAAA");  // 121 characters: still one line
    text += "trailing words\r\n";
    const ModelFileContents contents = parse(text);
    EXPECT_EQ(contents.cells[cellIndex(99, 10, 10)], 0);
}

// From disk only what reading can use is read: rows of the longest line
// still read, and megabytes after the last row are never read at all.
TEST_F(ModelFileTest, AFileOfTheLongestRowsReadsAndWhatFollowsTheLastRowIsNotRead) {
    std::string text = "#CUBIC-100\n#MATERIAL\n";
    for (int i = 0; i < 32; ++i) text += std::string(120, ' ') + "ff8000\n";
    text += "#OBJECT\n";
    for (int slice = 0; slice < 100; ++slice) {
        text += "#SLICE\n";
        for (int row = 0; row < 100; ++row) text += "B" + std::string(125, '+') + "\n";
    }
    writeBytes(dir / "long.cbk", text + std::string(3 << 20, 'x'));
    ASSERT_EQ(readModelFile(dir / "long.cbk", model(), reason), 1) << reason;
    EXPECT_EQ(model().cells[cellIndex(0, 0, 0)], 2);
    EXPECT_EQ(packColour(model().paletteB[15]), 0xff8000u);
}

TEST_F(ModelFileTest, ALineLongerThan127CharactersIsSplitAndTheFileRejected) {
    std::string text = emptyModelText();
    const std::size_t at = charOffset(99, 10, 10);
    text.insert(at + 1, std::string(60, '+'));
    parse(text, 0);
    const int lineOfRow = 36 + (99 - 10) * 101 + 1 + (99 - 10);
    EXPECT_EQ(reason, "line " + std::to_string(lineOfRow) + ": longer than 127 characters");
}

TEST_F(ModelFileTest, AFileThatEndsEarlyIsRejected) {
    const std::string text = emptyModelText();
    parse(text.substr(0, 288 + 3 * 10208 + 500), 0);
    EXPECT_NE(reason.find("the file ends early"), std::string::npos) << reason;
    // Even one missing row at the very end is a damaged file, not a model.
    parse(text.substr(0, text.size() - 102), 0);
    EXPECT_EQ(reason, "line 10135: the file ends early, expected a row of cells");
    // The last line may lack its line end.
    parse(text.substr(0, text.size() - 2));
}

TEST_F(ModelFileTest, AFailedReadLeavesTheModelUntouched) {
    testing::fillRandom(model(), 5);
    const auto before = std::make_unique<VoxelModel>(model());
    std::string damaged = emptyModelText();
    damaged.replace(23, 6, "123456");
    damaged.replace(damaged.rfind("#SLICE"), 6, "#SLICX");
    const auto path = dir / "damaged.cbk";
    writeBytes(path, damaged);
    EXPECT_EQ(readModelFile(path, model(), reason), 0);
    EXPECT_EQ(reason, path.string() + " line 10035: expected \"#SLICE\"");
    EXPECT_EQ(std::memcmp(before.get(), &model(), sizeof(VoxelModel)), 0);
    EXPECT_EQ(readModelFile(dir / "missing.cbk", model(), reason), 0);
    EXPECT_NE(reason.find("missing.cbk"), std::string::npos);
}

// Every failed write leaves the old file byte for byte and no stray files.
class FailedWriteTest : public ModelFileTest {
protected:
    void SetUp() override {
        target = dir / "keep.cbk";
        writeBytes(target, "the previous file");
        testing::fillRandom(model(), 9);
    }
    void expectOldFileIntact() {
        EXPECT_EQ(readBytes(target), "the previous file");
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
        EXPECT_EQ(entries, 1);
    }
    std::filesystem::path target;
};

TEST_F(FailedWriteTest, AFullDiskLeavesTheOldFile) {
    // A file-size limit makes the kernel refuse writes as a full disk would,
    // even for root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = writeModelFile(target, model(), reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 0);
    EXPECT_NE(reason.find("cannot write"), std::string::npos) << reason;
    EXPECT_NE(reason.find("keep.cbk"), std::string::npos) << reason;
    expectOldFileIntact();
}

TEST_F(FailedWriteTest, AFolderThatDoesNotExistIsReported) {
    EXPECT_EQ(writeModelFile(dir / "no such folder" / "a.cbk", model(), reason), 0);
    EXPECT_NE(reason.find("no such folder"), std::string::npos) << reason;
    expectOldFileIntact();
}

TEST_F(FailedWriteTest, ATargetThatCannotBeReplacedLeavesNoTemporaryFile) {
    const auto folder = dir / "a folder.cbk";
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(folder / "inside");
    EXPECT_EQ(writeModelFile(folder, model(), reason), 0);
    EXPECT_NE(reason.find("cannot replace"), std::string::npos) << reason;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
    std::filesystem::remove_all(folder);
    expectOldFileIntact();
}

TEST_F(FailedWriteTest, ASuccessfulWriteReplacesTheOldFile) {
    ASSERT_EQ(writeModelFile(target, model(), reason), 1) << reason;
    EXPECT_EQ(readBytes(target), formatModelFile(model()));
}

}  // namespace
}  // namespace cubrik
