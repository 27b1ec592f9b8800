#include "batch/CommandLine.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace qv {
namespace {

TEST(CommandLine, ReadsTheArgumentsAsACommandLineToolDoes)
{
    using A = CommandLineAction;
    // arguments, action, listFile, unattended, problem
    const std::tuple<std::vector<std::string>, A, std::string, bool, std::string> cases[] = {
        {{}, A::Run, "", false, ""},
        {{"   "}, A::Run, "", false, ""},
        {{"/jobs/list.qvl"}, A::Run, "/jobs/list.qvl", false, ""},
        {{"/jobs/my", "list.qvl"}, A::Run, "/jobs/my list.qvl", false, ""},
        {{"\"/a b/list.qvl\""}, A::Run, "\"/a b/list.qvl\"", false, ""},
        {{"--unattended", "/jobs/list.qvl"}, A::Run, "/jobs/list.qvl", true, ""},
        {{"/jobs/list.qvl", "--unattended"}, A::Run, "/jobs/list.qvl", true, ""},
        {{"--help"}, A::Help, "", false, ""},
        {{"-h"}, A::Help, "", false, ""},
        {{"/jobs/list.qvl", "--help"}, A::Help, "", false, ""},
        {{"--frob", "--help"}, A::Help, "", false, ""},
        {{"--version"}, A::Version, "", false, ""},
        {{"--frob"}, A::Refuse, "", false, "unknown option --frob"},
        {{"--help=all"}, A::Refuse, "", false, "unknown option --help=all"},
        {{"--unattended"}, A::Refuse, "", true, "--unattended needs the drawing list file to run"},
        {{"--", "--odd name.qvl"}, A::Run, "--odd name.qvl", false, ""},
        {{"-x.qvl"}, A::Run, "-x.qvl", false, ""},
    };
    for (const auto& [arguments, action, listFile, unattended, problem] : cases) {
        const CommandLineRequest request = parseCommandLine(arguments);
        const std::string shown = arguments.empty() ? "(none)" : arguments.front();
        EXPECT_EQ(request.action, action) << shown;
        if (action == A::Run) {
            EXPECT_EQ(request.listFile, listFile) << shown;
        }
        EXPECT_EQ(request.unattended, unattended) << shown;
        EXPECT_EQ(request.problem, problem) << shown;
    }
}

TEST(CommandLine, ReadsTheWatchOptionsAndRefusesWhatCannotBeWatched)
{
    using A = CommandLineAction;
    const std::optional<double> noTimeout;
    const std::optional<std::size_t> noRestart;
    // arguments, action, wait, timeout, restart every, problem
    const std::tuple<std::vector<std::string>, A, bool, std::optional<double>, std::optional<std::size_t>, std::string>
        cases[] = {
            {{"--wait", "l.qvl"}, A::Run, true, noTimeout, noRestart, ""},
            {{"--wait", "--timeout", "2", "--restart-every", "5", "l.qvl"}, A::Run, true, 2.0, 5, ""},
            {{"l.qvl", "--restart-every", "0", "--wait"}, A::Run, true, noTimeout, 0, ""},
            {{"--wait"}, A::Refuse, true, noTimeout, noRestart, "--wait needs the drawing list file to run"},
            {{"--wait", "--check", "l.qvl"},
             A::Refuse,
             true,
             noTimeout,
             noRestart,
             "--wait runs the list; it cannot be combined with --check"},
            {{"--timeout", "5", "l.qvl"},
             A::Refuse,
             false,
             5.0,
             noRestart,
             "--timeout and --restart-every apply to a watched run: add --wait"},
            {{"--wait", "--timeout", "0", "l.qvl"},
             A::Refuse,
             true,
             noTimeout,
             noRestart,
             "--timeout needs a whole number of seconds, 1 or more"},
            {{"--wait", "--timeout", "2s", "l.qvl"},
             A::Refuse,
             true,
             noTimeout,
             noRestart,
             "--timeout needs a whole number of seconds, 1 or more"},
            {{"--wait", "l.qvl", "--restart-every"},
             A::Refuse,
             true,
             noTimeout,
             noRestart,
             "--restart-every needs a whole number of drawings, 0 for never"},
            {{"--wait", "--restart-every", "-1", "l.qvl"},
             A::Refuse,
             true,
             noTimeout,
             noRestart,
             "--restart-every needs a whole number of drawings, 0 for never"},
        };
    for (const auto& [arguments, action, wait, timeout, restartEvery, problem] : cases) {
        const CommandLineRequest request = parseCommandLine(arguments);
        const std::string shown = arguments.back();
        EXPECT_EQ(request.action, action) << shown;
        EXPECT_EQ(request.wait, wait) << shown;
        EXPECT_EQ(request.timeoutSeconds, timeout) << shown;
        EXPECT_EQ(request.restartEvery, restartEvery) << shown;
        EXPECT_EQ(request.problem, problem) << shown;
        if (action == A::Run) {
            EXPECT_EQ(request.listFile, "l.qvl") << shown;
        }
    }
}

TEST(CommandLine, UsageNamesTheArgumentTheStatusesAndTheSettings)
{
    const std::string usage = usageText();
    for (const char* part : {"quorvel [--unattended] [LIST.qvl]", "--version", "-h, --help", "Exit status: 0",
                             "; 1 it was not", "; 2 the command line", "QV_Locate.ini", "~/.config/Quorvel",
                             "--wait [--timeout SECONDS] [--restart-every N] LIST.qvl"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    EXPECT_EQ(versionText("25.0"), "Quorvel 25.0\n");
}

} // namespace
} // namespace qv
