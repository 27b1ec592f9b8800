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

// Replaces the file with the bytes: writes a temporary file beside it, flushes it and renames it
// into place, so a failure at any step leaves the old file whole. The folder must exist.
// Where the system refuses to replace a file that another program holds open (Windows, when that program
// did not allow deletion) but lets it be written, the bytes go into the file itself, as the system's own
// settings writer does; the file is first grown to its new size, so a full disk stops the write before
// any old byte is overwritten.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);

} // namespace qv
