#pragma once

#include "Result.h"

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace qv {

// Maps a system error to the error numbers users see (53, 70, 75, 76, 61, ...).
int ErrorNumberFor(const std::error_code& code);
Error ErrorFor(const std::error_code& code, const std::string& path);

// Reads a whole file as bytes. A missing file is ErrFileNotFound, a folder ErrPathFileAccess.
// The file's bytes handed to `block` a block at a time (at most blockSize bytes each), with the errors of
// ReadFileBytes; for files too large to hold whole beside what is made of them.
Status ReadFileInBlocks(const std::string& path, std::size_t blockSize,
                        const std::function<void(std::string_view block)>& block);
Result<std::string> ReadFileBytes(const std::string& path);

// Replaces the file with the bytes: writes a temporary file beside it, flushes it and renames it
// into place, so a failure at any step leaves the old file whole. The folder must exist.
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);

} // namespace qv
