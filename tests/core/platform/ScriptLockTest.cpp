#include "ScriptLock.h"

#include "batch/ScriptWriter.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv {
namespace {

// Another process holding a shared lock on a file, as a running host holds its script.
class LockHolder
{
public:
    explicit LockHolder(const std::string& path)
    {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char ok = fd >= 0 && ::flock(fd, LOCK_SH) == 0 ? 'y' : 'n';
            [[maybe_unused]] auto written = ::write(ready[1], &ok, 1);
            char dummy;
            [[maybe_unused]] auto got = ::read(release[0], &dummy, 1); // until the test lets go
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char ok = 'n';
        m_locked = ::read(ready[0], &ok, 1) == 1 && ok == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool locked() const { return m_locked; }
    void release()
    {
        if (m_pid <= 0)
            return;
        ::close(m_release);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_locked = false;
};

TEST(ScriptLock, ProbeNeverTruncatesAndMapsFailures)
{
    TempDir dir;
    EXPECT_EQ(platform::FileIsOpen(dir.file("Batch.scr")), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Batch.scr")));
    EXPECT_EQ(dir.read("Batch.scr"), "");

    dir.write("Batch.scr", "_Open\r\n");
    EXPECT_EQ(platform::FileIsOpen(dir.file("Batch.scr")), 0);
    EXPECT_EQ(dir.read("Batch.scr"), "_Open\r\n");

    EXPECT_EQ(platform::FileIsOpen(dir.file("missing/Batch.scr")), ErrPathNotFound);
    dir.write("plainfile", "");
    EXPECT_EQ(platform::FileIsOpen(dir.file("plainfile/Batch.scr")), ErrPathNotFound);
    std::filesystem::create_directory(dir.file("folder.scr"));
    EXPECT_EQ(platform::FileIsOpen(dir.file("folder.scr")), ErrPathFileAccess);
}

TEST(ScriptLock, ScriptHeldByAnotherProcessIsPermissionDenied)
{
    TempDir dir;
    dir.write("Batch.scr", "running");
    LockHolder holder(dir.file("Batch.scr"));
    ASSERT_TRUE(holder.locked());
    EXPECT_EQ(platform::FileIsOpen(dir.file("Batch.scr")), ErrPermissionDenied);
    EXPECT_EQ(dir.read("Batch.scr"), "running");
    holder.release();
    EXPECT_EQ(platform::FileIsOpen(dir.file("Batch.scr")), 0);
}

TEST(ScriptLock, WriterMovesToBatch1WhileAHostRunsBatch)
{
    TempDir dir;
    dir.write("Batch.scr", "the running host's script");
    LockHolder holder(dir.file("Batch.scr"));
    ASSERT_TRUE(holder.locked());

    ScriptInputs in;
    in.rows = {{"A.dwg", "F", "Purge", ""}};
    in.scriptFolder = dir.path();
    in.openCommand = "Unknown";
    in.sequenceText = "1";
    in.routineText = [](const std::string&) { return std::string("_purge"); };
    const ScriptResult result = LoopThroughList(in, platform::FileIsOpen, [](const UserMessage&) {
        ADD_FAILURE() << "no question expected";
        return MessageAnswer::Cancel;
    });
    EXPECT_TRUE(result.launch);
    EXPECT_EQ(result.path, dir.file("Batch1.scr"));
    EXPECT_EQ(dir.read("Batch1.scr"), BuildScript(in, ScriptWriterKind::General).value().bytes);
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");
}

} // namespace
} // namespace qv
