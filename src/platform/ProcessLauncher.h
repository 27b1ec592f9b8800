#pragma once

#include <string>

namespace qv::platform {

// Success value returned by shellExecuteOpen where the system gives no value of its own.
inline constexpr int kShellExecuteStarted = 42;

// Starts `file` with `parameters` the way ShellExecuteA(no owner, "open", file, parameters,
// directory, showCode) does and returns its result: 33 or more when the program started, else the
// shell-execute error code (2 file not found, 3 path not found, 5 access denied, 8 out of memory,
// 11 not an executable, ...). The program is not waited for and outlives the caller.
//
// Outside Windows the parameters are split into arguments by the Windows quoting rules and the
// executable is started directly (no shell) in a session of its own. A directory that is empty or a
// single space means the current folder; the show code has no effect there.
//
// A script that writeClaimedScript wrote and still holds goes to the program started next (outside Windows
// as its descriptor 3, with the script's lock), so the script stays held as long as that program runs.
// The program gets none of our standard streams.
int shellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                     int showCode);

// How many programs started by shellExecuteOpen in this process are still running.
int runningHosts();

// A host started as shellExecuteOpen starts it, whose process this program keeps, so that a watched run can
// ask whether it still runs, how it ended, and end it.
class WatchedHost
{
public:
    enum class State
    {
        NotStarted,
        Running,
        ExitedNormally,   // it returned an exit status of its own
        ExitedAbnormally, // a signal (POSIX) or an exception code (Windows) ended it
    };

    WatchedHost() = default;
    WatchedHost(const WatchedHost&) = delete;
    WatchedHost& operator=(const WatchedHost&) = delete;
    // A host still running when its watcher goes is left running.
    ~WatchedHost();

    // As shellExecuteOpen, with the same result codes; a host still watched is let go first.
    int start(const std::string& file, const std::string& parameters, const std::string& directory, int showCode);
    // Never waits.
    State poll();
    // Ends the host at once (SIGKILL, TerminateProcess) and collects it.
    void end();

private:
    void release();

    State m_state = State::NotStarted;
#ifdef _WIN32
    void* m_process = nullptr;
#else
    int m_pid = 0;
#endif
};

} // namespace qv::platform
