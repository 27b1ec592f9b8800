// What the Windows layer does that the POSIX one does differently or not at all: a script held open by
// another process, the shell-execute result codes, UTF-16 command lines and environment, the program and
// user folders at start-up, and settings files that another process holds without sharing.

#include "FileSystem.h"
#include "ProcessLauncher.h"
#include "SafeWrite.h"
#include "ScriptLock.h"
#include "StreamReader.h"
#include "batch/ScriptWriter.h"
#include "config/InstallLayout.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "support/TempDir.h"
#include "text/Paths.h"

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <tuple>
#include <vector>
#include <windows.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

std::wstring toWide(const std::string& utf8)
{
    return TempDir::toPath(utf8).wstring();
}

std::string toUtf8(const std::wstring& wide)
{
    return TempDir::toUtf8(fs::path(wide));
}

std::string environmentValue(const wchar_t* name)
{
    const wchar_t* value = ::_wgetenv(name);
    return value ? toUtf8(value) : std::string();
}

void setEnvironment(const std::wstring& name, const std::string& value)
{
    ::_wputenv((name + L"=" + toWide(value)).c_str());
}

// When QUORVEL_TEST_CHILD is set this executable is a helper process started by a test below, not a
// test run: it does its job and ends before GoogleTest starts.
//   report: writes to QUORVEL_TEST_OUT its program folder, the settings folder start-up would choose,
//           its current folder and its arguments, one per line;
//   hold:   opens QUORVEL_TEST_FILE as a CAD host opens its script, creates QUORVEL_TEST_OUT, and keeps
//           the file open until that file is removed.
void writeWhole(const std::string& path, const std::string& text)
{
    {
        std::ofstream out(TempDir::toPath(path + ".tmp"), std::ios::binary);
        out << text;
    }
    fs::rename(TempDir::toPath(path + ".tmp"), TempDir::toPath(path));
}

