// A save killed at a random instant (SIGKILL, or TerminateProcess on Windows) leaves every file whole: its
// old bytes or its new ones.
#include "SafeWrite.h"
#include "batch/DrawingListFile.h"
#include "builders/PaperSizes.h"
#include "config/SettingsFile.h"
#include "io/FileIo.h"
#include "io/WriteAhead.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"
#include "routines/RoutineRecord.h"
#include "support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qv {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::int16_t kRecords = 12;

// Text of round r, a few pages long and different in every byte position from round to round, so a file
// mixed of two rounds (a tear at any page boundary) never matches either.
std::string filler(long round, std::size_t length)
{
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>('a' + (static_cast<std::size_t>(round) * 7 + i) % 26);
    return std::to_string(round) + "-" + text;
}

long roundIn(const std::string& bytes, std::string_view after)
{
    const std::size_t at = bytes.find(after);
    return at == std::string::npos ? -1 : std::atol(bytes.c_str() + at + after.size());
}

Routine routineFor(long round)
{
    return makeRoutineForAdd("Routine " + std::to_string(round), filler(round, 2500 + round % 2000), true);
}

DrawingRows rowsFor(long round)
{
    DrawingRows rows;
    for (int i = 0; i < 60; ++i)
        rows.push_back({filler(round, 20 + i), "/drawings/" + std::to_string(i), "Routine " + std::to_string(i), {}});
    return rows;
}

std::vector<std::string> papersFor(long round)
{
    std::vector<std::string> names;
    for (int i = 0; i < 80; ++i)
        names.push_back(filler(round + i, 40));
    return names;
}

// The saves a kill test repeats, by name, each in the folder given: the killed process runs them from its
// name alone.
std::function<bool(long round)> saverFor(const std::string& name, const std::string& folder)
{
    const auto in = [folder](const char* file) { return TempDir::toUtf8((TempDir::toPath(folder) / file).make_preferred()); };
    if (name == "Quorvel.ini" || name == "Linked.ini")
        return [ini = in(name.c_str())](long round) {
            return writeIniValue(ini, "K", "D", filler(round, 9000 + round % 3000)).ok();
        };
    if (name == "list")
        return [list = in("Drawings.qvl")](long round) { return writeList(list, rowsFor(round)).saved; };
    if (name == "paper list")
        return [folder](long round) { return writeCustomPapers(folder, papersFor(round)).ok(); };
    if (name == "routine database")
        // Updates, deletes, adds into the freed record and, now and then, adds past the end.
        return [path = in("Batch_Cad.dat")](long round) {
            auto db = RoutineDatabase::forFile(path);
            const auto record = static_cast<std::int16_t>(round % kRecords + 1);
            switch (round % 4) {
            case 1:
                return db.update(makeDeletedRoutine(true), record).ok();
            case 2:
                return db.add(routineFor(round)).ok();
            default: // now and then an add past the end; the file stays small enough to check quickly
                return round % 64 == 3 ? db.add(routineFor(round)).ok() : db.update(routineFor(round), record).ok();
            }
        };
    if (name == "first-start copy")
        return [shipped = in("shipped.dat"), copy = in("Batch_Cad.dat")](long) {
            std::error_code ec;
            return installDefaultDatabase(shipped, copy).ok() && fs::remove(TempDir::toPath(copy), ec);
        };
    return {};
}

// Saves from `round` on until killed; returns only when a save fails.
[[noreturn]] void saveUntilKilled(const std::function<bool(long)>& save, long round, const std::function<void()>& started)
{
    if (!save(round))
        std::exit(3);
    started();
    for (++round;; ++round) {
        if (!save(round))
            std::exit(3);
    }
}

// What a kill test saves in a loop, and how it tells a whole file.
struct Format
{
    std::string name;
    std::string folder;
    std::function<std::string()> problem; // empty when the files are whole
    int kills = 200;
};

#ifdef _WIN32
// A process start costs Windows (and Wine) far more than a fork: fewer kills, each still at a random instant.
constexpr int kKillShare = 4;

std::wstring wide(const std::string& utf8)
{
    return TempDir::toPath(utf8).wstring();
}

std::string environmentValue(const wchar_t* name)
{
    wchar_t buffer[4096];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, 4096);
    return length == 0 || length >= 4096 ? std::string() : TempDir::toUtf8(fs::path(std::wstring(buffer, length)));
}

std::wstring startedEventName(DWORD parent)
{
    return L"Local\\quorvel-kill-test-" + std::to_wstring(parent);
}

