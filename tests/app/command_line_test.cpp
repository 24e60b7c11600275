#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <sstream>

#include "app/cli/command_line.h"
#include "formats/collada_export.h"
#include "formats/metasequoia_export.h"
#include "formats/obj_export.h"
#include "model/model_file.h"
#include "support/file_bytes.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    std::ostringstream out, err;
    if (!parseCommandLine(args, command, error)) return {1, "", "cubrik: " + error + "\n"};
    const int status = runHeadless(command, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}).out, "Cubrik version 1.7\n");
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--export"), std::string::npos);
}

TEST(CommandLine, AFileNameOpensTheWindowAndOnlyTheFirstCounts) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"a b.cbk", "other.cbk"}, command, error), 1);
    EXPECT_EQ(command.mode, CommandLine::Mode::OpenWindow);
    EXPECT_EQ(command.modelPath, "a b.cbk");
    ASSERT_EQ(parseCommandLine({}, command, error), 1);
    EXPECT_EQ(command.modelPath, "");
}

TEST(CommandLine, BadOptionsSayWhatIsWrong) {
    const Outcome unknown = run({"--frobnicate"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "cubrik: unknown option --frobnicate; see cubrik --help\n");
    EXPECT_EQ(run({"-v"}).err, "cubrik: unknown option -v; see cubrik --help\n");
    EXPECT_EQ(run({"--export", "only-one.cbk"}).status, 1);
}

TEST(CommandLine, ReplayAndRecordTakeAStateFolderAndAModelInEitherOrder) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"--replay", "s.txt", "--state", "st", "m.cbk"}, command, error), 1) << error;
    EXPECT_EQ(command.mode, CommandLine::Mode::Replay);
    EXPECT_EQ(command.stateFolder, "st");
    EXPECT_EQ(command.modelPath, "m.cbk");
    ASSERT_EQ(parseCommandLine({"--record", "s.txt", "m.cbk", "--state", "st"}, command, error), 1) << error;
    EXPECT_EQ(command.mode, CommandLine::Mode::OpenWindow);
    EXPECT_EQ(command.stateFolder, "st");
    EXPECT_EQ(command.sessionPath, "s.txt");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--replay", "s.txt", "--state"}, {"--replay", "s.txt", "a.cbk", "b.cbk"},
             {"--replay", "--state", "st"}, {"--replay", "s.txt", "--state", "a", "--state", "b"}})
        EXPECT_EQ(parseCommandLine(bad, command, error), 0) << bad.back();
}

TEST(CommandLine, RenderOptions) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--view", "left", "--size", "640x480", "--zoom",
                                "--flat", "--background", "102030"},
                               command, error),
              1)
        << error;
    EXPECT_EQ(command.mode, CommandLine::Mode::Render);
    EXPECT_EQ(command.view, 2);
    EXPECT_EQ(command.width, 640);
    EXPECT_EQ(command.height, 480);
    EXPECT_TRUE(command.zoomed);
    EXPECT_TRUE(command.flat);
    EXPECT_EQ(command.backgroundColor, 0x302010u);  // stored as 0x00BBGGRR

    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga"}, command, error), 1);
    EXPECT_EQ(command.view, 0);
    EXPECT_EQ(command.width, 800);
    EXPECT_EQ(command.height, 600);
    EXPECT_EQ(command.backgroundColor, 0xff8080u);
    EXPECT_FALSE(command.flat);

    EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--view", "sideways"}, command, error), 0);
    EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--size", "0x10"}, command, error), 0);
    EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--background", "12345g"}, command, error), 0);
    EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--size"}, command, error), 0);
    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--cut", "y>=7"}, command, error), 1) << error;
    EXPECT_EQ(command.cut, (CutAway{true, 1, false, 7, false}));
    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--cut", "x=99"}, command, error), 1) << error;
    EXPECT_EQ(command.cut, (CutAway{true, 0, true, 99, true}));
    for (const char* cut : {"w<=3", "Z<=4", "z<49", "z<=", "z<=100", "z<=-1", "z<=4x", "z=+4", ""})
        EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--cut", cut}, command, error), 0) << cut;
    EXPECT_EQ(error, "--cut takes x, y or z, then <=, >= or =, then a layer 0..99, for example z<=49, not ");
    // Each wrong value names its own problem.
    const std::pair<std::vector<std::string>, std::string> problems[] = {
        {{"--size", "6145x10"}, "--size 6145x10 is too large: at most 6144 pixels each way, so that a render stays "
                                "under 1 GB of memory"},
        {{"--size", "8x6"}, "--size 8x6 leaves no room for the view: the width must be over 64 (the tool panel) and "
                            "the height over 0"},
        {{"--view"}, "--view needs a value; see cubrik --help"},
    };
    for (const auto& [options, expected] : problems) {
        std::vector<std::string> args = {"--render", "in.cbk", "out.tga"};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(parseCommandLine(args, command, error), 0);
        EXPECT_EQ(error, expected);
    }
    EXPECT_EQ(parseCommandLine({"--export", "in.cbk", "out.obj", "--zoom"}, command, error), 0);
    ASSERT_EQ(parseCommandLine({"--export", "in.cbk", "out.obj", "--flat"}, command, error), 1);
    EXPECT_TRUE(command.flat);
}

