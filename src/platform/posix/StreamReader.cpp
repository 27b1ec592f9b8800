#include "StreamReader.h"

#include "Descriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::platform {
namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

Error refused(const std::string& path, const std::string& why)
{
    return Error{ErrPathFileAccess, path + " " + why};
}

Error systemFailure(const std::string& path, int err)
{
    switch (err) {
    case ENOENT:
        return makeError(ErrFileNotFound, path);
    case ENOTDIR:
        return makeError(ErrPathNotFound, path);
    case EACCES:
    case EPERM:
        return makeError(ErrPermissionDenied, path);
    case ENXIO: // a socket, or a device without its driver
        return refused(path, "is a socket or a device, not a file that can be read as a drawing list.");
    case EIO:
        return makeError(ErrDeviceIo, path);
    default:
        return makeError(ErrPathFileAccess, path);
    }
}

std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "is a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device";
    if (S_ISSOCK(mode))
        return "is a socket";
    return "is not a regular file";
}

} // namespace

Status readStreamInBlocks(const std::string& path, const StreamLimits& limits,
                          const std::function<void(std::string_view block)>& block)
{
    // Not blocking: opening a named pipe would otherwise wait for a writer forever, and a device's open
    // may wait for its hardware.
    int opened = -1;
    do {
        opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0)
        return systemFailure(path, errno);
    const Descriptor fd(opened);
    struct stat info
    {
    };
    if (::fstat(fd.get(), &info) != 0)
        return systemFailure(path, errno);
    const bool pipe = S_ISFIFO(info.st_mode);
    if (!S_ISREG(info.st_mode) && !pipe)
        return refused(path, kindOf(info.st_mode) + ", not a file that can be read as a drawing list.");
    if (!pipe && static_cast<std::uintmax_t>(info.st_size) > limits.limit)
        return refused(path,
                       "is larger than " + std::to_string(limits.limit >> 20) + " MiB, more than any drawing list.");
    if (!pipe) {
        // A regular file never blocks; reading it the usual way.
        const int flags = ::fcntl(fd.get(), F_GETFL);
        if (flags >= 0)
            ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    }

    const std::size_t size =
        pipe ? kBlock : static_cast<std::size_t>(std::min<std::uintmax_t>(kBlock, std::uintmax_t(info.st_size) + 1));
    const auto buffer = std::make_unique_for_overwrite<char[]>(size);
    std::size_t total = 0;
    bool writerSeen = false;
    for (;;) {
        bool waited = false;
        if (pipe) {
            // Data, or the writer's end. A pipe nobody has opened for writing shows neither until someone
            // does, so that wait is bounded; once a writer is there it is waited for as any program reading
            // a pipe waits for it.
            pollfd request{fd.get(), POLLIN, 0};
            const int timeout = writerSeen ? -1 : static_cast<int>(limits.writerWait.count());
            const int ready = ::poll(&request, 1, timeout);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                return systemFailure(path, errno);
            }
            waited = ready == 0;
        }
        const ssize_t count = ::read(fd.get(), buffer.get(), size);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                writerSeen = true; // a writer holds the pipe open and has not written yet
                continue;
            }
            return systemFailure(path, errno);
        }
        if (count == 0) {
            // After the wait, no data and no writer: nobody ever opened the pipe for writing.
            if (waited) {
                return refused(path, "is a named pipe that no program opened for writing within " +
                                         std::to_string(limits.writerWait.count() / 1000) + " seconds.");
            }
            return {};
        }
        writerSeen = true;
        total += static_cast<std::size_t>(count);
        if (total > limits.limit)
            return refused(path, "holds more than " + std::to_string(limits.limit >> 20) +
                                     " MiB, more than any drawing list.");
        block(std::string_view(buffer.get(), static_cast<std::size_t>(count)));
    }
}

} // namespace qv::platform
