#include "ScriptLock.h"

#include "Result.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>
#include <utility>

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

// A run's claim changes nothing on disk; its write replaces the script whole and leaves nothing beside it.
TEST(ScriptLock, ClaimChangesNothingAndTheWriteReplacesTheScript)
{
    TempDir dir;
    const auto write = [](const std::string& path, std::string_view text) {
        return platform::writeClaimedScript(path, [text](const std::function<void(std::string_view)>& put) {
            put(text.substr(0, 3));
            put(text.substr(3));
        });
    };
    // folder content before | script written
    const std::pair<const char*, const char*> cases[] = {{nullptr, "_Quit\r\n"}, {"old script", "_Zoom\r\n_Quit\r\n"}};
    for (const auto& [before, text] : cases) {
        if (before)
            dir.write("Batch.scr", before);
        EXPECT_EQ(platform::claimScript(dir.file("Batch.scr")), 0);
        EXPECT_EQ(std::filesystem::exists(dir.native("Batch.scr")), before != nullptr);
        ASSERT_TRUE(write(dir.file("Batch.scr"), text).ok());
        platform::releaseScriptClaim();
        EXPECT_EQ(dir.read("Batch.scr"), text);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.native("")), {}), 1);
    }
    EXPECT_EQ(platform::claimScript(dir.file("missing/Batch.scr")), ErrPathNotFound);
    EXPECT_FALSE(write(dir.file("missing/Batch.scr"), "_Quit\r\n").ok());
    platform::releaseScriptClaim();
}

} // namespace
} // namespace qv