TEST(CommandLine, ScaleSetsTheCellSizeOfAnStlExportOnly) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"--export", "in.cbk", "out.STL", "--scale", "2.5"}, command, error), 1) << error;
    EXPECT_EQ(command.cellMillimetres, 2.5);
    ASSERT_EQ(parseCommandLine({"--export", "in.cbk", "out.stl"}, command, error), 1);
    EXPECT_EQ(command.cellMillimetres, 1.0);
    EXPECT_FALSE(command.colourParts);
    ASSERT_EQ(parseCommandLine({"--export", "in.cbk", "out.3mf", "--split-colours", "--scale", "2"}, command, error), 1)
        << error;
    EXPECT_TRUE(command.colourParts);
    EXPECT_EQ(command.cellMillimetres, 2.0);
    const std::pair<std::vector<std::string>, std::string> problems[] = {
        {{"out.obj", "--scale", "2"}, "--scale sets the size of a cell in .stl or .3mf exports, not in out.obj"},
        {{"out.obj", "--split-colours"}, "--split-colours writes a part per colour in .stl or .3mf exports, not in out.obj"},
        {{"out.stl", "--scale", "0"}, "--scale takes the millimetres of one cell, 0.001 to 1000, for example 2.5, not 0"},
        {{"out.stl", "--scale", "2mm"},
         "--scale takes the millimetres of one cell, 0.001 to 1000, for example 2.5, not 2mm"},
        {{"out.stl", "--scale"}, "--scale needs a value; see cubrik --help"},
    };
    for (const auto& [options, expected] : problems) {
        std::vector<std::string> args = {"--export", "in.cbk"};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(parseCommandLine(args, command, error), 0);
        EXPECT_EQ(error, expected);
    }
    EXPECT_EQ(parseCommandLine({"--render", "in.cbk", "out.png", "--scale", "2"}, command, error), 0);
}

TEST(CommandLine, ThicknessIsForPictureInputsOnly) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"--export", "in.JPEG", "out.vox", "--thickness", "100"}, command, error), 1) << error;
    EXPECT_EQ(command.pictureThickness, 100);
    EXPECT_EQ(parseCommandLine({"--export", "in.png", "out.cbk", "--thickness", "0"}, command, error), 0);
    EXPECT_EQ(error, "--thickness takes a number of cells from 1 to 100, not 0");
    EXPECT_EQ(parseCommandLine({"--export", "in.cbk", "out.cbk", "--thickness", "2"}, command, error), 0);
    EXPECT_EQ(error, "--thickness is for a picture input (.png, .jpg or .jpeg), not in.cbk");
}

TEST(CommandLine, RenderLooksAreOffUnlessAskedForAndOnlyForRender) {
    CommandLine command;
    std::string error;
    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga", "--edges", "--ao"}, command, error), 1) << error;
    EXPECT_TRUE(command.occlusion && command.cellEdges);
    ASSERT_EQ(parseCommandLine({"--render", "in.cbk", "out.tga"}, command, error), 1);
    EXPECT_FALSE(command.occlusion || command.cellEdges);
    EXPECT_EQ(parseCommandLine({"--export", "in.cbk", "out.obj", "--ao"}, command, error), 0);
}

class ExportCommand : public ::testing::Test {
protected:
    testing::TempDir dir;
};

