#include "ScriptLock.h"

#include "Result.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ScriptLock, ProbeNeverTruncatesAndMapsFailures)
{
    TempDir dir;
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.native("Batch.scr")));
    EXPECT_EQ(dir.read("Batch.scr"), "");

    dir.write("Batch.scr", "_Open\r\n");
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), 0);
    EXPECT_EQ(dir.read("Batch.scr"), "_Open\r\n");

    EXPECT_EQ(platform::probeForWriting(dir.file("missing/Batch.scr")), ErrPathNotFound);
    dir.write("plainfile", "");
    EXPECT_EQ(platform::probeForWriting(dir.file("plainfile/Batch.scr")), ErrPathNotFound);
    // A folder named like the script is no script a host holds (Windows itself calls it "access denied").
    std::filesystem::create_directory(dir.native("Batch1.scr"));
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch1.scr")), ErrPathFileAccess);
}

} // namespace
} // namespace qv
