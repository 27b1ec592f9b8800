#include "ProcessLauncher.h"

#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

void writeExecutable(const TempDir& dir, const std::string& name, const std::string& text, fs::perms perms)
{
    dir.write(name, text);
    fs::permissions(dir.file(name), perms);
}

// Waits for a file that the started program renames into place when it is done.
std::string waitForFile(const std::string& path)
{
    for (int i = 0; i < 200 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessLauncher, FailuresGetShellExecuteCodes)
{
    TempDir dir;
    writeExecutable(dir, "data.txt", "not a program\n", fs::perms::owner_read | fs::perms::owner_write);
    writeExecutable(dir, "garbage", "\x7f\x01\x02garbage", fs::perms::owner_all);
    writeExecutable(dir, "ok.sh", "#!/bin/sh\nexit 0\n", fs::perms::owner_all);
    // file, directory, ShellExecute code
    const std::tuple<std::string, std::string, int> cases[] = {
        {dir.file("missing"), " ", 2},
        {"Unknown", " ", 2},
        {"", " ", 2},
        {dir.file("nofolder/acad"), " ", 3},
        {dir.file("data.txt"), " ", 11},
        {dir.file("garbage"), " ", 11},
        {dir.path(), " ", 11},
        {dir.file("ok.sh"), dir.file("nofolder"), 3},
    };
    for (const auto& [file, directory, code] : cases)
        EXPECT_EQ(platform::shellExecuteOpen(file, "/b \"x.scr\"", directory, 1), code) << file;
}

TEST(ProcessLauncher, StartsTheProgramDetachedWithWindowsStyleArguments)
{
    TempDir dir;
    const std::string out = dir.file("out.txt");
    // Reports its arguments, working folder, parent and session, then renames the report into place.
    writeExecutable(dir, "host.sh",
                    "#!/bin/sh\nsleep 0.2\nout=$(dirname \"$0\")/out.txt\n"
                    "streams=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                    "{ for a in \"$@\"; do echo \"[$a]\"; done; pwd; echo \"$streams\";\n"
                    " cut -d' ' -f4,6 /proc/$$/stat; } > \"$out.tmp\"\n"
                    "mv \"$out.tmp\" \"$out\"\n",
                    fs::perms::owner_all);

    const std::string script = dir.file("a b/Batch.scr");
    const int result =
        platform::shellExecuteOpen(dir.file("host.sh"), "/nologo \"My Profile\" /b \"" + script + "\"", " ", 1);
    EXPECT_GE(result, 33);
    // The launcher does not wait: the program is still sleeping when it returns.
    EXPECT_FALSE(fs::exists(out));

    const std::string report = waitForFile(out);
    const std::string arguments = "[/nologo]\n[My Profile]\n[/b]\n[" + script + "]\n";
    ASSERT_TRUE(report.starts_with(arguments)) << report;
    std::istringstream rest(report.substr(arguments.size()));
    std::string folder;
    long parent = 0, session = 0;
    std::getline(rest, folder);
    // None of our standard streams: out=$(quorvel list.qvl) must not wait for the host to end.
    std::string streams[3];
    for (std::string& stream : streams)
        std::getline(rest, stream);
    for (const std::string& stream : streams)
        EXPECT_EQ(stream, "/dev/null");
    rest >> parent >> session;
    EXPECT_EQ(fs::canonical(folder), fs::canonical(fs::current_path()));
    // In a session of its own, so signals to our process group do not reach it; and once it has ended it
    // is collected, never left as a zombie.
    EXPECT_NE(session, static_cast<long>(::getsid(0)));
    bool zombie = true;
    for (int i = 0; i < 200 && zombie; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        zombie = false;
        for (const auto& entry : fs::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string pid, name, state;
            long ppid = 0;
            if (stat >> pid >> name >> state >> ppid && ppid == static_cast<long>(::getpid()) && state == "Z")
                zombie = true;
        }
    }
    EXPECT_FALSE(zombie);
    EXPECT_GT(parent, 0);
}

TEST(ProcessLauncher, BareNameIsNeverTakenFromTheCurrentFolder)
{
    TempDir dir;
    writeExecutable(dir, "acad", "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n", fs::perms::owner_all);
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const int result = platform::shellExecuteOpen("acad", "/b \"x.scr\"", " ", 1);
    fs::current_path(before);
    EXPECT_EQ(result, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(dir.file("ran")));
}

TEST(ProcessLauncher, BareNameIsFoundOnThePathAndDirectoryIsUsed)
{
    TempDir dir;
    const std::string out = dir.file("pwd.txt");
    const int result = platform::shellExecuteOpen("sh", "-c \"pwd > pwd.tmp && mv pwd.tmp pwd.txt\"", dir.path(), 1);
    EXPECT_GE(result, 33);
    std::string text = waitForFile(out);
    ASSERT_FALSE(text.empty());
    text.pop_back();
    EXPECT_EQ(fs::canonical(text), fs::canonical(dir.path()));
}

TEST(ProcessLauncher, AWatchedHostTellsHowItEndedAndCanBeEnded)
{
    using State = platform::WatchedHost::State;
    TempDir dir;
    // program text, state once it has had time to end
    const std::tuple<std::string, State> cases[] = {
        {"exit 0", State::ExitedNormally},
        {"exit 3", State::ExitedNormally}, // an error status of its own is still an end of its own
        {"kill -KILL $$", State::ExitedAbnormally},
        {"kill -SEGV $$", State::ExitedAbnormally},
        {"exec sleep 30", State::Running},
    };
    for (const auto& [text, state] : cases) {
        writeExecutable(dir, "host.sh", "#!/bin/sh\n" + text + "\n", fs::perms::owner_all);
        platform::WatchedHost host;
        EXPECT_EQ(host.poll(), State::NotStarted);
        ASSERT_EQ(host.start(dir.file("host.sh"), "/b \"x.scr\"", " ", 1), platform::kShellExecuteStarted) << text;
        State seen = host.poll();
        for (int i = 0; i < 100 && seen == State::Running; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            seen = host.poll();
        }
        EXPECT_EQ(seen, state) << text;
        host.end();
        EXPECT_NE(host.poll(), State::Running) << text;
    }
    platform::WatchedHost missing;
    EXPECT_EQ(missing.start(dir.file("missing"), "", " ", 1), 2);
    EXPECT_EQ(missing.poll(), State::NotStarted);
}

} // namespace
} // namespace qv
