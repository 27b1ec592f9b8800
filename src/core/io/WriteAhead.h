#pragma once

#include "Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Changes made to a file in place (a routine record, or a whole file whose name must stay the same inode)
// that survive a kill at any instant. The change is first written, with a checksum, to a write-ahead copy
// and forced to the disk; only then is the file itself written, forced to the disk, and the copy removed.
// A kill before the copy is whole leaves the file untouched (a torn copy fails its checksum and is dropped);
// a kill after it leaves a copy that the next access through finishPendingWrite applies again, so the file
// reads as wholly new. The copy lives beside the file ("<name>.qvwal"), where every program that opens the
// file finds it, or, when the file's folder takes no new file, in the private folder of the installed
// FileSystemWrites, named for the file's full path.

// Writes bytes at offset of an existing file. newSize, when given, is the file's size afterwards (a whole
// rewrite that may shrink it); otherwise the file grows only as far as the bytes reach. A change that
// another access left unfinished is completed first; when that fails, nothing is written.
Status writeFileRange(const std::string& path, std::uintmax_t offset, std::string_view bytes,
                      std::optional<std::uintmax_t> newSize = std::nullopt);

// Rewrites an existing file's bytes in place, as writeFileRange: for a file that is written where it is
// (several hard links, an owner that a new file could not have, a folder that takes no new file).
Status rewriteFileInPlace(const std::string& path, std::string_view bytes);

// Completes a change that a killed writeFileRange left in a write-ahead copy, then removes the copy. No
// copy, or a torn one (dropped), is success. Readers call it before they read the file.
Status finishPendingWrite(const std::string& path);

// The write-ahead copy beside a file, and the one in the private folder (empty without one).
std::string writeAheadPathBeside(const std::string& path);
std::string writeAheadPathPrivate(const std::string& path);

} // namespace qv
