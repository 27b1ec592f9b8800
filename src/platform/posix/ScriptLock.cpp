#include "ScriptLock.h"

#include "BlockOutput.h"
#include "Result.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qv::platform {
namespace {

int probeErrorNumber(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrPermissionDenied;
    case ENAMETOOLONG:
        return ErrBadFileNameOrNumber;
    case ENOSPC:
    case EDQUOT:
        return ErrDiskFull;
    case EIO:
        return ErrDeviceIo;
    default:
        return ErrPathFileAccess; // EISDIR, ELOOP, ENXIO (a FIFO), EMFILE, ...
    }
}

// How long a run waits for another run in the same script folder to finish writing its script.
constexpr auto kFolderWait = std::chrono::seconds(30);

void closeQuietly(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The claim of this process: the folder it writes in, the script it may replace and the script it wrote.
struct Claim
{
    std::mutex mutex;
    std::string folderPath;
    int folder = -1;           // the script folder, locked (exclusive) while this run chooses and writes
    bool folderLocked = false; // false on a file system without locks
    std::string path;          // the script claimed
    int old = -1;              // the script that was there, locked (exclusive) so nobody else writes it
    int written = -1;          // the new script, locked (shared) until a host has it
};

Claim& claim()
{
    static Claim state;
    return state;
}

void dropScriptLocked(Claim& state)
{
    closeQuietly(state.old);
    state.path.clear();
}

void releaseLocked(Claim& state)
{
    dropScriptLocked(state);
    closeQuietly(state.folder);
    state.folderPath.clear();
    closeQuietly(state.written);
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Takes the folder's lock, waiting while another run writes there. 0, or the error number.
int lockFolder(Claim& state, const std::string& folder)
{
    if (state.folder >= 0 && state.folderPath == folder)
        return 0;
    releaseLocked(state);
    int fd = -1;
    do {
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return probeErrorNumber(errno);
    const auto deadline = std::chrono::steady_clock::now() + kFolderWait;
    state.folderLocked = true;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            state.folderLocked = false; // a file system without locks: nobody can hold one there either
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return ErrPermissionDenied;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    state.folder = fd;
    state.folderPath = folder;
    return 0;
}

// An exclusive or shared lock without waiting: 0, or EWOULDBLOCK when someone else holds one. A file system
// without locks answers 0: nobody can hold one there.
int lockNow(int fd, int operation)
{
    while (::flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EWOULDBLOCK ? EWOULDBLOCK : 0;
    }
    return 0;
}

std::string temporaryPrefix(const std::string& path)
{
    return "." + path.substr(path.find_last_of('/') + 1) + ".";
}

// A temporary name beside the script that nobody else can have chosen.
std::string temporaryName(const std::string& path)
{
    static std::mt19937_64 random{std::random_device{}()};
    return folderOf(path) + "/" + temporaryPrefix(path) + std::to_string(random() % 1000000000) + ".tmp";
}

// A run's new script exists only while the run holds the folder, so one found by the run that holds it now
// was left by a run that was killed while writing.
void removeLeftovers(const std::string& path)
{
    const std::string folder = folderOf(path);
    const std::string prefix = temporaryPrefix(path);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.starts_with(prefix) && name.ends_with(".tmp"))
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

} // namespace

int claimScript(const std::string& path)
{
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    if (const int folderError = lockFolder(state, folderOf(path)))
        return folderError;
    dropScriptLocked(state);
    // No O_CREAT, no O_TRUNC: nothing changes on disk. O_NOFOLLOW: a link is looked at, never through.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // No script yet, or a symbolic link that the new script replaces.
        if (errno == ENOENT || errno == ELOOP) {
            state.path = path;
            return 0;
        }
        return probeErrorNumber(errno);
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ErrPathFileAccess;
    }
    if (lockNow(fd, LOCK_EX) != 0) {
        ::close(fd);
        return ErrPermissionDenied;
    }
    state.old = fd;
    state.path = path;
    return 0;
}

Status writeClaimedScript(const std::string& path,
                          const std::function<void(const std::function<void(std::string_view)>& put)>& produce)
{
    if (claim().path != path) {
        if (const int error = claimScript(path))
            return makeError(error, path);
    }
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    closeQuietly(state.written);

    if (state.folder >= 0 && state.folderLocked)
        removeLeftovers(path);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = temporaryName(path);
        // O_EXCL: a name someone planted (a link among them) is never opened; another name is tried.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            break;
    }
    if (fd < 0)
        return makeError(errno == ENOENT || errno == ENOTDIR ? ErrPathNotFound : probeErrorNumber(errno), path);
    // Nobody knows the name yet, so the lock is ours at once; it shows the script as held from the moment
    // it takes the script's name.
    lockNow(fd, LOCK_SH);
    if (state.old >= 0) {
        // The new script keeps the old one's permissions.
        struct stat info
        {
        };
        if (::fstat(state.old, &info) == 0)
            ::fchmod(fd, info.st_mode & 07777);
    }

    int writeError = 0;
    const auto writeOut = [&](const char* data, std::size_t size) {
        while (writeError == 0 && size > 0) {
            const ssize_t count = ::write(fd, data, size);
            if (count < 0) {
                if (errno != EINTR)
                    writeError = errno;
                continue;
            }
            data += count;
            size -= static_cast<std::size_t>(count);
        }
    };
    putInBlocks(produce, writeOut);
    if (writeError == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        writeError = errno;
    if (writeError != 0) {
        ::unlink(temp.c_str());
        ::close(fd);
        return makeError(writeError == EFBIG ? ErrDiskFull : probeErrorNumber(writeError), path);
    }
    // The new script is in place and held; the old one and the folder are free for the next run.
    state.written = fd;
    dropScriptLocked(state);
    closeQuietly(state.folder);
    state.folderPath.clear();
    return {};
}

void releaseScriptClaim()
{
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    releaseLocked(state);
}

int takeHeldScript()
{
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    const int fd = state.written;
    state.written = -1;
    return fd;
}

int probeForWriting(const std::string& path)
{
    // No O_TRUNC: a script that a running host holds must stay whole. O_NONBLOCK keeps a FIFO from
    // hanging the probe.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return probeErrorNumber(errno);

    int result = 0;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        // A file system without locks cannot tell us anything; nobody can hold a lock there either.
        if (errno == EWOULDBLOCK)
            result = ErrPermissionDenied;
        break;
    }
    ::close(fd); // also releases our lock
    return result;
}

} // namespace qv::platform
