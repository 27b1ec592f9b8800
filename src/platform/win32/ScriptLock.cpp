#include "ScriptLock.h"

#include "Result.h"

#include <string>
#include <windows.h>

namespace qv::platform {
namespace {

int ProbeErrorNumber(DWORD error)
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

int FileIsOpen(const std::string& path)
{
    const int wideSize =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (wideSize <= 0)
        return ErrBadFileNameOrNumber;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), wide.data(),
                          wideSize);

    // No sharing and OPEN_ALWAYS: fails while a host has the script open, never truncates it.
    const HANDLE handle =
        ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ProbeErrorNumber(::GetLastError());
    ::CloseHandle(handle);
    return 0;
}

} // namespace qv::platform
