#pragma once

#include "Result.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace qv {

// Maps a system error to the error numbers users see (53, 70, 75, 76, 61, ...).
int errorNumberFor(const std::error_code& code);
Error errorFor(const std::error_code& code, const std::string& path);

// The file-system path for a UTF-8 path. On Windows the name reaches the system as UTF-16; text that is not
// UTF-8 gives an empty path (which names no file) instead of an exception.
std::filesystem::path pathFromUtf8(const std::string& path);

// std::fopen for a UTF-8 path (on Windows through _wfopen, which is the only way to names outside the
// system's code page). Sets errno and returns nullptr on failure.
std::FILE* openFile(const std::string& path, const char* mode);

// The file's bytes handed to `block` a block at a time (at most blockSize bytes each), for files too large
// to hold whole beside what is made of them. A missing file is ErrFileNotFound, a folder ErrPathFileAccess.
Status readFileInBlocks(const std::string& path, std::size_t blockSize,
                        const std::function<void(std::string_view block)>& block);
// Reads a whole file as bytes, with the errors of readFileInBlocks.
Result<std::string> readFileBytes(const std::string& path);

// What a safe write needs from the operating system beyond the standard library. The platform layer
// installs its own at start-up (platform::installSafeWrites). Without it (build tools, fuzz targets) a write
// still leaves its file whole-old or whole-new when the program is killed, but nothing is forced to the disk,
// and a replaced file takes the writer's owner and group.
struct FileSystemWrites
{
    // Replaces a file's bytes whole-old or whole-new, keeping the file's identity (see writeFileAtomically).
    Status (*replaceFile)(const std::string& path, std::string_view bytes) = nullptr;
    // Forces what was written to a file, or to a folder's entries, to the disk.
    Status (*syncToDisk)(const std::string& path) = nullptr;
    // The folder for write-ahead copies of files whose own folder takes no new file (the per-user settings
    // folder); only named, not created. Empty when there is none.
    std::string (*privateFolder)() = nullptr;
};
void installFileSystemWrites(const FileSystemWrites& writes);
const FileSystemWrites& fileSystemWrites();
// Forces a file or folder to the disk through the installed writes; success without them.
Status syncToDisk(const std::string& path);

// Replaces the file with the bytes so that a failure or a kill at any step leaves it whole-old or
// whole-new. A new file, or one that a new file can stand in for, is written beside it under a temporary
// name, forced to the disk and renamed over it. The file keeps its identity: a symbolic link is written
// through to the file it names; the owner, group and mode are carried over; a file with several hard links,
// one whose owner or group a new file could not have, or one in a folder that takes no new file, is
// rewritten in place through a write-ahead copy (WriteAhead.h). Temporary files that a killed save of the
// same file left behind are removed first. The folder must exist.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

// The temporary name of a save of the file named `name` in the same folder: name + ".tmp" + six digits.
std::string temporaryNameFor(std::string_view name, unsigned number);
// True when entry is a temporary name of a save of `name`: name + ".tmp" + one to six digits (older
// versions used fewer digits).
bool isTemporaryNameFor(std::string_view entry, std::string_view name);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);

} // namespace qv