int runChildJob(const std::string& job)
{
    const std::string out = environmentValue(L"QUORVEL_TEST_OUT");
    if (job == "exit3")
        return 3;
    if (job == "access-violation")
        ::ExitProcess(0xC0000005u); // the code a crashed host ends with
    if (job == "hang") {
        ::Sleep(60000);
        return 0;
    }
    if (job == "report") {
        const std::string program = platform::executableFolder();
        const InstallLayout layout = findInstallLayout(program);
        const bool ownFolder = !layout.installed && platform::isFolderWritable(program);
        const std::string user = ownFolder ? std::string() : platform::userConfigFolder();
        wchar_t current[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        std::string report =
            program + "\n" + resolveSettingsFolder(program, ownFolder, user) + "\n" + toUtf8(current) + "\n";
        int count = 0;
        wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
        for (int i = 1; i < count; ++i)
            report += "[" + toUtf8(args[i]) + "]\n";
        ::LocalFree(args);
        writeWhole(out, report);
        return 0;
    }
    if (job == "hold") {
        const HANDLE file = ::CreateFileW(toWide(environmentValue(L"QUORVEL_TEST_FILE")).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 3;
        writeWhole(out, "held");
        for (int i = 0; i < 600 && fs::exists(TempDir::toPath(out)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::CloseHandle(file);
        return 0;
    }
    if (job == "wait" || job == "claim") {
        // A host that has not opened its script yet, or another run that holds the script folder.
        if (job == "claim" && platform::claimScript(environmentValue(L"QUORVEL_TEST_FILE")) != 0)
            return 3;
        writeWhole(out, job);
        for (int i = 0; i < 600 && fs::exists(TempDir::toPath(out)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return 0;
    }
    return 2;
}

[[maybe_unused]] const bool kChildJobDone = [] {
    const std::string job = environmentValue(L"QUORVEL_TEST_CHILD");
    if (!job.empty())
        std::exit(runChildJob(job));
    return false;
}();

std::string selfPath()
{
    wchar_t buffer[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 32768);
    return toUtf8(std::wstring(buffer, length));
}

// Waits for a file that a helper process renames into place. Every helper writes something, so an empty read
// (a file caught as it is put in place) is read again.
std::string waitForFile(const std::string& path)
{
    std::string text;
    for (int i = 0; i < 400 && text.empty(); ++i) {
        std::ifstream in(TempDir::toPath(path), std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
        if (text.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return text;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A helper process holding a file the way a running host holds its script; released at the end of scope.
class HeldByAnotherProcess
{
public:
    HeldByAnotherProcess(const TempDir& dir, const std::string& path) : HeldByAnotherProcess(dir)
    {
        setEnvironment(L"QUORVEL_TEST_FILE", path);
        start("hold");
    }
    // A helper process doing another job (QUORVEL_TEST_FILE names what it works on).
    HeldByAnotherProcess(const TempDir& dir, const char* job) : HeldByAnotherProcess(dir) { start(job); }
    ~HeldByAnotherProcess() { release(); }

    bool held() const { return m_held; }
    void release()
    {
        if (!m_process)
            return;
        std::error_code ec;
        fs::remove(TempDir::toPath(m_marker), ec);
        ::WaitForSingleObject(m_process, 30000);
        ::CloseHandle(m_process);
        m_process = nullptr;
    }

private:
    explicit HeldByAnotherProcess(const TempDir& dir) : m_marker(dir.file("held.marker")) {}
    void start(const std::string& job)
    {
        setEnvironment(L"QUORVEL_TEST_CHILD", job);
        setEnvironment(L"QUORVEL_TEST_OUT", m_marker);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring commandLine = L"\"" + toWide(selfPath()) + L"\"";
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process)) {
            ::CloseHandle(process.hThread);
            m_process = process.hProcess;
        }
        setEnvironment(L"QUORVEL_TEST_CHILD", "");
        m_held = waitForFile(m_marker) == (job == "hold" ? "held" : job);
    }

    std::string m_marker;
    HANDLE m_process = nullptr;
    bool m_held = false;
};

TEST(WindowsScriptLock, AScriptHeldByAnotherProcessIsLeftAloneAndTheWriterMovesOn)
{
    TempDir dir;
    dir.write("Batch.scr", "the running host's script");
    HeldByAnotherProcess host(dir, dir.file("Batch.scr"));
    ASSERT_TRUE(host.held());
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), ErrPermissionDenied);

    ScriptInputs in;
    in.rows = {{"Caf\xC3\xA9.dwg", dir.path(), "Purge", ""}};
    in.scriptFolder = dir.path();
    in.openCommand = "Unknown";
    in.sequenceText = "1";
    in.routineText = [](const std::string&) { return std::string("_purge"); };
    const ScriptResult result = writeGeneralScript(in, platform::probeForWriting, [](const UserMessage& m) {
        ADD_FAILURE() << "no question expected: " << m.text;
        return MessageAnswer::Cancel;
    });
    EXPECT_TRUE(result.launch);
    EXPECT_EQ(result.path, dir.file("Batch1.scr"));
    EXPECT_EQ(dir.read("Batch1.scr"), buildScript(in, ScriptWriterKind::General).value().bytes);
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");

    host.release();
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), 0);
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");
}

TEST(WindowsScriptLock, RunsInOneFolderTakeTurnsAndAScriptIsItsHostsUntilTheHostEnds)
{
    TempDir dir;
    const std::string script = dir.file("Batch.scr");
    const auto write = [&](const std::string& path, const std::string& text) {
        return platform::writeClaimedScript(path, [&](const auto& put) { put(text); }).ok();
    };

    // Another run holds the folder: this one waits until it lets go.
    setEnvironment(L"QUORVEL_TEST_FILE", script);
    HeldByAnotherProcess otherRun(dir, "claim");
    ASSERT_TRUE(otherRun.held());
    std::thread letGo([&otherRun] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        otherRun.release();
    });
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::claimScript(script), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(700));
    letGo.join();

    // Killed writes left new scripts behind: the next write removes them, and only them.
    dir.write("Batch.scr.123456.tmp", "partial");
    dir.write("Batch.scr.notes.tmp", "the user's");
    ASSERT_TRUE(write(script, "list A"));
    EXPECT_FALSE(fs::exists(dir.native("Batch.scr.123456.tmp")));
    EXPECT_TRUE(fs::exists(dir.native("Batch.scr.notes.tmp")));

    // A host that has not opened its script yet keeps it all the same, until it ends.
    const std::string out = dir.file("host.marker");
    setEnvironment(L"QUORVEL_TEST_CHILD", "wait");
    setEnvironment(L"QUORVEL_TEST_OUT", out);
    EXPECT_GE(platform::shellExecuteOpen(selfPath(), "", dir.path(), 1), 33);
    setEnvironment(L"QUORVEL_TEST_CHILD", "");
    ASSERT_EQ(waitForFile(out), "wait");
    platform::releaseScriptClaim();
    EXPECT_EQ(platform::claimScript(script), ErrPermissionDenied);
    EXPECT_EQ(platform::claimScript(dir.file("Batch1.scr")), 0);
    EXPECT_TRUE(write(dir.file("Batch1.scr"), "list B"));
    platform::releaseScriptClaim();
    EXPECT_EQ(dir.read("Batch.scr"), "list A");

    fs::remove(TempDir::toPath(out));
    for (int i = 0; i < 600 && platform::runningHosts() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(platform::claimScript(script), 0);
    EXPECT_FALSE(fs::exists(dir.native("Batch.scr.host")));
    platform::releaseScriptClaim();
}

TEST(WindowsStreamReader, ANamedPipeIsReadOnceAndOneThatNobodyWritesIntoIsRefusedInTime)
{
    // server's text (none: it never writes), what the reader gets, the refusal's end (none: read whole)
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"\"a.dwg\",\"C:\\d\",\"Purge\"\r\n", "\"a.dwg\",\"C:\\d\",\"Purge\"\r\n", ""},
        {"", "", ""},
        {nullptr, "", "is a named pipe that no program wrote into within 0 seconds."},
    };
    int number = 0;
    for (const auto& [served, expected, refusal] : cases) {
        const std::wstring name = L"\\\\.\\pipe\\quorvel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++number);
        const HANDLE server = ::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                                 4096, 4096, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
        std::thread serve([server, text = served] {
            ::ConnectNamedPipe(server, nullptr);
            if (text) {
                DWORD count = 0;
                ::WriteFile(server, text, DWORD(std::strlen(text)), &count, nullptr);
                ::FlushFileBuffers(server);
            } else {
                std::this_thread::sleep_for(std::chrono::seconds(2));
            }
            ::CloseHandle(server);
        });
        std::string read;
        const auto started = std::chrono::steady_clock::now();
        const Status status = platform::readStreamInBlocks(
            toUtf8(name), platform::StreamLimits{1 << 20, std::chrono::milliseconds(300)},
            [&read](std::string_view block) { read += block; });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500)) << number;
        EXPECT_EQ(read, expected) << number;
        EXPECT_EQ(status.ok() ? std::string() : status.error().description.substr(
                                                   status.error().description.find(' ') + 1),
                  refusal)
            << number;
        serve.join();
    }
}

