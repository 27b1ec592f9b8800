#include "ScriptLock.h"

#include "Result.h"
#include "Utf16.h"

#include <string>
#include <windows.h>

namespace qv::platform {
namespace {

int probeErrorNumber(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return ErrPermissionDenied;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ErrPathNotFound;
    case ERROR_FILE_NOT_FOUND:
        return ErrFileNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return ErrBadFileNameOrNumber;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrDiskFull;
    default:
        return ErrPathFileAccess;
    }
}

} // namespace

int probeForWriting(const std::string& path)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return ErrBadFileNameOrNumber;

    // A read-only script cannot be written, whoever asks (an administrator's handle would open it anyway).
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ErrPermissionDenied;

    // No sharing and OPEN_ALWAYS: fails while a host has the script open, never truncates it.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // Windows refuses a folder as "access denied"; it is no script a host holds, so say what it is.
        if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return ErrPathFileAccess;
        return probeErrorNumber(error);
    }
    ::CloseHandle(handle);
    return 0;
}

} // namespace qv::platform
