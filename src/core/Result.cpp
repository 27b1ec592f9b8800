#include "Result.h"

#include "text/LineBreaks.h"

namespace qv {

std::string describeErrorNumber(int number)
{
    switch (number) {
    case ErrInvalidProcedureCall:
        return "Invalid procedure call or argument";
    case ErrOutOfMemory:
        return "Out of memory";
    case ErrBadFileNameOrNumber:
        return "Bad file name or number";
    case ErrFileNotFound:
        return "File not found";
    case ErrBadFileMode:
        return "Bad file mode";
    case ErrFileAlreadyOpen:
        return "File already open";
    case ErrDeviceIo:
        return "Device I/O error";
    case ErrDiskFull:
        return "Disk full";
    case ErrInputPastEnd:
        return "Input past end of file";
    case ErrPermissionDenied:
        return "Permission denied";
    case ErrPathFileAccess:
        return "Path/File access error";
    case ErrPathNotFound:
        return "Path not found";
    case ErrInvalidText:
        return "Text cannot be stored";
    default:
        return "Application-defined or object-defined error";
    }
}

Error makeError(int number, const std::string& path)
{
    std::string description = describeErrorNumber(number);
    if (!path.empty())
        description += ": " + path;
    return Error{number, description};
}

std::string formatErrorMessage(const Error& error, const std::string& routine)
{
    return "Error Number " + std::to_string(error.number) + " in routine " + routine + " " + std::string(kCrLf) +
           std::string(kCrLf) + error.description;
}

} // namespace qv
