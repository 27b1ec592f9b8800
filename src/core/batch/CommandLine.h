#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// What the program's command line asks for.
enum class CommandLineAction
{
    Run,     // open the main window, or run the list file when one is named
    Help,    // print the usage text, exit 0
    Version, // print the version, exit 0
    Refuse,  // print the problem and the usage text, exit 2
};

struct CommandLineRequest
{
    CommandLineAction action = CommandLineAction::Run;
    std::string listFile;    // the drawing list to run; empty for none
    bool unattended = false; // no windows even with a display
    bool check = false;      // check the list against the CAD host's prompts instead of running it
    std::string problem;     // why the command line was refused
    // Watch the run to its end: one line per drawing and a summary, exit status by the drawings' results.
    bool wait = false;
    std::optional<double> timeoutSeconds;    // --timeout: seconds a drawing may take
    std::optional<std::size_t> restartEvery; // --restart-every: drawings per host start, 0 for one host
};

// Reads the arguments after the program name. "-h"/"--help" and "--version" win over everything
// else; "--unattended" runs the list without windows; any other argument starting with "--" is
// refused rather than taken for a file. "--wait" watches the run; "--timeout SECONDS" and "--restart-every N"
// take the next argument as their value and need "--wait". The remaining arguments, joined by spaces and trimmed, are
// the list file (so an unquoted path with spaces still arrives whole); "--" ends the options.
CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help: the list-file argument, the options, the exit statuses, where settings live.
std::string usageText();

// The line of --version.
std::string versionText(std::string_view version);

} // namespace qv
