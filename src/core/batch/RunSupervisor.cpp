#include "RunSupervisor.h"

#include "text/TextUtil.h"

#include <algorithm>

namespace qv {

namespace {

// The error line of a drawing whose host quit in the middle of it without a word.
constexpr std::string_view kQuitBeforeFinished = "The CAD program quit before the drawing was finished.";

} // namespace

std::string_view drawingStateName(DrawingState state)
{
    switch (state) {
    case DrawingState::Waiting:
        return "waiting";
    case DrawingState::Running:
        return "running";
    case DrawingState::Done:
        return "done";
    case DrawingState::Error:
        return "error";
    case DrawingState::Hung:
        return "hung";
    case DrawingState::Crashed:
        return "crashed";
    case DrawingState::NotReached:
        break;
    }
    return "not reached";
}

bool isFinal(DrawingState state)
{
    return state != DrawingState::Waiting && state != DrawingState::Running;
}

ProgressSignal progressSignalFor(std::string_view productCode)
{
    return toUpperAscii(productCode).starts_with("CADLT") ? ProgressSignal::LockFiles : ProgressSignal::AutoLispFiles;
}

RunSupervisor::RunSupervisor(SupervisorSettings settings) : m_settings(settings), m_drawings(settings.drawings) {}

std::vector<SupervisorAction> RunSupervisor::start(double at)
{
    std::vector<SupervisorAction> actions;
    if (m_hostStarts > 0 || m_finished)
        return actions;
    if (m_drawings.empty())
        finish(actions);
    else
        startHost(0, at, actions);
    return actions;
}

std::optional<double> RunSupervisor::deadline() const
{
    if (!m_hostRunning || m_endRequested || m_finished)
        return std::nullopt;
    return m_lastActivity + m_settings.timeoutSeconds;
}

std::optional<std::size_t> RunSupervisor::suspect() const
{
    if (m_current)
        return m_current;
    if (m_expected < m_rangeEnd && !isFinal(m_drawings[m_expected].state))
        return m_expected;
    return std::nullopt;
}

void RunSupervisor::startHost(std::size_t first, double at, std::vector<SupervisorAction>& actions)
{
    const std::size_t left = m_drawings.size() - first;
    const std::size_t count = m_settings.restartEvery == 0 ? left : std::min(left, m_settings.restartEvery);
    m_rangeEnd = first + count;
    m_expected = first;
    m_current.reset();
    m_lastActivity = at;
    m_settledThisHost = 0;
    m_hostRunning = true;
    m_endRequested = false;
    ++m_hostStarts;
    actions.push_back({SupervisorAction::Kind::StartHost, first, count});
}

void RunSupervisor::endHost(std::vector<SupervisorAction>& actions)
{
    if (!m_hostRunning || m_endRequested)
        return;
    m_endRequested = true;
    actions.push_back({SupervisorAction::Kind::EndHost, 0, 0});
}

void RunSupervisor::settle(std::size_t drawing, DrawingState state, double at)
{
    DrawingProgress& progress = m_drawings[drawing];
    if (isFinal(progress.state))
        return;
    progress.state = state;
    // One that hung or crashed on opening was never seen to begin: timed from the host's last sign of life.
    const double from = progress.begunAt >= 0.0 ? progress.begunAt : m_lastActivity;
    progress.seconds = std::max(0.0, at - from);
    ++m_settledThisHost;
    if (m_current == drawing)
        m_current.reset();
}

void RunSupervisor::finishCurrent(double at)
{
    if (!m_current)
        return;
    const std::size_t drawing = *m_current;
    settle(drawing, m_drawings[drawing].firstError.empty() ? DrawingState::Done : DrawingState::Error, at);
}

void RunSupervisor::finish(std::vector<SupervisorAction>& actions)
{
    if (m_finished)
        return;
    for (DrawingProgress& progress : m_drawings) {
        if (!isFinal(progress.state))
            progress.state = DrawingState::NotReached;
    }
    m_current.reset();
    m_finished = true;
    actions.push_back({SupervisorAction::Kind::Finish, 0, 0});
}

// The host is gone: blame it for the drawing it was on unless the supervisor ended it, then carry on with the
// first drawing still waiting.
void RunSupervisor::hostGone(double at, std::vector<SupervisorAction>& actions)
{
    m_hostRunning = false;
    m_endRequested = false;
    if (m_stopRequests > 0) {
        finish(actions);
        return;
    }
    const auto next = std::find_if(m_drawings.begin(), m_drawings.end(),
                                   [](const DrawingProgress& p) { return p.state == DrawingState::Waiting; });
    if (next == m_drawings.end() || m_settledThisHost == 0) {
        finish(actions);
        return;
    }
    startHost(static_cast<std::size_t>(next - m_drawings.begin()), at, actions);
}

std::vector<SupervisorAction> RunSupervisor::handle(const SupervisorEvent& event)
{
    using Kind = SupervisorEvent::Kind;
    std::vector<SupervisorAction> actions;
    if (m_finished)
        return actions;
    const bool known = event.drawing < m_drawings.size();
    switch (event.kind) {
    case Kind::HostStarted:
        if (m_hostRunning && !m_endRequested)
            m_lastActivity = event.at;
        break;
    case Kind::DrawingBegun: {
        if (!m_hostRunning || m_endRequested || !known || event.drawing >= m_rangeEnd ||
            isFinal(m_drawings[event.drawing].state))
            break;
        // A drawing begun while another runs: the host has moved on, so the other is over.
        if (m_current && *m_current != event.drawing)
            finishCurrent(event.at);
        DrawingProgress& progress = m_drawings[event.drawing];
        progress.state = DrawingState::Running;
        progress.begunAt = event.at;
        m_current = event.drawing;
        m_expected = std::max(m_expected, event.drawing + 1);
        m_lastActivity = event.at;
        break;
    }
    case Kind::DrawingFinished: {
        if (!m_hostRunning || !known || isFinal(m_drawings[event.drawing].state))
            break;
        DrawingProgress& progress = m_drawings[event.drawing];
        if (progress.begunAt < 0.0)
            progress.begunAt = m_lastActivity; // its beginning was not seen
        settle(event.drawing, progress.firstError.empty() ? DrawingState::Done : DrawingState::Error, event.at);
        m_expected = std::max(m_expected, event.drawing + 1);
        m_lastActivity = event.at;
        if (m_stopRequests > 0)
            endHost(actions);
        break;
    }
    case Kind::ErrorLine: {
        if (!known)
            break;
        DrawingProgress& progress = m_drawings[event.drawing];
        if (progress.firstError.empty())
            progress.firstError = event.text;
        if (progress.state == DrawingState::Done)
            progress.state = DrawingState::Error;
        break;
    }
    case Kind::HostExited:
    case Kind::HostCrashed: {
        if (!m_hostRunning)
            break;
        if (!m_endRequested) {
            if (event.kind == Kind::HostCrashed) {
                if (const auto drawing = suspect())
                    settle(*drawing, DrawingState::Crashed, event.at);
            } else if (m_current) {
                DrawingProgress& progress = m_drawings[*m_current];
                if (progress.firstError.empty())
                    progress.firstError = kQuitBeforeFinished;
                settle(*m_current, DrawingState::Error, event.at);
            }
        }
        hostGone(event.at, actions);
        break;
    }
    case Kind::TimeoutElapsed:
        if (!m_hostRunning || m_endRequested)
            break;
        if (const auto drawing = suspect()) {
            // A host that reported an error and then went quiet stopped at that error (a suspended script).
            settle(*drawing, m_drawings[*drawing].firstError.empty() ? DrawingState::Hung : DrawingState::Error,
                   event.at);
        }
        endHost(actions);
        break;
    case Kind::StopAsked:
        ++m_stopRequests;
        if (!m_hostRunning) {
            finish(actions);
            break;
        }
        if (m_stopRequests >= 2 && m_current)
            settle(*m_current, DrawingState::NotReached, event.at);
        if (m_stopRequests >= 2 || !m_current)
            endHost(actions);
        break;
    }
    return actions;
}

} // namespace qv
