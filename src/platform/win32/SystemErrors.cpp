#include "SystemErrors.h"

#include "Result.h"

namespace qv::platform::win32 {

int errorNumberFor(DWORD error)
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

} // namespace qv::platform::win32
