#include "ScriptLock.h"

#include "Result.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

} // namespace

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
