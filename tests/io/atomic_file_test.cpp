#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

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

// A FIFO or a device, or a link to one, is refused before anything is
// replaced: as root, a link to /dev/null would otherwise replace /dev/null.
// The device is one of the test's own (only root may make it), so that a
// faulty writer never replaces the real one.
TEST(AtomicFile, ADeviceOrFifoIsNotReplacedDirectlyOrThroughALink) {
    testing::TempDir dir;
    namespace fs = std::filesystem;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", dir / "fifo.stl");
    std::vector<std::string> names{"fifo", "fifo.stl"};
    if (::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        fs::create_symlink("null", dir / "null.stl");
        names.insert(names.end(), {"null", "null.stl"});
    }
    for (const std::string& name : names) {
        std::string reason;
        EXPECT_EQ(writeFileAtomically(dir / name, "solid", reason), 0) << name;
        EXPECT_EQ(reason, "cannot replace " + (dir / name).string() +
                              ": it is not a regular file (a device, FIFO or socket)");
    }
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(dir / "fifo")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(names.size()));  // the links stay links, nothing left behind
}

// A private file (a recovery copy) is 0600 while it is still being written,
// whatever the umask, and a link in its name's place is replaced, not
// written through.
TEST(AtomicFile, APrivateFileIsNeverOpenToOthersAndNeverWritesThroughALink) {
    testing::TempDir dir;
    namespace fs = std::filesystem;
    testing::writeBytes(dir / "victim", "old");
    fs::permissions(dir / "victim", fs::perms(0644));
    fs::create_symlink("victim", dir / "copy.cbk");
    const mode_t umaskBefore = ::umask(0);
    AtomicFileWriter writer(dir / "copy.cbk", Replacement::Private);
    const bool opened = writer.open();
    ::umask(umaskBefore);
    ASSERT_TRUE(opened) << writer.error();
    int temporaries = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (isTemporaryFileName(entry.path().filename().string())) {
            ++temporaries;
            EXPECT_EQ(entry.status().permissions(), fs::perms(0600));
        }
    EXPECT_EQ(temporaries, 1);
    writer.write("new");
    ASSERT_TRUE(writer.commit()) << writer.error();
    EXPECT_EQ(testing::readBytes(dir / "victim"), "old");
    EXPECT_EQ(fs::status(dir / "victim").permissions(), fs::perms(0644));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "copy.cbk")));
    EXPECT_EQ(testing::readBytes(dir / "copy.cbk"), "new");
    EXPECT_EQ(fs::status(dir / "copy.cbk").permissions(), fs::perms(0600));
}

}  // namespace
}  // namespace cubrik
