// Saves on Windows: a hard-linked file keeps its links, a read-only one is refused, a record write goes
// through its write-ahead copy, and what killed saves left is removed.
#include "SafeWrite.h"
#include "io/FileIo.h"
#include "io/WriteAhead.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(SafeWriteWindows, LinksAttributesAndLeftovers)
{
    platform::installSafeWrites();
    TempDir dir;
    dir.write("a.ini", "old");
    dir.write("a.ini.tmp004711", "killed");
    fs::create_hard_link(dir.native("a.ini"), dir.native("b.ini"));
    ASSERT_TRUE(writeFileAtomically(dir.file("a.ini"), "new bytes"));
    EXPECT_EQ(dir.read("b.ini"), "new bytes");
    EXPECT_EQ(fs::hard_link_count(dir.native("a.ini")), 2u);
    EXPECT_FALSE(fs::exists(dir.native("a.ini.tmp004711")));

    ASSERT_TRUE(writeFileRange(dir.file("a.ini"), 4, "BYTES!"));
    EXPECT_EQ(dir.read("b.ini"), "new BYTES!");
    EXPECT_FALSE(fs::exists(dir.native("a.ini.qvwal")));

    dir.write("c.ini", "kept");
    fs::permissions(dir.native("c.ini"), fs::perms::owner_read);
    EXPECT_EQ(writeFileAtomically(dir.file("c.ini"), "x").error().number, ErrPermissionDenied);
    EXPECT_EQ(dir.read("c.ini"), "kept");
}

} // namespace
} // namespace qv
