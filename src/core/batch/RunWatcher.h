#pragma once

#include "batch/RunSupervisor.h"

#include <cstddef>
#include <functional>
#include <string>

namespace qv {

// How the host of a watched run stands, as the platform sees its process.
enum class HostStatus
{
    Running,
    Exited,  // it ended with an exit status of its own, or after the watcher ended it
    Crashed, // a signal or an exception code ended it
};

// What the watcher needs from the world around it; every part is called from the watcher's own thread.
struct RunWatcherPorts
{
    // Writes the script for the openings first .. first + count - 1 and starts a host on it; false when no host
    // could be started (the reason was reported).
    std::function<bool(std::size_t first, std::size_t count)> startHost;
    std::function<HostStatus()> hostStatus;
    std::function<void()> endHost;
    std::function<bool(const std::string& path)> fileExists;
    std::function<double()> now; // seconds on a steady clock
    std::function<void(double seconds)> pause;
    // Called once per drawing as it reaches its final state, in the order they are settled.
    std::function<void(std::size_t drawing, const DrawingProgress& progress)> settled;
};

// The progress file the supervised script writes for an opening (numbered from 0): "drawing-1.begun" for the
// first one's beginning, "drawing-1.done" for its end.
std::string progressFilePath(const std::string& runFolder, std::size_t opening, bool done);

// Runs a watched run to its end: starts hosts as the supervisor asks, follows the progress files that the
// AutoLISP lines write into `runFolder`, the host's process and the clock, and ends a host that passes the
// timeout. Progress is always read before the host's exit, so a drawing finished just before the host quit
// counts as finished. False when the first host could not be started (nothing ran).
bool watchRun(RunSupervisor& supervisor, const std::string& runFolder, const RunWatcherPorts& ports,
              double pollSeconds = 0.05);

} // namespace qv