TEST(WindowsScriptLock, ReadOnlyScriptIsPermissionDenied)
{
    TempDir dir;
    dir.write("Batch.scr", "old");
    ASSERT_TRUE(::SetFileAttributesW(dir.native("Batch.scr").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(platform::probeForWriting(dir.file("Batch.scr")), ErrPermissionDenied);
    const Result<unsigned> attributes = platform::fileAttributes(dir.file("Batch.scr"));
    ASSERT_TRUE(attributes.ok());
    EXPECT_EQ(attributes.value() & FILE_ATTRIBUTE_READONLY, static_cast<unsigned>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(platform::fileAttributes(dir.file("no folder\\x.dwg")).error().number, ErrPathNotFound);
}

TEST(WindowsProcessLauncher, FailuresGetShellExecuteCodes)
{
    TempDir dir;
    dir.write("garbage.exe", "\x7f\x01\x02garbage");
    dir.write("data.qvzz", "no program opens this");
    // file, directory, shell-execute code. Windows answers a missing folder in the file's path with 2 or 3
    // depending on the release (Wine: 2); a missing working folder is always 3.
    const std::tuple<std::string, std::string, int> cases[] = {
        {dir.file("missing.exe"), "", 2},         {"", "", 2},
        {dir.file("no folder\\acad.exe"), "", 2}, {dir.file("garbage.exe"), "", 11},
        {dir.file("data.qvzz"), "", 31},          {std::string("bad \xFF utf-8.exe"), "", 2},
        {selfPath(), dir.file("no folder"), 3},
    };
    // A copy of this program that did start ends at once instead of running the tests.
    setEnvironment(L"QUORVEL_TEST_CHILD", "none");
    for (const auto& [file, directory, code] : cases)
        EXPECT_EQ(platform::shellExecuteOpen(file, "/b \"x.scr\"", directory, 1), code) << file << " in " << directory;
    setEnvironment(L"QUORVEL_TEST_CHILD", "");
}

TEST(WindowsProcessLauncher, ABareNameIsFoundAlongThePathNeverInTheCurrentFolder)
{
    TempDir dir;
    const std::string planted = dir.file("planted");
    const std::string installed = dir.file("installed");
    fs::create_directories(TempDir::toPath(planted));
    fs::create_directories(TempDir::toPath(installed));
    fs::copy_file(TempDir::toPath(selfPath()), TempDir::toPath(joinPath(planted, "qvtesthost.exe")));
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ::SetCurrentDirectoryW(toWide(planted).c_str());
    const std::string out = dir.file("report.txt");
    setEnvironment(L"QUORVEL_TEST_CHILD", "report");
    setEnvironment(L"QUORVEL_TEST_OUT", out);
    const std::string path = environmentValue(L"PATH");

    // Only in the current folder: not found, and nothing started.
    EXPECT_EQ(platform::shellExecuteOpen("qvtesthost", "", dir.path(), 1), 2);
    EXPECT_EQ(platform::shellExecuteOpen("qvtesthost.exe", "", dir.path(), 1), 2);

    // Along PATH it is found, with or without its extension.
    fs::copy_file(TempDir::toPath(selfPath()), TempDir::toPath(joinPath(installed, "qvtesthost.exe")));
    setEnvironment(L"PATH", installed + ";" + path);
    const int result = platform::shellExecuteOpen("qvtesthost", "", dir.path(), 1);
    setEnvironment(L"PATH", path);
    setEnvironment(L"QUORVEL_TEST_CHILD", "");
    ::SetCurrentDirectoryW(current);
    EXPECT_GE(result, 33);
    const std::vector<std::string> report = linesOf(waitForFile(out));
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report[0], installed);
}

TEST(WindowsProcessLauncher, AWatchedHostTellsHowItEndedAndCanBeEnded)
{
    using State = platform::WatchedHost::State;
    // helper job, state once it has had time to end
    const std::tuple<std::wstring, State> cases[] = {
        {L"exit3", State::ExitedNormally},
        {L"access-violation", State::ExitedAbnormally},
        {L"hang", State::Running},
    };
    for (const auto& [job, state] : cases) {
        setEnvironment(L"QUORVEL_TEST_CHILD", toUtf8(job));
        platform::WatchedHost host;
        ASSERT_GT(host.start(selfPath(), "", "", 1), 32) << toUtf8(job);
        setEnvironment(L"QUORVEL_TEST_CHILD", "");
        State seen = host.poll();
        for (int i = 0; i < 200 && seen == State::Running; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            seen = host.poll();
        }
        EXPECT_EQ(seen, state) << toUtf8(job);
        host.end();
        EXPECT_NE(host.poll(), State::Running) << toUtf8(job);
    }
}

TEST(WindowsProcessLauncher, StartsAProgramInAnAccentedFolderWithUtf16Arguments)
{
    TempDir dir;
    const std::string programFolder = dir.file("Programme caf\xC3\xA9");
    const std::string drawings = dir.file("Zeichnungen \xC3\xBC \xE2\x82\xAC");
    fs::create_directories(TempDir::toPath(programFolder));
    fs::create_directories(TempDir::toPath(drawings));
    const std::string program = joinPath(programFolder, "acad.exe");
    fs::copy_file(TempDir::toPath(selfPath()), TempDir::toPath(program));

    const std::string out = dir.file("report.txt");
    setEnvironment(L"QUORVEL_TEST_CHILD", "report");
    setEnvironment(L"QUORVEL_TEST_OUT", out);
    const std::string script = joinPath(drawings, "Batch.scr");
    const int result = platform::shellExecuteOpen(program, "/nologo \"My Profile\" /b \"" + script + "\"", drawings, 1);
    setEnvironment(L"QUORVEL_TEST_CHILD", "");
    EXPECT_GE(result, 33);
    const std::vector<std::string> report = linesOf(waitForFile(out));
    ASSERT_EQ(report.size(), 7u);
    EXPECT_EQ(report[0], programFolder);
    EXPECT_EQ(report[1], programFolder); // a writable program folder keeps its own settings
    EXPECT_EQ(report[2], drawings);
    EXPECT_EQ(report[3], "[/nologo]");
    EXPECT_EQ(report[4], "[My Profile]");
    EXPECT_EQ(report[5], "[/b]");
    EXPECT_EQ(report[6], "[" + script + "]");
}

TEST(WindowsStartup, InstalledProgramKeepsSettingsInTheAccentedUserFolder)
{
    TempDir dir;
    // An installed tree: PREFIX\bin\quorvel.exe and PREFIX\share\quorvel with the shipped files.
    const std::string prefix = dir.file("Programme \xC3\xA9t\xC3\xA9");
    fs::create_directories(TempDir::toPath(prefix + "\\bin"));
    fs::create_directories(TempDir::toPath(prefix + "\\share\\quorvel\\help"));
    dir.write("Programme \xC3\xA9t\xC3\xA9\\share\\quorvel\\help\\Quorvel.html", "<html></html>");
    const std::string program = prefix + "\\bin\\quorvel.exe";
    fs::copy_file(TempDir::toPath(selfPath()), TempDir::toPath(program));
    // A user whose name the ANSI code page cannot hold.
    const std::string appData = dir.file("Users\\J\xC3\xBCrgen \xC5\x81\xC3\xB3"
                                         "d\xC5\xBA\\AppData\\Roaming");
    fs::create_directories(TempDir::toPath(appData));

    const std::string savedAppData = environmentValue(L"APPDATA");
    setEnvironment(L"APPDATA", appData);
    EXPECT_EQ(platform::userConfigFolder(), appData + "\\Quorvel");
    EXPECT_TRUE(fs::is_directory(TempDir::toPath(appData + "\\Quorvel")));

    const std::string out = dir.file("report.txt");
    setEnvironment(L"QUORVEL_TEST_CHILD", "report");
    setEnvironment(L"QUORVEL_TEST_OUT", out);
    const int result = platform::shellExecuteOpen(program, "", "", 1);
    setEnvironment(L"QUORVEL_TEST_CHILD", "");
    setEnvironment(L"APPDATA", savedAppData);
    EXPECT_GE(result, 33);
    const std::vector<std::string> report = linesOf(waitForFile(out));
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(report[0], prefix + "\\bin");
    EXPECT_EQ(report[1], appData + "\\Quorvel");
}

TEST(WindowsSettingsFile, AHandleThatSharesNothingStopsTheWriteAndTheFileStaysWhole)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", "Cad2018").ok());
    const std::string before = dir.read("Quorvel.ini");
    const HANDLE other = ::CreateFileW(dir.native("Quorvel.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const Status refused = ini.writeValue("Cad_Ver", "CadVer", "CadLT2013");
    ::CloseHandle(other);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, ErrPermissionDenied);
    EXPECT_EQ(dir.read("Quorvel.ini"), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.native("")))
        ++entries;
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
}

TEST(WindowsSettingsFile, ASaveKeepsTheFilesAttributesAndOtherNames)
{
    platform::installSafeWrites();
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", "Cad2018").ok());
    const std::wstring path = dir.native("Quorvel.ini").wstring();
    ASSERT_TRUE(::CreateHardLinkW(dir.native("Shared.ini").c_str(), path.c_str(), nullptr));
    // Another name for the file sees the save.
    ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", "CadLT2013").ok());
    EXPECT_EQ(dir.read("Shared.ini"), dir.read("Quorvel.ini"));
    EXPECT_NE(dir.read("Shared.ini").find("CadLT2013"), std::string::npos);

    // With one name again, the file is replaced, and a hidden file stays hidden. (Wine keeps no creation time
    // of its own, so that it is carried over too shows only on Windows.)
    fs::remove(dir.native("Shared.ini"));
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", "Cad2004").ok());
    EXPECT_NE(dir.read("Quorvel.ini").find("Cad2004"), std::string::npos);
    EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

} // namespace
} // namespace qv
