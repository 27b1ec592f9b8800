#include "SafeWrite.h"

#include "FileSystem.h"
#include "SystemErrors.h"
#include "Utf16.h"
#include "io/FileIo.h"
#include "io/WriteAhead.h"
#include "text/Paths.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>
#include <windows.h>

namespace qv::platform {

namespace {

namespace fs = std::filesystem;

Error windowsError(DWORD code, const std::string& path)
{
    return makeError(win32::errorNumberFor(code), path);
}

// A handle closed when it goes out of scope.
class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    void close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

std::string toUtf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Removes the temporary files that killed saves of `name` left in the folder. A running save keeps its
// temporary file open without sharing deletion, so the system refuses to delete it.
void removeAbandonedTemporaries(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!isTemporaryNameFor(toUtf8(it->path().filename()), name))
            continue;
        ::DeleteFileW(it->path().c_str());
    }
}

// True when no other handle keeps the file from being deleted, which replacing it needs.
bool mayBeReplaced(const fs::path& target)
{
    const HANDLE probe = ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return ::GetLastError() != ERROR_SHARING_VIOLATION;
    ::CloseHandle(probe);
    return true;
}

// The file's names: more than one, and a new file taking this name would leave the others with the old bytes.
// (The C runtime's stat, and so std::filesystem, always answers one on Windows.)
DWORD linkCount(const fs::path& target)
{
    const Handle file(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (file.get() == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(file.get(), &information))
        return 1;
    return information.nNumberOfLinks;
}

// Gives the new file what makes the old one what it is before it takes its name: its owner, group and access
// list, its attributes and its creation time. False when that cannot be done (an owner we may not give): the
// file is then written in place instead.
bool carryIdentity(const fs::path& from, const fs::path& to)
{
    constexpr SECURITY_INFORMATION kParts =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    ::GetFileSecurityW(from.c_str(), kParts, nullptr, 0, &needed);
    if (needed == 0)
        return false;
    std::vector<BYTE> descriptor(needed);
    if (!::GetFileSecurityW(from.c_str(), kParts, descriptor.data(), needed, &needed) ||
        !::SetFileSecurityW(to.c_str(), kParts, descriptor.data()))
        return false;
    const Handle source(::CreateFileW(from.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    const Handle copy(::CreateFileW(to.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME created{};
    if (source.get() == INVALID_HANDLE_VALUE || copy.get() == INVALID_HANDLE_VALUE ||
        !::GetFileTime(source.get(), &created, nullptr, nullptr) ||
        !::SetFileTime(copy.get(), &created, nullptr, nullptr))
        return false;
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = ::GetFileAttributesW(from.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ::SetFileAttributesW(to.c_str(), (attributes & kKept) ? (attributes & kKept) : FILE_ATTRIBUTE_NORMAL);
}

std::string privateFolder()
{
    return userConfigFolderName();
}

} // namespace

Status replaceFileSafely(const std::string& path, std::string_view bytes)
{
    fs::path target = pathFromUtf8(path);
    if (target.empty())
        return makeError(ErrBadFileNameOrNumber, path);
    std::error_code ec;
    // A symbolic link is written through to the file it names.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path followed = fs::weakly_canonical(target, ec);
        if (!ec)
            target = followed;
    }
    const std::string targetName = toUtf8(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        return makeError(ErrPathNotFound, path);
    if (Status pending = finishPendingWrite(targetName); !pending)
        return pending;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return makeError(ErrPathFileAccess, path);
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return makeError(ErrPermissionDenied, path);
    const std::string name = toUtf8(target.filename());
    removeAbandonedTemporaries(folder, name);

    // Another name for the same file would keep the old bytes if a new file took this name.
    if (exists && linkCount(target) > 1)
        return rewriteFileInPlace(targetName, bytes);
    // A file that another program holds open without sharing deletion cannot be replaced, but may be
    // written; asking first spares a replace that fails half way (and may leave its own temporary files).
    if (exists && !mayBeReplaced(target))
        return rewriteFileInPlace(targetName, bytes);

    std::random_device random;
    fs::path temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = folder / pathFromUtf8(temporaryNameFor(name, random()));
        // No sharing of deletion: a clean-up by another save cannot remove this file while it is written.
        created = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            const DWORD error = ::GetLastError();
            if (exists && error == ERROR_ACCESS_DENIED)
                return rewriteFileInPlace(targetName, bytes); // the folder takes no new file
            return windowsError(error, path);
        }
    }
    if (created == INVALID_HANDLE_VALUE)
        return makeError(ErrPathFileAccess, path);
    Handle file(created);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file.get(), rest.data(), chunk, &written, nullptr) || written == 0) {
            const DWORD error = ::GetLastError();
            file.close();
            ::DeleteFileW(temp.c_str());
            return windowsError(error, path);
        }
        rest.remove_prefix(written);
    }
    if (!::FlushFileBuffers(file.get())) {
        const DWORD error = ::GetLastError();
        file.close();
        ::DeleteFileW(temp.c_str());
        return windowsError(error, path);
    }
    file.close();

    // One rename puts the new file in place, so a kill leaves the old file or the new one. (ReplaceFileW, which
    // keeps the old file's identity itself, takes several steps and can leave neither.)
    if (exists && !carryIdentity(target, temp)) {
        ::DeleteFileW(temp.c_str());
        return rewriteFileInPlace(targetName, bytes);
    }
    const BOOL moved = ::MoveFileExW(temp.c_str(), target.c_str(),
                                     MOVEFILE_WRITE_THROUGH | (exists ? MOVEFILE_REPLACE_EXISTING : 0));
    if (moved)
        return {};
    const DWORD error = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    // A file that another program holds open without sharing deletion cannot be replaced, but may be written.
    if (exists && (error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_ACCESS_DENIED ||
                   error == ERROR_SHARING_VIOLATION))
        return rewriteFileInPlace(targetName, bytes);
    return windowsError(error, path);
}

Status syncToDisk(const std::string& path)
{
    const auto wide = win32::toUtf16(path);
    if (!wide)
        return makeError(ErrBadFileNameOrNumber, path);
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {}; // a folder's entries reach the disk with the files moved into it (MOVEFILE_WRITE_THROUGH)
    const Handle file(::CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return windowsError(::GetLastError(), path);
    if (!::FlushFileBuffers(file.get()))
        return windowsError(::GetLastError(), path);
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
