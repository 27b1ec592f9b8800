#pragma once

#include "Result.h"

#include <functional>
#include <string>
#include <string_view>

namespace qv::platform {

// Opens the path for output WITHOUT truncating it (creating it when missing) and closes it again.
// Returns 0 when the script could be written, else the error number: 70 when another process holds
// the file (a host still running it), 76 when the folder does not exist, 75, 52, 61 ... for other
// failures. Outside Windows, where nothing stops a write to an open file, "held" means that an
// exclusive, non-blocking flock(2) cannot be had: a host keeps a shared lock on its script.
int probeForWriting(const std::string& path);

// One batch per script: the script writer's probe in a run. Claims the path for this run and keeps it
// claimed: 0 when this run may write the script there, else the error number as probeForWriting gives it
// (70 for a script that a host, or another run, holds). Nothing is created or changed.
//
// Outside Windows, runs in one script folder take turns (a lock on the folder, waited for at most a
// while), and a script that a host holds is never replaced. A symbolic link in place of the script is no
// script: it is replaced by the new script, and whatever it points to is left alone.
int claimScript(const std::string& path);

// Writes the script at the path claimed last: a new file beside it, complete before it is moved into place
// over the old one, so a failure (a full disk) leaves the previous script whole and no host ever reads a
// half-written one. `produce` hands the bytes over piece by piece. Outside Windows the new script is held
// (a shared lock) from before it appears until the host started next has it (see shellExecuteOpen), so a
// second run never takes it for free in between.
Status writeClaimedScript(const std::string& path,
                          const std::function<void(const std::function<void(std::string_view)>& put)>& produce);

// Ends this run's claim: the folder is free for the next run, and a script that no host was started on is
// no longer held. Harmless when nothing is claimed.
void releaseScriptClaim();

// The written script's handle for the next host to start, handed over (the caller closes it); -1 when
// there is none. Used by the launcher only.
int takeHeldScript();

} // namespace qv::platform
