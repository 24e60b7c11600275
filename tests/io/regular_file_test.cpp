#include <gtest/gtest.h>

#include <sys/stat.h>

#include "io/regular_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "support/time_limit.h"

namespace cubrik {
namespace {

std::string refusal(const std::filesystem::path& path, ReadLimit limit = {1000}) {
    std::string content = "kept", reason;
    EXPECT_EQ(readRegularFile(path, limit, content, reason), 0) << path;
    EXPECT_EQ(content, "kept");
    return reason;
}

TEST(RegularFile, FoldersDevicesAndFifosAreRefusedAtOnce) {
    testing::TempDir dir;
    const testing::TimeLimit limit(10);  // a FIFO opened for reading waits for a writer
    ASSERT_EQ(mkfifo((dir / "pipe.cbk").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.cbk");
    EXPECT_NE(refusal(dir / "none").find("cannot open"), std::string::npos);
    EXPECT_NE(refusal(dir.path()).find("it is a folder"), std::string::npos);
    for (const char* name : {"pipe.cbk", "zero.cbk"})
        EXPECT_NE(refusal(dir / name).find("not a regular file"), std::string::npos) << name;
}

TEST(RegularFile, ALargerFileIsRefusedOrReadUpToTheLimitWhenTheRestIsIgnored) {
    testing::TempDir dir;
    testing::writeBytes(dir / "f", std::string(100000, 'x') + "end");
    EXPECT_EQ(refusal(dir / "f", {100002}), "cannot read " + (dir / "f").string() +
                                                ": it holds 100003 bytes, more than a file of its type can (at most 100002)");
    std::string content, reason;
    ASSERT_EQ(readRegularFile(dir / "f", {100003}, content, reason), 1) << reason;
    EXPECT_EQ(content.size(), 100003u);
    ASSERT_EQ(readRegularFile(dir / "f", {100001, true}, content, reason), 1) << reason;
    EXPECT_EQ(content, std::string(100000, 'x') + "e");
}

}  // namespace
}  // namespace cubrik