TEST_F(ExportCommand, RewritesAModelByteForByte) {
    ModelStore store = testing::makeStore();
    testing::fillRandom(*store.model, 4);
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "a.cbk", *store.model, reason), 1);
    const Outcome result = run({"--export", (dir / "a.cbk").string(), (dir / "b.cbk").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(testing::readBytes(dir / "b.cbk"), testing::readBytes(dir / "a.cbk"));
}

TEST_F(ExportCommand, ADamagedFileGivesOneLineAndNoOutput) {
    testing::writeBytes(dir / "bad.cbk", "#CUBIC-100\r\n#MATERIAL\r\n");
    const Outcome result = run({"--export", (dir / "bad.cbk").string(), (dir / "out.cbk").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "cubrik: " + (dir / "bad.cbk").string() +
                              " line 3: the file ends early, expected a colour line\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.cbk"));
}

TEST_F(ExportCommand, MeshExportsFollowTheExtensionInAnyCaseAndAreSmoothUnlessFlat) {
    ModelStore store = testing::makeStore();
    testing::fillSphere(*store.model, 5);
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "a.cbk", *store.model, reason), 1);
    ASSERT_EQ(readModelFile(dir / "a.cbk", *store.model, reason), 1);  // the palettes as the file holds them
    MeshExtractor extractor;
    ASSERT_EQ(initMeshExtraction(extractor), 1);
    std::filesystem::create_directory(dir / "expected");
    using Writer = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);
    const struct {
        const char* name;
        Writer writer;
    } cases[] = {{"m.obj", exportObj}, {"m.Dae", exportCollada}, {"m.MQO", exportMetasequoia}};
    for (const auto& c : cases)
        for (bool flat : {false, true}) {
            const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, !flat};
            ASSERT_EQ(c.writer(extractor, source, dir / "expected" / c.name, reason), 1) << reason;
            std::vector<std::string> args = {"--export", (dir / "a.cbk").string(), (dir / c.name).string()};
            if (flat) args.push_back("--flat");
            const Outcome result = run(args);
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_EQ(testing::readBytes(dir / c.name), testing::readBytes(dir / "expected" / c.name))
                << c.name << (flat ? " --flat" : "");
        }
    EXPECT_EQ(testing::readBytes(dir / "m.mtl"), testing::readBytes(dir / "expected" / "m.mtl"));
}

TEST_F(ExportCommand, StlIsInMillimetresAtTheScaleGiven) {
    ModelStore store = testing::makeStore();
    testing::setCell(*store.model, 99, 99, 0, 1);  // the top corner farthest from the origin
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "a.cbk", *store.model, reason), 1);
    ASSERT_EQ(run({"--export", (dir / "a.cbk").string(), (dir / "m.stl").string(), "--flat", "--scale", "0.5"}).status, 0);
    const std::string bytes = testing::readBytes(dir / "m.stl");
    ASSERT_EQ(bytes.size(), 84u + 12 * 50);
    float largest = 0;
    for (std::size_t at = 84; at < bytes.size(); at += 50)
        for (std::size_t corner = at + 12; corner < at + 48; corner += 4) {
            float value;
            std::memcpy(&value, bytes.data() + corner, 4);
            largest = std::max(largest, value);
        }
    EXPECT_EQ(largest, 50.0f);
}

// Two blocks apart: the upper floats; a wall one cell thick is thin at half
// a millimetre a cell; one block on the bed alone is fine.
TEST_F(ExportCommand, CheckReportsOneFactALineAndExitsThreeOnFindings) {
    const auto check = [&](const std::vector<std::array<int, 6>>& boxes, std::vector<std::string> options) {
        ModelStore store = testing::makeStore();
        for (const auto& b : boxes) testing::fillBox(*store.model, b[0], b[1], b[2], b[3], b[4], b[5], 1);
        std::string reason;
        EXPECT_EQ(writeModelFile(dir / "m.cbk", *store.model, reason), 1);
        options.insert(options.begin(), {"--check", (dir / "m.cbk").string()});
        return run(options);
    };
    const Outcome apart = check({{0, 0, 0, 9, 9, 9}, {20, 5, 0, 29, 14, 9}}, {});
    EXPECT_EQ(apart.status, 3);
    EXPECT_EQ(apart.out, "parts 2\nfloating 1 part, 1000 cells\nthin 0 cells\noverhang 100 cells\n"
                         "size 30 x 10 x 15 mm\n");
    const Outcome wall = check({{0, 0, 0, 9, 9, 0}}, {"--scale", "0.5"});
    EXPECT_EQ(wall.status, 3);
    EXPECT_NE(wall.out.find("\nthin 100 cells\n"), std::string::npos) << wall.out;
    EXPECT_NE(wall.out.find("\nsize 5 x 0.5 x 5 mm\n"), std::string::npos) << wall.out;
    const Outcome block = check({{40, 0, 40, 59, 19, 59}}, {"--min-wall", "2.5", "--scale", "0.35"});
    EXPECT_EQ(block.status, 0) << block.out;
    EXPECT_EQ(block.out, "parts 1\nfloating 0 parts, 0 cells\nthin 0 cells\noverhang 0 cells\n"
                         "size 7 x 7 x 7 mm\n");
    EXPECT_EQ(run({"--check", (dir / "m.cbk").string(), "--min-wall", "thin"}).err,
              "cubrik: --min-wall takes the thinnest wall in millimetres, 0.001 to 1000, for example 2.5, not thin\n");
    EXPECT_EQ(run({"--check", (dir / "none.cbk").string()}).status, 1);
}

