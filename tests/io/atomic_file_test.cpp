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

TEST(AtomicFile, ReadingAMissingOrUnreadableFileSaysWhy) {
    testing::TempDir dir;
    std::string content, reason;
    EXPECT_EQ(readWholeFile(dir / "none", content, reason), 0);
    EXPECT_NE(reason.find("none"), std::string::npos);
    EXPECT_EQ(readWholeFile(dir.path(), content, reason), 0);
    EXPECT_NE(reason.find("cannot read"), std::string::npos) << reason;
}

}  // namespace
}  // namespace cubrik
