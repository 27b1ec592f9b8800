#include "CommandLine.h"

#include "text/TextUtil.h"

namespace qv {

CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineRequest request;
    std::string listFile;
    bool optionsEnded = false;
    auto refuse = [&request](std::string problem) {
        if (request.action == CommandLineAction::Refuse)
            return;
        request.action = CommandLineAction::Refuse;
        request.problem = std::move(problem);
    };
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            CommandLineRequest only;
            only.action = CommandLineAction::Help;
            return only;
        }
        if (!optionsEnded && argument == "--version") {
            CommandLineRequest only;
            only.action = CommandLineAction::Version;
            return only;
        }
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument == "--unattended") {
            request.unattended = true;
            continue;
        }
        if (!optionsEnded && argument == "--check") {
            request.check = true;
            continue;
        }
        if (!optionsEnded && argument == "--wait") {
            request.wait = true;
            continue;
        }
        if (!optionsEnded && (argument == "--timeout" || argument == "--restart-every")) {
            const bool timeout = argument == "--timeout";
            const std::string value = at + 1 < arguments.size() ? arguments[++at] : std::string();
            // Whole numbers only: a timeout of "2s" or "-1" is a typing slip, not a setting to guess at.
            const bool digits =
                !value.empty() && value.size() <= 9 && value.find_first_not_of("0123456789") == std::string::npos;
            const long number = digits ? std::stol(value) : -1;
            if (!digits || (timeout && number < 1)) {
                refuse(argument + (timeout ? " needs a whole number of seconds, 1 or more"
                                           : " needs a whole number of drawings, 0 for never"));
                continue;
            }
            if (timeout)
                request.timeoutSeconds = static_cast<double>(number);
            else
                request.restartEvery = static_cast<std::size_t>(number);
            continue;
        }
        if (!optionsEnded && argument.starts_with("--")) {
            refuse("unknown option " + argument);
            continue;
        }
        if (!listFile.empty())
            listFile += ' ';
        listFile += argument;
    }
    request.listFile = std::string(trimSpaces(listFile));
    if (request.action == CommandLineAction::Run && request.unattended && request.listFile.empty()) {
        request.action = CommandLineAction::Refuse;
        request.problem = "--unattended needs the drawing list file to run";
    }
    if (request.action == CommandLineAction::Run && request.check && request.listFile.empty()) {
        request.action = CommandLineAction::Refuse;
        request.problem = "--check needs the drawing list file to check";
    }
    if (request.action == CommandLineAction::Run && request.wait && (request.check || request.listFile.empty())) {
        request.action = CommandLineAction::Refuse;
        request.problem = request.check ? "--wait runs the list; it cannot be combined with --check"
                                        : "--wait needs the drawing list file to run";
    }
    if (request.action == CommandLineAction::Run && !request.wait && (request.timeoutSeconds || request.restartEvery)) {
        request.action = CommandLineAction::Refuse;
        request.problem = "--timeout and --restart-every apply to a watched run: add --wait";
    }
    return request;
}

std::string usageText()
{
    return "Usage: quorvel [--unattended] [LIST.qvl]\n"
           "       quorvel --wait [--timeout SECONDS] [--restart-every N] LIST.qvl\n"
           "       quorvel --check LIST.qvl\n"
           "       quorvel --help | --version\n"
           "\n"
           "Without a list file Quorvel opens its main window. Given the path of a saved drawing list\n"
           "(.qvl), it retrieves the list, writes the batch script, starts the CAD program on it without\n"
           "asking, and ends.\n"
           "\n"
           "Options:\n"
           "  --unattended  run the list without any window even when a display is present: every\n"
           "                message goes to standard error and its default answer is taken\n"
           "  --check       check the list instead of running it: the script is built as a start would\n"
           "                build it and run through a model of the CAD program's prompts; one line per\n"
           "                drawing (OK, a warning, an error, or not reached when the CAD program would\n"
           "                stop reading the script before it) and a summary go to standard output. Exit\n"
           "                status 0 without errors (warnings allowed), 1 with errors or drawings not\n"
           "                reached, 2 when the list could not be checked.\n"
           "                No display is needed and no CAD program is started.\n"
           "  --wait        run the list and watch the CAD program drawing by drawing: a drawing that\n"
           "                crashes it or passes the timeout is marked, the program is ended and started\n"
           "                again from the next drawing. One line per drawing as it finishes (drawing,\n"
           "                state, first error line) and a summary go to standard output, and a report\n"
           "                (Report.csv) to the run's folder inside the script folder. Exit status 0\n"
           "                when every drawing is done, 1 when any failed or was not reached, 2 when the\n"
           "                run could not start. No display is needed: messages go to standard error.\n"
           "  --timeout SECONDS      with --wait: seconds one drawing may take (default 300)\n"
           "  --restart-every N      with --wait: start the CAD program afresh every N drawings\n"
           "                         (default 0: never)\n"
           "  -h, --help    show this text and exit\n"
           "  --version     show the version and exit\n"
           "\n"
           "Exit status: 0 the CAD program was started (or help and version were shown); 1 it was not\n"
           "started, for the reason reported; 2 the command line could not be used, or there is no\n"
           "display and no list file.\n"
           "\n"
           "Settings: Quorvel.ini in the folder named by QV_Locate.ini beside the program, else in the\n"
           "program folder, else (when the program folder cannot be written) in ~/.config/Quorvel\n"
           "(%APPDATA%\\Quorvel on Windows).\n";
}

std::string versionText(std::string_view version)
{
    return "Quorvel " + std::string(version) + "\n";
}

} // namespace qv
