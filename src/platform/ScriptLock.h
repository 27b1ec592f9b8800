#pragma once

#include <string>

namespace qv::platform {

// The `probeForWriting` probe of the script writer: opens the path for output WITHOUT truncating it
// (creating it when missing) and closes it again. Returns 0 when the script can be written, else the
// error number: 70 when another process holds the file (a host still running it), 76 when the folder
// does not exist, 75, 52, 61 ... for other failures.
//
// Outside Windows, where nothing stops a write to an open file, "held" means that an exclusive,
// non-blocking flock(2) cannot be had: the host keeps a shared lock on the script while it runs.
int probeForWriting(const std::string& path);

} // namespace qv::platform
