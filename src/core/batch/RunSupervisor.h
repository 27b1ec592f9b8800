#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Where a watched run stands with one drawing. The first two are passing states; the others are final.
enum class DrawingState
{
    Waiting,
    Running,
    Done,
    Error,      // the host reported an error line for it, or quit before it finished
    Hung,       // no sign of progress within the timeout: the host was ended
    Crashed,    // the host ended abnormally while on it
    NotReached, // the run ended (Stop, or a host that made no progress) before it was done
};

// "waiting", "running", "done", "error", "hung", "crashed", "not reached": the words of the run's report.
std::string_view drawingStateName(DrawingState state);

bool isFinal(DrawingState state);

// How a watcher learns where the host is.
enum class ProgressSignal
{
    AutoLispFiles, // AutoLISP lines in the script write a file in the run folder before and after each drawing
    LockFiles,     // no AutoLISP: the lock file the host keeps beside the open drawing, and the process itself
};

// The products with AutoLISP (the full products, BricsCAD, ZWCAD) use its files; the AutoCAD LT codes, whose
// releases before 2024 have no AutoLISP, use the lock files.
ProgressSignal progressSignalFor(std::string_view productCode);

inline constexpr double kDefaultDrawingTimeoutSeconds = 300.0;

struct SupervisorSettings
{
    std::size_t drawings = 0;                              // openings in the run, numbered from 0
    double timeoutSeconds = kDefaultDrawingTimeoutSeconds; // per drawing, and for a host to reach its first one
    std::size_t restartEvery = 0;                          // drawings per host start; 0 means one host for all
};

// What the platform layer saw. Times are seconds since the run began, from one steady clock. The platform reports
// what the progress signal shows before it reports the host's exit, so a drawing finished just before the host
// quit counts as finished.
struct SupervisorEvent
{
    enum class Kind
    {
        HostStarted,
        DrawingBegun,
        DrawingFinished,
        ErrorLine, // a line the host reported as an error while on `drawing`
        HostExited,
        HostCrashed, // ended abnormally (a signal, an exception code), not by the supervisor's own request
        TimeoutElapsed,
        StopAsked,
    };
    Kind kind = Kind::HostStarted;
    std::size_t drawing = 0;
    double at = 0.0;
    std::string text;
};

// What the platform layer must do next.
struct SupervisorAction
{
    enum class Kind
    {
        StartHost, // write a script for drawings first .. first + count - 1 and start a host on it
        EndHost,   // end the running host now
        Finish,    // the run is over: write the report
    };
    Kind kind = Kind::Finish;
    std::size_t first = 0;
    std::size_t count = 0;

    bool operator==(const SupervisorAction&) const = default;
};

struct DrawingProgress
{
    DrawingState state = DrawingState::Waiting;
    std::string firstError; // the first error line the host gave for it
    double seconds = 0.0;   // from its beginning to its end
    double begunAt = -1.0;
};

// The watched run as a state machine: events in, per-drawing states and actions for the platform out. It never
// waits and never reads a clock, so every sequence can be replayed in a test.
//
// Each host start takes a range of drawings: all of them, or restartEvery at a time (the script of a range
// quits the host at its end, so a restart never interrupts a drawing). A hang ends the host; a hang or a crash
// marks the drawing and starts a host on the next one. A host start that settles no drawing ends the run, with
// the drawings left marked not reached, so a host that cannot start never loops.
class RunSupervisor
{
public:
    explicit RunSupervisor(SupervisorSettings settings);

    std::vector<SupervisorAction> start(double at);
    std::vector<SupervisorAction> handle(const SupervisorEvent& event);

    const std::vector<DrawingProgress>& drawings() const { return m_drawings; }
    int hostStarts() const { return m_hostStarts; }
    int hostRestarts() const { return m_hostStarts > 0 ? m_hostStarts - 1 : 0; }
    bool finished() const { return m_finished; }
    // When the platform must report TimeoutElapsed if nothing happens before; nullopt while no host is waited on.
    std::optional<double> deadline() const;
    // The drawing the host is on, if any.
    std::optional<std::size_t> current() const { return m_current; }

private:
    void startHost(std::size_t first, double at, std::vector<SupervisorAction>& actions);
    void endHost(std::vector<SupervisorAction>& actions);
    void settle(std::size_t drawing, DrawingState state, double at);
    void finishCurrent(double at);
    void hostGone(double at, std::vector<SupervisorAction>& actions);
    void finish(std::vector<SupervisorAction>& actions);
    // The drawing the host is on, or the one it should open next within its range.
    std::optional<std::size_t> suspect() const;

    SupervisorSettings m_settings;
    std::vector<DrawingProgress> m_drawings;
    std::size_t m_rangeEnd = 0;
    std::size_t m_expected = 0;
    std::optional<std::size_t> m_current;
    double m_lastActivity = 0.0;
    int m_hostStarts = 0;
    int m_stopRequests = 0;
    int m_settledThisHost = 0;
    bool m_hostRunning = false;
    bool m_endRequested = false;
    bool m_finished = false;
};

} // namespace qv