// The killed process: this test program started again with the format, its folder and the first round.
[[maybe_unused]] const bool kSaverDone = [] {
    const std::string name = environmentValue(L"QUORVEL_KILL_FORMAT");
    if (name.empty())
        return false;
    platform::installSafeWrites();
    const std::string folder = environmentValue(L"QUORVEL_KILL_FOLDER");
    const long round = std::atol(environmentValue(L"QUORVEL_KILL_ROUND").c_str());
    const DWORD parent = DWORD(std::atol(environmentValue(L"QUORVEL_KILL_PARENT").c_str()));
    saveUntilKilled(saverFor(name, folder), round, [parent] {
        if (const HANDLE started = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, startedEventName(parent).c_str())) {
            ::SetEvent(started);
            ::CloseHandle(started);
        }
    });
}();

// Starts a process that saves the format's rounds; true once it has saved its first.
bool startSaver(const Format& format, long round, HANDLE started, PROCESS_INFORMATION& process)
{
    ::SetEnvironmentVariableW(L"QUORVEL_KILL_FORMAT", wide(format.name).c_str());
    ::SetEnvironmentVariableW(L"QUORVEL_KILL_FOLDER", wide(format.folder).c_str());
    ::SetEnvironmentVariableW(L"QUORVEL_KILL_ROUND", std::to_wstring(round).c_str());
    ::SetEnvironmentVariableW(L"QUORVEL_KILL_PARENT", std::to_wstring(::GetCurrentProcessId()).c_str());
    wchar_t self[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, 32768);
    std::wstring commandLine = L"\"" + std::wstring(self, length) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const bool created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &process);
    ::SetEnvironmentVariableW(L"QUORVEL_KILL_FORMAT", nullptr);
    if (!created)
        return false;
    ::CloseHandle(process.hThread);
    const HANDLE waits[] = {started, process.hProcess};
    return ::WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
}
#else
constexpr int kKillShare = 1;
#endif

// Saves rounds in a child process and kills it at random instants, format.kills times; after every kill the
// files must be whole. The delay spans a millisecond and two saves as this machine does them (the quickest
// of ten, so a busy moment does not stretch the test), so kills land in every step.
void killWhileSaving(const Format& format)
{
    const auto save = saverFor(format.name, format.folder);
    ASSERT_TRUE(save) << format.name;
    auto quickest = Clock::duration::max();
    for (long round = 1; round <= 10; ++round) {
        const auto started = Clock::now();
        ASSERT_TRUE(save(round)) << format.name;
        quickest = std::min(quickest, Clock::now() - started);
    }
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delay(
        0, 2 * std::chrono::duration_cast<std::chrono::microseconds>(quickest).count() + 1000);
    const int kills = std::max(format.kills / kKillShare, 40);
#ifdef _WIN32
    const HANDLE started = ::CreateEventW(nullptr, FALSE, FALSE, startedEventName(::GetCurrentProcessId()).c_str());
    ASSERT_TRUE(started);
#endif
    int torn = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const long first = (kill + 1) * 100000L;
#ifdef _WIN32
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(startSaver(format, first, started, child)) << format.name << ": the saving process did not save";
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(child.hProcess, &code);
        ::CloseHandle(child.hProcess);
        ASSERT_EQ(code, 9u) << format.name << ": a save failed";
#else
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveUntilKilled(save, first, [] {});
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << format.name << ": a save failed";
#endif
        const std::string problem = format.problem();
        if (!problem.empty() && ++torn <= 3)
            ADD_FAILURE() << format.name << " after kill " << kill << ": " << problem;
    }
#ifdef _WIN32
    ::CloseHandle(started);
#endif
    EXPECT_EQ(torn, 0) << format.name << ": torn after " << torn << " of " << kills << " kills";
}

class KillDuringSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::installSafeWrites();
        // The per-user folder, where a write-ahead copy goes when the file's own folder takes none.
#ifdef _WIN32
        ::SetEnvironmentVariableW(L"APPDATA", m_dir.native("private").wstring().c_str());
#else
        setenv("XDG_CONFIG_HOME", m_dir.file("private").c_str(), 1);
#endif
    }

    // A whole-file format: the bytes must be those that round's save writes.
    Format wholeFile(std::string name, std::string path, std::function<std::string(long)> expected, std::string roundMark)
    {
        return {std::move(name), m_dir.path(), [=] {
                    const Result<std::string> bytes = readFileBytes(path);
                    if (!bytes)
                        return bytes.error().description;
                    const long round = roundIn(bytes.value(), roundMark);
                    return bytes.value() == expected(round) ? std::string() : "round " + std::to_string(round) + " torn";
                }, 200};
    }

    // A kill does not wait for the disk: what the files hold afterwards is what the system's cache holds,
    // on any file system. A memory file system keeps the disk's flushes from setting the pace of the test.
#ifdef _WIN32
    TempDir m_dir;
#else
    TempDir m_dir{fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()};
#endif
};

