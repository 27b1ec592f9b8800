#include "ProcessLauncher.h"

#include "batch/WindowsCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#if defined(__linux__)
#include <sys/syscall.h>
#endif

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

// Where the start failed, as the started side reports it through the pipe.
enum Stage : int
{
    StageFork = 1,
    StageDirectory = 2,
    StageExec = 3
};

struct Report
{
    int stage;
    int error;
};

int CodeForErrno(int err)
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

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

bool IsDirectory(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A name without a folder is looked for in the current folder, then along PATH, as the shell
// service does.
std::string ResolveExecutable(const std::string& file)
{
    if (file.find('/') != std::string::npos)
        return file;
    struct stat info
    {
    };
    if (::stat(file.c_str(), &info) == 0)
        return "./" + file;
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath ? searchPath : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (folder.empty())
            continue;
        std::string candidate(folder);
        candidate += '/';
        candidate += file;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return file;
}

// The checks the kernel would make, done first so each failure gets its own code.
int CheckExecutable(const std::string& path)
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
            return folder.empty() || IsDirectory(folder) ? SeFileNotFound : SePathNotFound;
        }
        return CodeForErrno(err);
    }
    if (!S_ISREG(info.st_mode))
        return SeBadFormat;
    if (::access(path.c_str(), X_OK) != 0) {
        if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0)
            return SeBadFormat; // a data file, not a program
        return CodeForErrno(errno);
    }
    return 0;
}

int CodeForReport(const Report& report)
{
    switch (report.stage) {
    case StageDirectory:
        return report.error == ENOENT || report.error == ENOTDIR ? SePathNotFound : CodeForErrno(report.error);
    case StageFork:
        return report.error == EAGAIN || report.error == ENOMEM ? SeOutOfMemory : SeUnknown;
    default:
        return CodeForErrno(report.error);
    }
}

[[noreturn]] void ReportAndExit(int fd, int stage, int error)
{
    const Report report{stage, error};
    [[maybe_unused]] const auto written = ::write(fd, &report, sizeof report);
    ::_exit(127);
}

// Runs in the detached grandchild: only async-signal-safe calls from here on.
[[noreturn]] void StartProgram(const char* path, char* const* argv, const char* directory, int reportFd, int maxFd)
{
    // Signal state survives exec; the program starts with the defaults.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults
    {
    };
    defaults.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        sigaction(signal, &defaults, nullptr);

    // No input from us, and none of our files.
    const int nullFd = ::open("/dev/null", O_RDONLY);
    if (nullFd > 0) {
        ::dup2(nullFd, STDIN_FILENO);
        ::close(nullFd);
    }
    bool marked = false;
#if defined(__linux__) && defined(SYS_close_range)
    constexpr unsigned kCloseRangeCloexec = 4;
    marked = ::syscall(SYS_close_range, 3U, ~0U, kCloseRangeCloexec) == 0;
#endif
    if (!marked) {
        for (int fd = 3; fd < maxFd; ++fd) {
            if (fd != reportFd)
                ::close(fd);
        }
    }

    if (directory && ::chdir(directory) != 0)
        ReportAndExit(reportFd, StageDirectory, errno);
    ::execv(path, argv);
    ReportAndExit(reportFd, StageExec, errno);
}

} // namespace

int ShellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                     int /*showCode*/)
{
    const std::string path = ResolveExecutable(file);
    if (const int code = CheckExecutable(path))
        return code;
    const bool ownDirectory = !IsBlank(directory);
    if (ownDirectory && !IsDirectory(directory))
        return SePathNotFound;

    // Everything the started side needs is prepared here: after fork only async-signal-safe calls.
    std::vector<std::string> arguments = SplitWindowsCommandLine(parameters);
    arguments.insert(arguments.begin(), file);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const long openMax = ::sysconf(_SC_OPEN_MAX);
    const int maxFd = static_cast<int>(std::clamp(openMax, 256L, 65536L));

    int report[2];
    if (::pipe(report) != 0)
        return errno == EMFILE || errno == ENFILE ? SeOutOfMemory : SeUnknown;
    ::fcntl(report[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(report[1], F_SETFD, FD_CLOEXEC);

    const pid_t child = ::fork();
    if (child < 0) {
        const int err = errno;
        ::close(report[0]);
        ::close(report[1]);
        return CodeForReport(Report{StageFork, err});
    }
    if (child == 0) {
        // A session of its own and a second fork: the program is not our child, outlives us and is
        // not hit by signals sent to our process group.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0)
            ReportAndExit(report[1], StageFork, errno);
        if (grandchild > 0)
            ::_exit(0);
        StartProgram(path.c_str(), argv.data(), ownDirectory ? directory.c_str() : nullptr, report[1], maxFd);
    }

    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when exec succeeded (close-on-exec), or carries the failure.
    Report failure{};
    std::size_t received = 0;
    while (received < sizeof failure) {
        const auto count = ::read(report[0], reinterpret_cast<char*>(&failure) + received, sizeof failure - received);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        received += static_cast<std::size_t>(count);
    }
    ::close(report[0]);
    if (received == sizeof failure)
        return CodeForReport(failure);
    if (received > 0)
        return SeUnknown;
    return kShellExecuteStarted;
}

} // namespace qv::platform
