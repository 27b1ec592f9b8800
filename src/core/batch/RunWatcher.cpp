#include "RunWatcher.h"

#include "text/Paths.h"

#include <vector>

namespace qv {

std::string progressFilePath(const std::string& runFolder, std::size_t opening, bool done)
{
    return joinPath(runFolder, "drawing-" + std::to_string(opening + 1) + (done ? ".done" : ".begun"));
}

namespace {

class Watcher
{
public:
    Watcher(RunSupervisor& supervisor, const std::string& runFolder, const RunWatcherPorts& ports)
        : m_supervisor(supervisor), m_runFolder(runFolder), m_ports(ports),
          m_reported(supervisor.drawings().size(), false)
    {}

    bool run(double pollSeconds)
    {
        const double began = m_ports.now();
        m_pending = m_supervisor.start(0.0);
        if (!act(began))
            return false;
        while (!m_supervisor.finished()) {
            m_ports.pause(pollSeconds);
            const double at = m_ports.now() - began;
            // The progress first, then the process, then the clock: a drawing that finished just before the host
            // quit or the deadline passed is counted as finished.
            readProgress(at);
            if (m_hostRunning) {
                const HostStatus status = m_ports.hostStatus();
                if (status != HostStatus::Running) {
                    readProgress(at);
                    m_hostRunning = false;
                    feed({status == HostStatus::Crashed ? SupervisorEvent::Kind::HostCrashed
                                                        : SupervisorEvent::Kind::HostExited,
                          0,
                          at,
                          {}});
                }
            }
            if (const auto deadline = m_supervisor.deadline(); deadline && at >= *deadline)
                feed({SupervisorEvent::Kind::TimeoutElapsed, 0, at, {}});
            if (!act(began))
                break;
        }
        reportSettled();
        return true;
    }

private:
    void feed(const SupervisorEvent& event)
    {
        for (SupervisorAction& action : m_supervisor.handle(event))
            m_pending.push_back(action);
        reportSettled();
    }

    // Carries out the supervisor's actions; false when the first host could not be started.
    bool act(double began)
    {
        while (!m_pending.empty()) {
            const SupervisorAction action = m_pending.front();
            m_pending.erase(m_pending.begin());
            switch (action.kind) {
            case SupervisorAction::Kind::StartHost: {
                const bool first = m_supervisor.hostStarts() == 1;
                m_cursor = action.first;
                m_begunSeen = false;
                const bool started = m_ports.startHost(action.first, action.count);
                const double at = m_ports.now() - began;
                if (!started && first)
                    return false;
                m_hostRunning = started;
                // A host that could not start settles nothing: the supervisor ends the run there.
                feed({started ? SupervisorEvent::Kind::HostStarted : SupervisorEvent::Kind::HostExited, 0, at, {}});
                break;
            }
            case SupervisorAction::Kind::EndHost:
                m_ports.endHost();
                break;
            case SupervisorAction::Kind::Finish:
                break;
            }
        }
        return true;
    }

    // The files are written in order, begun then done, drawing after drawing: follow them from the cursor.
    void readProgress(double at)
    {
        const std::size_t count = m_supervisor.drawings().size();
        while (m_cursor < count) {
            if (!m_begunSeen) {
                if (!m_ports.fileExists(progressFilePath(m_runFolder, m_cursor, false)))
                    return;
                m_begunSeen = true;
                feed({SupervisorEvent::Kind::DrawingBegun, m_cursor, at, {}});
            }
            if (!m_ports.fileExists(progressFilePath(m_runFolder, m_cursor, true)))
                return;
            feed({SupervisorEvent::Kind::DrawingFinished, m_cursor, at, {}});
            ++m_cursor;
            m_begunSeen = false;
        }
    }

    void reportSettled()
    {
        const auto& drawings = m_supervisor.drawings();
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            if (m_reported[i] || !isFinal(drawings[i].state))
                continue;
            // Not reached is known only once the run is over.
            if (drawings[i].state == DrawingState::NotReached && !m_supervisor.finished())
                continue;
            m_reported[i] = true;
            if (m_ports.settled)
                m_ports.settled(i, drawings[i]);
        }
    }

    RunSupervisor& m_supervisor;
    const std::string& m_runFolder;
    const RunWatcherPorts& m_ports;
    std::vector<bool> m_reported;
    std::vector<SupervisorAction> m_pending;
    std::size_t m_cursor = 0;
    bool m_begunSeen = false;
    bool m_hostRunning = false;
};

} // namespace

bool watchRun(RunSupervisor& supervisor, const std::string& runFolder, const RunWatcherPorts& ports, double pollSeconds)
{
    return Watcher(supervisor, runFolder, ports).run(pollSeconds);
}

} // namespace qv
