#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace qv::platform {

// Makes every file write of the core (writeFileAtomically, the write-ahead copies of WriteAhead.h) use the
// functions below. Called once at start-up, before the first file is written.
void installSafeWrites();

// Replaces a file's bytes, whole-old or whole-new after a kill or a power loss at any instant, keeping the
// file's identity. A symbolic link is followed to the file it names (a link to nothing creates that file).
// The new bytes are written to a temporary file beside the target, forced to the disk, given the target's
// owner, group and mode, and renamed over the target; the folder is then forced to the disk. Where a new
// file cannot take the target's place without changing what the target is (several hard links, an owner or
// group this process cannot give a new file, a folder that takes no new file) the file is rewritten in place
// through a write-ahead copy (rewriteFileInPlace). A read-only file is refused (70). Temporary files that a
// killed save of the same file left are removed first; those of a save still running are left alone.
Status replaceFileSafely(const std::string& path, std::string_view bytes);

// Forces a file's written bytes and size, or a folder's entries, to the disk.
Status syncToDisk(const std::string& path);

} // namespace qv::platform
