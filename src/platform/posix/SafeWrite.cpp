#include "SafeWrite.h"

#include "Descriptor.h"
#include "FileSystem.h"
#include "io/FileIo.h"
#include "io/WriteAhead.h"
#include "text/Paths.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qv::platform {

namespace {

Error systemError(int err, const std::string& path)
{
    return errorFor(std::error_code(err ? err : EIO, std::generic_category()), path);
}

std::string folderOf(const std::string& path)
{
    std::string folder = splitAtLastSeparator(path).first;
    if (folder.empty())
        return path.starts_with('/') ? "/" : ".";
    return folder;
}

// The file a name leads to: symbolic links are followed (at most 40, as the system does), so a save goes
// to the file a link names, and a link to nothing creates that file.
Result<std::string> followLinks(const std::string& path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info{};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1);
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
            return systemError(length < 0 ? errno : ENAMETOOLONG, path);
        const std::string link(buffer.data(), static_cast<std::size_t>(length));
        const std::string folder = splitAtLastSeparator(current).first;
        current = link.starts_with('/') || folder.empty() ? link : joinPath(folder, link);
    }
    return systemError(ELOOP, path);
}

// Removes the temporary files that killed saves of `name` left in the folder. A save that is still running
// holds a lock on its temporary file, so its file is left alone.
void removeAbandonedTemporaries(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryNameFor(entry->d_name, name))
            continue;
        const std::string path = joinPath(folder, entry->d_name);
        const Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file.get() < 0 || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // Still the file that was locked (not a new save's file under a reused name).
        struct stat locked{};
        struct stat named{};
        if (::fstat(file.get(), &locked) == 0 && ::lstat(path.c_str(), &named) == 0 && S_ISREG(locked.st_mode) &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// What replacing the file through a temporary file came to.
enum class Replaced
{
    Done,
    InPlace, // a new file cannot stand in for this one: rewrite it where it is
    Retry,   // the temporary file vanished (another save's clean-up): try again
};

Result<Replaced> replaceThroughTemporary(const std::string& target, const std::string& folder,
                                         const std::string& name, const struct stat* old, std::string_view bytes)
{
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = joinPath(folder, temporaryNameFor(name, random()));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            const int err = errno;
            if (old && (err == EACCES || err == EPERM))
                return Replaced::InPlace; // the folder takes no new file
            return systemError(err, target);
        }
    }
    if (fd < 0)
        return systemError(EEXIST, target);
    const Descriptor file(fd);
    // Marks the file as a save in progress (see removeAbandonedTemporaries).
    ::flock(fd, LOCK_EX | LOCK_NB);
    const auto discard = [&temp](int err, const std::string& path) -> Result<Replaced> {
        ::unlink(temp.c_str());
        return systemError(err, path);
    };
    if (old) {
        struct stat mine{};
        if (::fstat(fd, &mine) != 0)
            return discard(errno, target);
        if ((mine.st_uid != old->st_uid || mine.st_gid != old->st_gid) && ::fchown(fd, old->st_uid, old->st_gid) != 0) {
            ::unlink(temp.c_str());
            return Replaced::InPlace; // a new file would change the owner or the group
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0)
            return discard(errno, target);
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return discard(errno, target);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        if (err == ENOENT)
            return Replaced::Retry;
        return systemError(err, target);
    }
    // The new name must reach the disk too; a folder that cannot be forced changes nothing already done.
    (void)syncToDisk(folder);
    return Replaced::Done;
}

std::string privateFolder()
{
    return userConfigFolderName();
}

} // namespace

Status replaceFileSafely(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return makeError(ErrBadFileNameOrNumber, path);
    const auto followed = followLinks(path);
    if (!followed)
        return followed.error();
    const std::string& target = followed.value();
    const std::string folder = folderOf(target);
    const std::string name = splitAtLastSeparator(target).second;
    struct stat folderInfo{};
    if (name.empty() || ::stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode))
        return makeError(ErrPathNotFound, path);

    // Finish any in-place save that a kill interrupted before this one starts.
    if (Status pending = finishPendingWrite(target); !pending)
        return pending;
    struct stat old{};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return systemError(errno, path);
    if (exists && S_ISDIR(old.st_mode))
        return makeError(ErrPathFileAccess, path);
    if (exists && !S_ISREG(old.st_mode))
        return makeError(ErrPathFileAccess, path); // a device or a pipe is no file to save into
    if (exists && ((old.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return makeError(ErrPermissionDenied, path);

    removeAbandonedTemporaries(folder, name);
    // Another name for the same file would keep the old bytes if a new file took this name.
    if (exists && old.st_nlink > 1)
        return rewriteFileInPlace(target, bytes);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto replaced = replaceThroughTemporary(target, folder, name, exists ? &old : nullptr, bytes);
        if (!replaced)
            return replaced.error();
        if (replaced.value() == Replaced::Done)
            return {};
        if (replaced.value() == Replaced::InPlace)
            return rewriteFileInPlace(target, bytes);
    }
    return makeError(ErrPathFileAccess, path);
}

Status syncToDisk(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno, path);
    const Descriptor file(fd);
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) // folders on some systems cannot be forced
        return systemError(errno, path);
    return {};
}

void installSafeWrites()
{
    FileSystemWrites writes;
    writes.replaceFile = &replaceFileSafely;
    writes.syncToDisk = &syncToDisk;
    writes.privateFolder = &privateFolder;
    installFileSystemWrites(writes);
}

} // namespace qv::platform
