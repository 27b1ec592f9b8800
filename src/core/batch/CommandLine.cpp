#include "CommandLine.h"

#include "text/TextUtil.h"

namespace qv {

CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineRequest request;
    std::string listFile;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && (argument == "-h" || argument == "--help"))
            return CommandLineRequest{CommandLineAction::Help, {}, false, false, {}};
        if (!optionsEnded && argument == "--version")
            return CommandLineRequest{CommandLineAction::Version, {}, false, false, {}};
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
        if (!optionsEnded && argument.starts_with("--") && request.action != CommandLineAction::Refuse) {
            request.action = CommandLineAction::Refuse;
            request.problem = "unknown option " + argument;
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
    return request;
}

std::string usageText()
{
    return "Usage: quorvel [--unattended] [LIST.qvl]\n"
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
