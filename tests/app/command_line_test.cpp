#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
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
    EXPECT_EQ(unknown.err, "cubrik: unknown option --frobnicate (see --help)\n");
    EXPECT_EQ(run({"--export", "only-one.cbk"}).status, 1);
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

}  // namespace
}  // namespace cubrik
