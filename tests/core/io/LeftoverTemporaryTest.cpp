// The temporary files that killed saves left are removed by the next save of the same file, and only those.
#include "SafeWrite.h"
#include "batch/DrawingListFile.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(LeftoverTemporary, TheNextSaveRemovesWhatKilledSavesOfItsFileLeft)
{
    platform::installSafeWrites();
    TempDir dir;
    const std::set<std::string> killed = {"A.qvl.tmp004711", "A.qvl.tmp42"};
    const std::set<std::string> kept = {"B.qvl.tmp004711", "A.qvl.tmp1234567", "A.qvl.tmpx", "A.qvl.tmp", "A.qvl.bak"};
    for (const auto& names : {killed, kept}) {
        for (const std::string& name : names)
            dir.write(name, "partial");
    }
    // A save of the same file that is still running holds its temporary file: locked, or on Windows open
    // without sharing its deletion.
    dir.write("A.qvl.tmp000001", "running");
#ifdef _WIN32
    const HANDLE running = ::CreateFileW(dir.native("A.qvl.tmp000001").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
#else
    const int running = ::open(dir.file("A.qvl.tmp000001").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
#endif

    ASSERT_TRUE(writeList(dir.file("A.qvl"), {{"a.dwg", "/d", "R", {}}}).saved);
#ifdef _WIN32
    ::CloseHandle(running);
#else
    ::close(running);
#endif
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.native("")))
        left.insert(TempDir::toUtf8(entry.path().filename()));
    std::set<std::string> expected = kept;
    expected.insert({"A.qvl", "A.qvl.tmp000001"});
    EXPECT_EQ(left, expected);
}

} // namespace
} // namespace qv
