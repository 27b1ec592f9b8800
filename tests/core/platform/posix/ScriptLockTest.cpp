#include "ScriptLock.h"

#include "batch/ScriptWriter.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace qv {
namespace {

TEST(ScriptLockPosix, WriterMovesToBatch1WhileAHostRunsBatch)
{
    TempDir dir;
    dir.write("Batch.scr", "the running host's script");
    // A shared lock as a running host holds on its script. flock(2) locks belong to the open file, so the
    // probe's own open meets this lock just as it meets one held by another process.
    const int host = ::open(dir.file("Batch.scr").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(host, LOCK_SH), 0);
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), ErrPermissionDenied);

    ScriptInputs in;
    in.rows = {{"A.dwg", "F", "Purge", ""}};
    in.scriptFolder = dir.path();
    in.openCommand = "Unknown";
    in.sequenceText = "1";
    in.routineText = [](const std::string&) { return std::string("_purge"); };
    const ScriptResult result = writeGeneralScript(in, platform::probeForWriting, [](const UserMessage&) {
        ADD_FAILURE() << "no question expected";
        return MessageAnswer::Cancel;
    });
    EXPECT_TRUE(result.launch);
    EXPECT_EQ(result.path, dir.file("Batch1.scr"));
    EXPECT_EQ(dir.read("Batch1.scr"), buildScript(in, ScriptWriterKind::General).value().bytes);
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");
    ::close(host);
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), 0);
}

} // namespace
} // namespace qv
