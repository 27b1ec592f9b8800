#include "batch/RunWatcher.h"

#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace qv {
namespace {

// A host acted out on a clock of its own: one drawing a second, each as its letter in the plan says.
// "o" begun and done; "c" crashes the host on opening; "h" hangs it on opening; "q" begun, then the host quits.
// A range ended, the host exits by itself.
class SimulatedHost
{
public:
    SimulatedHost(std::string plan, int failingStart) : m_plan(std::move(plan)), m_failingStart(failingStart) {}

    RunWatcherPorts ports()
    {
        RunWatcherPorts ports;
        ports.startHost = [this](std::size_t first, std::size_t count) {
            if (++m_starts == m_failingStart)
                return false;
            m_next = first;
            m_end = first + count;
            m_nextAt = m_now + 1.0;
            m_status = HostStatus::Running;
            return true;
        };
        ports.hostStatus = [this] { return m_status; };
        ports.endHost = [this] {
            EXPECT_EQ(m_status, HostStatus::Running) << "only a running host is ended";
            m_status = HostStatus::Crashed;
        };
        ports.fileExists = [this](const std::string& path) { return m_files.contains(path); };
        ports.now = [this] { return m_now; };
        ports.pause = [this](double seconds) { advance(seconds); };
        ports.settled = [this](std::size_t drawing, const DrawingProgress&) { settled.push_back(drawing); };
        return ports;
    }

    std::vector<std::size_t> settled;
    double now() const { return m_now; }

private:
    void advance(double seconds)
    {
        m_now += seconds;
        while (m_status == HostStatus::Running && m_now >= m_nextAt)
            step();
    }

    void step()
    {
        m_nextAt += 1.0;
        if (m_next == m_end) {
            m_status = HostStatus::Exited;
            return;
        }
        const char what = m_plan[m_next];
        if (what == 'c') {
            m_status = HostStatus::Crashed;
            return;
        }
        if (what == 'h') {
            m_nextAt = std::numeric_limits<double>::infinity();
            return;
        }
        m_files.insert(progressFilePath("run", m_next, false));
        if (what == 'q') {
            m_status = HostStatus::Exited;
            return;
        }
        // The last drawing's done file and the host's exit land in the same poll: the drawing still counts.
        m_files.insert(progressFilePath("run", m_next, true));
        if (++m_next == m_end)
            m_status = HostStatus::Exited;
    }

    std::string m_plan;
    int m_failingStart;
    int m_starts = 0;
    double m_now = 0.0;
    double m_nextAt = 0.0;
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    HostStatus m_status = HostStatus::Exited;
    std::set<std::string> m_files;
};

std::string statesText(const RunSupervisor& supervisor)
{
    std::string text;
    for (const DrawingProgress& progress : supervisor.drawings())
        text += drawingStateName(progress.state).front();
    return text;
}

TEST(RunWatcher, FollowsTheHostThroughCrashesHangsAndRestarts)
{
    struct Case
    {
        const char* name;
        std::string plan;
        std::size_t restartEvery;
        int failingStart; // the host start that fails, 0 for none
        bool started;
        std::string states; // first letters: done, crashed, hung, error, not reached, waiting
        int hostStarts;
        double latestEnd; // seconds the run may take at most
    };
    const Case cases[] = {
        {"every drawing done", "oooo", 0, 0, true, "dddd", 1, 6},
        {"a crash, then the next", "oocoo", 0, 0, true, "ddcdd", 2, 8},
        {"a hang ended at the timeout", "ohoo", 0, 0, true, "dhdd", 2, 9},
        {"a crash and a hang", "ocoohoo", 0, 0, true, "dcddhdd", 3, 13},
        {"a host that quits mid-drawing", "oqo", 0, 0, true, "ded", 2, 6},
        {"restart every 2", "ooooo", 2, 0, true, "ddddd", 3, 10},
        {"restart every 2 with a crash", "ocooo", 2, 0, true, "dcddd", 3, 10},
        {"the first start fails", "oo", 0, 1, false, "ww", 1, 1},
        {"a restart fails", "ocoo", 0, 2, true, "dcnn", 2, 5},
        {"a crash on the first drawing", "coo", 0, 0, true, "cdd", 2, 6},
    };
    for (const Case& test : cases) {
        SimulatedHost host(test.plan, test.failingStart);
        const RunWatcherPorts ports = host.ports();
        RunSupervisor supervisor(SupervisorSettings{test.plan.size(), 3.0, test.restartEvery});
        EXPECT_EQ(watchRun(supervisor, "run", ports, 0.25), test.started) << test.name;
        EXPECT_EQ(statesText(supervisor), test.states) << test.name;
        EXPECT_EQ(supervisor.hostStarts(), test.hostStarts) << test.name;
        EXPECT_LE(host.now(), test.latestEnd) << test.name;
        // Each drawing is told once, when final.
        std::set<std::size_t> told(host.settled.begin(), host.settled.end());
        EXPECT_EQ(told.size(), host.settled.size()) << test.name;
        EXPECT_EQ(told.size(), test.started ? test.plan.size() : 0) << test.name;
    }
}

} // namespace
} // namespace qv
