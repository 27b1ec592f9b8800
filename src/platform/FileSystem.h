#pragma once

#include "Result.h"

#include <string>

// windows.h makes GetFileAttributes a macro for its own function; the name below is ours.
#ifdef GetFileAttributes
#undef GetFileAttributes
#endif

namespace qv::platform {

// File attribute bits, numbered as the Windows attributes the user-facing rules speak of.
enum FileAttribute : unsigned
{
    AttrReadOnly = 1,
    AttrDirectory = 16,
};

// Attributes of a file or folder; an error (53 file not found, ...) when they cannot be read.
// Outside Windows a file is read-only when its owner has no write permission.
Result<unsigned> GetFileAttributes(const std::string& path);

// True when the process can create files in the folder.
bool IsFolderWritable(const std::string& folder);

// The per-user settings folder ("~/.config/Quorvel", "%APPDATA%\Quorvel"); created on demand.
std::string UserConfigFolder();

// Folder of the running executable.
std::string ExecutableFolder();

} // namespace qv::platform
