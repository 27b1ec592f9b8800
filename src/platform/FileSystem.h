#pragma once

#include "Result.h"

#include <memory>
#include <string>

namespace qv::platform {

// File attribute bits, numbered as the Windows attributes the user-facing rules speak of.
enum FileAttribute : unsigned
{
    AttrReadOnly = 1,
    AttrDirectory = 16,
    // Neither a regular file nor a folder (a device, a pipe, a socket): told only where
    // kAttributesTellFileKind holds.
    AttrNotFile = 64,
};

// Whether fileAttributes tells a regular file from a device or a pipe (AttrNotFile).
#ifdef _WIN32
inline constexpr bool kAttributesTellFileKind = false;
#else
inline constexpr bool kAttributesTellFileKind = true;
#endif

// Attributes of a file or folder; an error (53 file not found, ...) when they cannot be read.
// Outside Windows a file is read-only when its owner has no write permission.
Result<unsigned> fileAttributes(const std::string& path);

// fileAttributes for many paths in a row, as the read-only check asks: where the platform allows,
// each folder is opened once and its files are queried relative to it, which spares the walk of the
// whole path per file. Answers and errors are those of fileAttributes for the same path.
class AttributeReader
{
public:
    AttributeReader();
    ~AttributeReader();
    AttributeReader(const AttributeReader&) = delete;
    AttributeReader& operator=(const AttributeReader&) = delete;

    Result<unsigned> query(const std::string& path);

private:
    struct Folders;
    std::unique_ptr<Folders> m_folders;
};

// True when the process can create files in the folder.
bool isFolderWritable(const std::string& folder);

// The per-user settings folder ("~/.config/Quorvel", "%APPDATA%\Quorvel"); created on demand unless `create`
// is false (a check must leave the disk as it found it).
std::string userConfigFolder(bool create = true);
// The same folder, only named: nothing is created. Empty when the environment names none.
std::string userConfigFolderName();

// Folder of the running executable.
std::string executableFolder();

} // namespace qv::platform