TEST_F(KillDuringSave, SettingsListsAndPapersAreWholeOldOrWholeNew)
{
    // The second settings file has another name too: it is rewritten in place, through its write-ahead copy.
    m_dir.write("Linked.ini", "");
    fs::create_hard_link(m_dir.native("Linked.ini"), m_dir.native("Other name.ini"));
    for (const std::string name : {"Quorvel.ini", "Linked.ini"}) {
        killWhileSaving(wholeFile(
            name, m_dir.file(name), [](long round) { return "[K]\r\nD=" + filler(round, 9000 + round % 3000) + "\r\n"; },
            "D="));
    }
    EXPECT_TRUE(m_dir.read("Linked.ini") == m_dir.read("Other name.ini")) << "the other name kept old bytes";

    killWhileSaving(
        wholeFile("list", m_dir.file("Drawings.qvl"), [](long round) { return encodeList(rowsFor(round)).bytes; }, "\""));
    killWhileSaving(wholeFile("paper list", customPaperPath(m_dir.path()),
                              [](long round) { return encodeCustomPapers(papersFor(round)).valueOr({}); }, "\""));
}

TEST_F(KillDuringSave, RoutineRecordsAreWholeOldOrWholeNew)
{
    const std::string path = m_dir.file("Batch_Cad.dat");
    auto database = RoutineDatabase::forFile(path);
    for (long round = 1; round <= kRecords; ++round)
        ASSERT_TRUE(database.add(routineFor(round)));
    const std::string deleted = encodeRoutineRecord(makeDeletedRoutine(true)).valueOr({});
    const auto problem = [path, deleted]() -> std::string {
        // Opening the database completes a record write that the kill interrupted.
        if (auto read = RoutineDatabase::forFile(path).readAll(); !read || read.value().ignoredBytes != 0)
            return "unreadable or a partial record";
        const std::string bytes = readFileBytes(path).valueOr({});
        for (std::size_t at = 0; at + record::kRecordLength <= bytes.size(); at += record::kRecordLength) {
            const std::string stored = bytes.substr(at, record::kRecordLength);
            const long round = std::atol(stored.c_str() + 8); // after "Routine "
            if (stored != deleted && stored != encodeRoutineRecord(routineFor(round)).valueOr({}))
                return "record " + std::to_string(at / record::kRecordLength + 1) + " torn";
        }
        return {};
    };
    // A tear needs the kill inside the one system call that writes the record: a narrow target, so more kills.
    killWhileSaving({"routine database", m_dir.path(), problem, 1000});
    EXPECT_FALSE(fs::exists(TempDir::toPath(writeAheadPathBeside(path))));
}

TEST_F(KillDuringSave, TheFirstStartCopyIsWholeOrAbsent)
{
    auto database = RoutineDatabase::forFile(m_dir.file("shipped.dat"));
    for (long round = 1; round <= kRecords; ++round)
        ASSERT_TRUE(database.add(routineFor(round)));
    const std::string whole = m_dir.read("shipped.dat");
    killWhileSaving({"first-start copy", m_dir.path(), [this, whole]() -> std::string {
                         if (!fs::exists(m_dir.native("Batch_Cad.dat")))
                             return {};
                         return m_dir.read("Batch_Cad.dat") == whole ? std::string() : "a partial copy";
                     }, 200});
}

// The write-ahead copy of the last update, as a kill between the copy and the record would leave it.
std::string g_caughtCopy;

Status catchCopy(const std::string& path)
{
    if (path.ends_with(".qvwal"))
        g_caughtCopy = readFileBytes(path).valueOr({});
    return {};
}

// A write-ahead copy is acted on only when it is whole: a torn one is dropped, a whole one completed.
TEST_F(KillDuringSave, OnlyAWholeWriteAheadCopyIsReplayed)
{
    const std::string path = m_dir.file("Batch_Cad.dat");
    auto database = RoutineDatabase::forFile(path);
    ASSERT_TRUE(database.add(routineFor(1)));
    const std::string before = m_dir.read("Batch_Cad.dat");
    installFileSystemWrites({nullptr, &catchCopy, nullptr});
    ASSERT_TRUE(database.update(routineFor(2), 1));
    platform::installSafeWrites();
    const std::string after = m_dir.read("Batch_Cad.dat");
    ASSERT_NE(before, after);

    for (const std::size_t cut : {std::size_t{0}, g_caughtCopy.size() / 2, g_caughtCopy.size() - 1, g_caughtCopy.size()}) {
        m_dir.write("Batch_Cad.dat", before);
        std::ofstream(TempDir::toPath(writeAheadPathBeside(path)), std::ios::binary) << g_caughtCopy.substr(0, cut);
        ASSERT_TRUE(database.readAll());
        EXPECT_EQ(m_dir.read("Batch_Cad.dat"), cut == g_caughtCopy.size() ? after : before) << cut;
        EXPECT_FALSE(fs::exists(TempDir::toPath(writeAheadPathBeside(path)))) << cut;
    }
}

} // namespace
} // namespace qv
