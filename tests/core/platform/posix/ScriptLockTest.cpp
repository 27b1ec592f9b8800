#include "ScriptLock.h"

#include "batch/ScriptWriter.h"
#include "support/PlainScriptInputs.h"
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

    const ScriptInputs in =
        plainScriptInputs({{"A.dwg", "F", "Purge", ""}}, dir.path(), [](const std::string&) { return "_purge"; });
    const ScriptResult result = writeGeneralScript(in, platform::probeForWriting, noQuestions());
    EXPECT_TRUE(result.launch);
    EXPECT_EQ(result.path, dir.file("Batch1.scr"));
    EXPECT_EQ(dir.read("Batch1.scr"), buildScript(in, ScriptWriterKind::General).value().bytes);
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");
    ::close(host);
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), 0);
}

} // namespace
} // namespace qv
