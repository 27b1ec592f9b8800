#include "ProcessLauncher.h"

#include "ScriptLock.h"
#include "batch/WindowsCommandLine.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qv::platform {
namespace {

// Shell-execute error codes.
constexpr int SeUnknown = 0;
constexpr int SeFileNotFound = 2;
constexpr int SePathNotFound = 3;
constexpr int SeAccessDenied = 5;
constexpr int SeOutOfMemory = 8;
constexpr int SeBadFormat = 11;
constexpr int SeShare = 26;

int codeForErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENAMETOOLONG:
    case ELOOP:
        return SeFileNotFound;
    case ENOTDIR:
        return SePathNotFound;
    case EACCES:
    case EPERM:
        return SeAccessDenied;
    case ENOEXEC:
    case EISDIR:
        return SeBadFormat;
    case ENOMEM:
    case EAGAIN:
        return SeOutOfMemory;
    case ETXTBSY:
        return SeShare;
    default:
        return SeUnknown;
    }
}

// Hosts started by this process that have not ended yet.
std::atomic<int> g_runningHosts{0};

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

bool isDirectory(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A name without a folder is looked for along PATH only, as execvp does; never in the current folder,
// where anyone who can write it could plant a program of the same name.
std::string resolveExecutable(const std::string& file)
{
    if (file.empty() || file.find('/') != std::string::npos)
        return file;
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath ? searchPath : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        // An empty entry (and ".") names the current folder.
        if (folder.empty() || folder == ".")
            continue;
        std::string candidate(folder);
        candidate += '/';
        candidate += file;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

// The checks the kernel would make, done first so each failure gets its own code.
int checkExecutable(const std::string& path)
{
    if (path.empty())
        return SeFileNotFound;
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        const int err = errno;
        if (err == ENOENT) {
            const std::string folder = std::filesystem::path(path).parent_path().string();
            return folder.empty() || isDirectory(folder) ? SeFileNotFound : SePathNotFound;
        }
        return codeForErrno(err);
    }
    if (!S_ISREG(info.st_mode))
        return SeBadFormat;
    if (::access(path.c_str(), X_OK) != 0) {
        if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0)
            return SeBadFormat; // a data file, not a program
        return codeForErrno(errno);
    }
    return 0;
}

// Starts the host as shellExecuteOpen describes; 0 with its process id in `child`, else the error code.
int spawnHost(const std::string& file, const std::string& parameters, const std::string& directory, pid_t& child)
{
    const std::string path = resolveExecutable(file);
    if (const int code = checkExecutable(path))
        return code;
    const bool ownDirectory = !isBlank(directory);
    if (ownDirectory && !isDirectory(directory))
        return SePathNotFound;

    std::vector<std::string> arguments = splitWindowsCommandLine(parameters);
    arguments.insert(arguments.begin(), file);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // posix_spawn starts the program without copying this process (a batch of a million drawings makes
    // it large): in a session of its own, with default signals, no input from us and none of our files.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return SeOutOfMemory;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return SeOutOfMemory;
    }
    // None of our standard streams either: a caller that reads our output (out=$(quorvel list.qvl), cron)
    // must see its end when we end, not when the host does.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // The script just written goes with the host as its descriptor 3: its lock then lasts exactly as long as
    // the host, so no other run takes the script for free before the host has opened it.
    const int held = takeHeldScript();
    const int handOver = held >= 0 ? ::fcntl(held, F_DUPFD_CLOEXEC, 10) : -1;
    if (handOver >= 0)
        posix_spawn_file_actions_adddup2(&actions, handOver, 3);
    posix_spawn_file_actions_addclosefrom_np(&actions, handOver >= 0 ? 4 : 3);
    if (ownDirectory)
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    const int error = ::posix_spawn(&child, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (handOver >= 0)
        ::close(handOver);
    if (held >= 0)
        ::close(held);
    if (error != 0)
        return codeForErrno(error);
    return 0;
}

// Collects the host's exit in the background, so it never lingers as a zombie.
void collectInBackground(pid_t child, bool counted)
{
    std::thread([child, counted] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (counted)
            --g_runningHosts;
    }).detach();
}

} // namespace

int shellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                     int /*showCode*/)
{
    pid_t child = 0;
    if (const int code = spawnHost(file, parameters, directory, child))
        return code;
    ++g_runningHosts;
    // Nobody waits for the host.
    collectInBackground(child, true);
    return kShellExecuteStarted;
}

int runningHosts()
{
    return g_runningHosts.load();
}

WatchedHost::~WatchedHost()
{
    release();
}

void WatchedHost::release()
{
    if (m_state == State::Running)
        collectInBackground(m_pid, false);
    m_state = State::NotStarted;
    m_pid = 0;
}

int WatchedHost::start(const std::string& file, const std::string& parameters, const std::string& directory,
                       int /*showCode*/)
{
    release();
    pid_t child = 0;
    if (const int code = spawnHost(file, parameters, directory, child))
        return code;
    m_pid = child;
    m_state = State::Running;
    return kShellExecuteStarted;
}

WatchedHost::State WatchedHost::poll()
{
    if (m_state != State::Running)
        return m_state;
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(m_pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (done == m_pid)
        m_state = WIFEXITED(status) ? State::ExitedNormally : State::ExitedAbnormally;
    else if (done < 0)
        m_state = State::ExitedAbnormally; // not our child any more: nothing more can be learnt
    return m_state;
}

void WatchedHost::end()
{
    if (poll() != State::Running)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_state = State::ExitedAbnormally;
}

} // namespace qv::platform
