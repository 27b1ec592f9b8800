#include "batch/RunSupervisor.h"

#include <cctype>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace qv {
namespace {

using Kind = SupervisorEvent::Kind;

// One event in a line of text: "b2@5" drawing 2 begun at 5 s, "f2@9" finished, "e2:text" an error line,
// "x@9" the host exited, "c@9" it crashed, "t@9" the timeout elapsed, "s@9" Stop, "h@1" host started.
SupervisorEvent parseEvent(const std::string& text)
{
    constexpr std::string_view kLetters = "bfexcts";
    constexpr Kind kKinds[] = {Kind::DrawingBegun, Kind::DrawingFinished, Kind::ErrorLine, Kind::HostExited,
                               Kind::HostCrashed,  Kind::TimeoutElapsed,  Kind::StopAsked};
    SupervisorEvent event;
    const std::size_t letter = kLetters.find(text[0]);
    event.kind = letter == std::string_view::npos ? Kind::HostStarted : kKinds[letter];
    const std::size_t colon = text.find(':');
    const std::size_t atSign = text.find('@');
    if (colon != std::string::npos)
        event.text = text.substr(colon + 1);
    if (text.size() > 1 && std::isdigit(static_cast<unsigned char>(text[1])))
        event.drawing = std::stoul(text.substr(1));
    if (atSign != std::string::npos && colon == std::string::npos)
        event.at = std::stod(text.substr(atSign + 1));
    return event;
}

std::string actionText(const SupervisorAction& action)
{
    if (action.kind == SupervisorAction::Kind::StartHost)
        return "S" + std::to_string(action.first) + "+" + std::to_string(action.count);
    return action.kind == SupervisorAction::Kind::EndHost ? "E" : "F";
}

struct Replay
{
    std::string actions; // every action, in order, separated by spaces
    std::string states;  // each drawing's state, separated by commas
};

Replay replay(RunSupervisor& supervisor, const std::string& events)
{
    Replay out;
    const auto add = [&out](const std::vector<SupervisorAction>& actions) {
        for (const SupervisorAction& action : actions)
            out.actions += (out.actions.empty() ? "" : " ") + actionText(action);
    };
    add(supervisor.start(0.0));
    std::istringstream in(events);
    for (std::string word; in >> word;)
        add(supervisor.handle(parseEvent(word)));
    for (const DrawingProgress& drawing : supervisor.drawings())
        out.states += (out.states.empty() ? "" : ",") + std::string(drawingStateName(drawing.state));
    return out;
}

struct Case
{
    const char* name;
    std::size_t drawings;
    std::size_t restartEvery;
    const char* events;
    const char* actions;
    const char* states;
    int hostStarts;
};

TEST(RunSupervisor, ReplaysEventSequencesIntoStatesAndActions)
{
    const Case cases[] = {
        {"all done", 3, 0, "h@0 b0@1 f0@2 b1@2 f1@3 b2@3 f2@4 x@5", "S0+3 F", "done,done,done", 1},
        {"empty list", 0, 0, "", "F", "", 0},
        {"an error line marks the drawing, the run goes on", 2, 0, "b0@1 e0:Unknown_command f0@2 b1@2 f1@3 x@4",
         "S0+2 F", "error,done", 1},
        {"an error line after the drawing finished still counts", 2, 0, "b0@1 f0@2 e0:late b1@2 f1@3 x@4", "S0+2 F",
         "error,done", 1},
        {"crash on a drawing: restart on the next", 3, 0, "b0@1 f0@2 b1@2 c@3 b2@4 f2@5 x@6", "S0+3 S2+1 F",
         "done,crashed,done", 2},
        {"crash while opening the next drawing blames it", 3, 0, "b0@1 f0@2 c@3 b2@4 f2@5 x@6", "S0+3 S2+1 F",
         "done,crashed,done", 2},
        {"hang: timeout ends the host, then restart", 3, 0, "b0@1 f0@2 b1@2 t@302 x@303 b2@304 f2@305 x@306",
         "S0+3 E S2+1 F", "done,hung,done", 2},
        {"timeout after an error line: the script stopped at the error", 2, 0,
         "b0@1 e0:;_error:_bad t@301 x@302 b1@303 f1@304 x@305", "S0+2 E S1+1 F", "error,done", 2},
        {"a host that never reaches its first drawing", 2, 0, "h@0 t@300 x@301 t@601 x@602", "S0+2 E S1+1 E F",
         "hung,hung", 2},
        {"a host that settles nothing ends the run", 2, 0, "b0@1 f0@2 x@3 x@4", "S0+2 S1+1 F", "done,not reached", 2},
        {"quit in the middle of a drawing is an error", 2, 0, "b0@1 x@2 b1@3 f1@4 x@5", "S0+2 S1+1 F", "error,done", 2},
        {"restart every 2", 5, 2, "b0@1 f0@2 b1@2 f1@3 x@4 b2@5 f2@6 b3@6 f3@7 x@8 b4@9 f4@10 x@11", "S0+2 S2+2 S4+1 F",
         "done,done,done,done,done", 3},
        {"a drawing outside the host's range is ignored", 3, 1, "b0@1 b1@1 f0@2 x@3 b1@4 f1@5 x@6 b2@7 f2@8 x@9",
         "S0+1 S1+1 S2+1 F", "done,done,done", 3},
        {"stop ends after the current drawing", 3, 0, "b0@1 s@1.5 f0@2 x@3", "S0+3 E F", "done,not reached,not reached",
         1},
        {"stop between drawings ends at once", 3, 0, "b0@1 f0@2 s@2.5 x@3", "S0+3 E F", "done,not reached,not reached",
         1},
        {"stop twice ends at once", 3, 0, "b0@1 s@1.5 s@1.6 x@2", "S0+3 E F", "not reached,not reached,not reached", 1},
        {"events after the run finished change nothing", 1, 0, "b0@1 f0@2 x@3 b0@4 c@5", "S0+1 F", "done", 1},
        {"a begin while another runs finishes the other", 3, 0, "b0@1 b1@2 f1@3 b2@3 f2@4 x@5", "S0+3 F",
         "done,done,done", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunSupervisor supervisor({c.drawings, 300.0, c.restartEvery});
        const Replay result = replay(supervisor, c.events);
        EXPECT_EQ(result.actions, c.actions);
        EXPECT_EQ(result.states, c.states);
        EXPECT_EQ(supervisor.hostStarts(), c.hostStarts);
        EXPECT_TRUE(supervisor.finished());
    }
}

TEST(RunSupervisor, KeepsTimesErrorsAndTheDeadline)
{
    RunSupervisor supervisor({3, 10.0, 0});
    supervisor.start(0.0);
    EXPECT_EQ(supervisor.deadline(), 10.0); // the host's start-up is timed too
    supervisor.handle(parseEvent("b0@2"));
    EXPECT_EQ(supervisor.deadline(), 12.0);
    EXPECT_EQ(supervisor.current(), 0u);
    supervisor.handle(parseEvent("e0:first"));
    supervisor.handle(parseEvent("e0:second"));
    supervisor.handle(parseEvent("f0@5.5"));
    EXPECT_EQ(supervisor.deadline(), 15.5); // closing one drawing and opening the next is timed
    supervisor.handle(parseEvent("b1@6"));
    EXPECT_TRUE(supervisor.handle(parseEvent("t@16")).size() == 1);
    EXPECT_EQ(supervisor.deadline(), std::nullopt); // ended: nothing more to time until the next start
    supervisor.handle(parseEvent("x@17"));

    const auto& drawings = supervisor.drawings();
    EXPECT_EQ(drawings[0].firstError, "first");
    EXPECT_DOUBLE_EQ(drawings[0].seconds, 3.5);
    EXPECT_EQ(drawings[1].state, DrawingState::Hung);
    EXPECT_DOUBLE_EQ(drawings[1].seconds, 10.0);
    EXPECT_EQ(supervisor.hostRestarts(), 1);
    EXPECT_EQ(supervisor.deadline(), 27.0);
    // A drawing that hangs on opening is never seen to begin: it is timed from the host's start.
    supervisor.handle(parseEvent("t@27"));
    EXPECT_EQ(drawings[2].state, DrawingState::Hung);
    EXPECT_DOUBLE_EQ(drawings[2].seconds, 10.0);
}

TEST(RunSupervisor, ChoosesTheProgressSignalByProduct)
{
    for (const char* code : {"Cad2018", "Cad13", "Bricscad", "ZWCAD", "cad2004"})
        EXPECT_EQ(progressSignalFor(code), ProgressSignal::AutoLispFiles) << code;
    for (const char* code : {"CadLT2018", "CadLT98", "cadlt2004"})
        EXPECT_EQ(progressSignalFor(code), ProgressSignal::LockFiles) << code;
}

} // namespace
} // namespace qv
