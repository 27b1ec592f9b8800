#include "batch/CommandLine.h"

#include <gtest/gtest.h>
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

TEST(CommandLine, UsageNamesTheArgumentTheStatusesAndTheSettings)
{
    const std::string usage = usageText();
    for (const char* part : {"quorvel [--unattended] [LIST.qvl]", "--version", "-h, --help", "Exit status: 0",
                             "; 1 it was not", "; 2 the command line", "QV_Locate.ini", "~/.config/Quorvel"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    EXPECT_EQ(versionText("25.0"), "Quorvel 25.0\n");
}

} // namespace
} // namespace qv