TEST_F(ExportCommand, SplitColoursWritesAnStlPerColourUsedAndNothingForAnEmptyModel) {
    ModelStore store = testing::makeStore();
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "empty.cbk", *store.model, reason), 1);
    const Outcome empty = run({"--export", (dir / "empty.cbk").string(), (dir / "m.stl").string(), "--split-colours"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "cubrik: the model has no filled cells, so there is no colour to write\n");
    testing::setCell(*store.model, 10, 10, 10, 1);
    testing::setCell(*store.model, 11, 10, 10, kFirstCodeB + 2);
    ASSERT_EQ(writeModelFile(dir / "a.cbk", *store.model, reason), 1);
    ASSERT_EQ(run({"--export", (dir / "a.cbk").string(), (dir / "m.stl").string(), "--split-colours"}).status, 0);
    std::set<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) written.insert(entry.path().filename());
    EXPECT_EQ(written, (std::set<std::string>{"a.cbk", "empty.cbk", "m-A01.stl", "m-B03.stl"}));
    EXPECT_EQ(testing::readBytes(dir / "m-A01.stl").size(), 84u + 12 * 50);  // a closed cube each
}

// A red shell round a green inside: the cut face in the middle of the picture
// shows the inside; without the cut the shell's front is there.
TEST_F(ExportCommand, RenderWithACutShowsTheInside) {
    ModelStore store = testing::makeStore();
    testing::fillBox(*store.model, 20, 20, 20, 79, 79, 79, 1);
    testing::fillBox(*store.model, 21, 21, 21, 78, 78, 78, 5);
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "shelled.cbk", *store.model, reason), 1);
    const auto centre = [&](const std::vector<std::string>& cut) {  // 0xRRGGBB
        std::vector<std::string> args = {"--render", (dir / "shelled.cbk").string(), (dir / "out.tga").string()};
        args.insert(args.end(), cut.begin(), cut.end());
        const Outcome result = run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        const std::string tga = testing::readBytes(dir / "out.tga");
        const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(tga[i])); };
        const std::size_t width = byte(12) | byte(13) << 8, height = byte(14) | byte(15) << 8;
        const std::size_t at = 18 + 4 * (height / 2 * width + width / 2);
        return byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at);
    };
    EXPECT_EQ(centre({}), 0xff0000u);
    EXPECT_EQ(centre({"--cut", "z<=49"}), 0x00ff00u);
}

// Seen in parallel, an off-centre block near the viewer and the same block at
// the back of the grid draw the same picture: its front face, 10 cells at the
// pivot plane's 600 / 140.8 pixels a cell, and none of its sides.
TEST_F(ExportCommand, AnOrthographicRenderDrawsFrontAndBackBlocksAlike) {
    const auto render = [&](int z0, const char* name) {
        ModelStore store = testing::makeStore();
        testing::fillBox(*store.model, 70, 60, z0, 79, 69, z0 + 9, 1);
        std::string reason;
        EXPECT_EQ(writeModelFile(dir / "block.cbk", *store.model, reason), 1) << reason;
        const Outcome result =
            run({"--render", (dir / "block.cbk").string(), (dir / name).string(), "--ortho", "--flat"});
        EXPECT_EQ(result.status, 0) << result.err;
        return testing::readBytes(dir / name);
    };
    const std::string front = render(85, "front.tga"), back = render(5, "back.tga");
    EXPECT_EQ(front, back);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(front.at(i)); };
    const double side = 10 * 600 / 140.84508;
    EXPECT_NEAR(byte(12) | byte(13) << 8, side, 1);
    EXPECT_NEAR(byte(14) | byte(15) << 8, side, 1);
}

TEST_F(ExportCommand, AFailedExportGivesOneLineAndWritesNothing) {
    ModelStore store = testing::makeStore();
    std::string reason;
    ASSERT_EQ(writeModelFile(dir / "a.cbk", *store.model, reason), 1);
    std::filesystem::create_directory(dir / "taken.obj");
    const Outcome result = run({"--export", (dir / "a.cbk").string(), (dir / "taken.obj").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("cubrik: cannot replace " + (dir / "taken.obj").string() + ": ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.mtl"));

    const Outcome unknown = run({"--export", (dir / "a.cbk").string(), (dir / "a.txt").string()});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "cubrik: " + (dir / "a.txt").string() +
                               ": unknown output type (use .cbk, .vox, .obj, .dae, .mqo, .glb, .stl, .3mf, .ply or .qb)\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.txt"));
}

}  // namespace
}  // namespace cubrik
