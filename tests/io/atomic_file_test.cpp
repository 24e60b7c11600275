#include <gtest/gtest.h>

#include "io/atomic_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

TEST(AtomicFile, TheTargetAppearsOnlyWhenCommitted) {
    testing::TempDir dir;
    const auto target = dir / "out.txt";
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.open());
        writer.write("half");
        EXPECT_FALSE(std::filesystem::exists(target));
    }  // abandoned
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.open());
    writer.write(std::string(3 << 20, 'x'));  // more than one buffer's worth
    writer.write("end");
    ASSERT_TRUE(writer.commit()) << writer.error();
    const std::string bytes = testing::readBytes(target);
    EXPECT_EQ(bytes.size(), (3u << 20) + 3);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "xend");
}

// The temporary name must not grow with the target's: a name of 255 bytes,
// the most a file system allows, is written beside itself.
TEST(AtomicFile, ANameAsLongAsTheFileSystemAllowsCanBeWritten) {
    testing::TempDir dir;
    const auto target = dir / (std::string(251, 'n') + ".cbk");
    std::string reason;
    ASSERT_EQ(writeFileAtomically(target, "long", reason), 1) << reason;
    ASSERT_EQ(writeFileAtomically(target, "longer", reason), 1) << reason;
    EXPECT_EQ(testing::readBytes(target), "longer");
}

TEST(AtomicFile, AReadOnlyFileIsNotReplaced) {
    testing::TempDir dir;
    namespace fs = std::filesystem;
    testing::writeBytes(dir / "locked.cbk", "old");
    fs::permissions(dir / "locked.cbk", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string reason;
    EXPECT_EQ(writeFileAtomically(dir / "locked.cbk", "new", reason), 0);
    EXPECT_EQ(reason, "cannot replace " + (dir / "locked.cbk").string() + ": it is read-only");
    EXPECT_EQ(testing::readBytes(dir / "locked.cbk"), "old");
    EXPECT_EQ(fs::status(dir / "locked.cbk").permissions(), fs::perms(0444));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // nothing left behind
}

}  // namespace
}  // namespace cubrik
