#pragma once

#include "Message.h"
#include "batch/DrawingRow.h"
#include "batch/ScriptWriter.h"
#include "routines/RoutineCatalogue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Show codes of the shell-execute service.
enum ShowCode : int
{
    ShowNormal = 1,
    ShowMinimized = 2,
    ShowMaximized = 3,
};

// Results of the shell-execute service: 33 or more is success, anything else an error code.
inline constexpr int kShellExecuteFirstSuccess = 33;

// The settings `startHost` reads.
struct LaunchSettings
{
    std::string executable;  // readCadExecutable, used as it stands
    std::string windowState; // readHostWindowState: "Normal", "Minimized" or "Maximised"
    std::string startOption; // readStartupSwitchOption: "YesSwitch" puts the switch text first
    std::string switchText;  // readStartupSwitchText
};

// One call of the shell-execute service: verb "open", no owner window.
struct LaunchRequest
{
    std::string file;
    std::string parameters;
    std::string directory = " "; // a single space: no folder of its own
    int showCode = ShowNormal;

    bool operator==(const LaunchRequest&) const = default;
};

// Starts a program as the shell-execute service does and returns its result.
using ShellExecuteService = std::function<int(const LaunchRequest&)>;

// `checkEveryDrawingAssigned`: nullopt when every row has a routine (an empty list included), else the
// message to show, naming the drawings without one (the first 20, then how many more); nothing may be
// written or started then.
std::optional<UserMessage> checkEveryDrawingAssigned(const DrawingRows& rows);

// A routine that a run could not find, with the drawings that carry it (file names, in list order).
struct MissingRoutine
{
    std::string routine;
    std::vector<std::string> drawings;

    bool operator==(const MissingRoutine&) const = default;
};

// The routines of the rows that are no longer in the database (deleted or renamed since they were
// assigned), looked up in an index of the database, in order of first appearance. "Combined Routines..."
// counts as present only while a combination exists in this run; the DXF conversion needs no database
// entry. Rows without a routine are left to checkEveryDrawingAssigned.
std::vector<MissingRoutine> findMissingRoutines(const DrawingRows& rows, const RoutineIndex& index,
                                                bool combinationExists);

// The one message that names the missing routines and their drawings; the run does not start.
UserMessage missingRoutinesBeforeRunMessage(const std::vector<MissingRoutine>& missing);

// A run from the command line whose script folder does not exist: reported, and the settings are
// left alone (nobody is there to redo the start-up sequence).
UserMessage scriptFolderInvalidMessage(std::string_view scriptFolder);

// The question asked before a run started by hand; OK goes on.
UserMessage confirmStartMessage();

// The writer for a run: a run confirmed by hand always uses the general writer; the timer and the
// command line choose by product code.
ScriptWriterKind chooseScriptWriter(bool confirm, std::string_view productCode);

// "Normal" 1, "Minimized" 2, "Maximised" 3, anything else 1.
int showCodeFor(std::string_view windowState);

// The host's parameters: "/b" and the quoted script path, after the switch text when the start
// option is exactly "YesSwitch". The path is quoted by the Windows command-line rules, so the split
// of the parameters gives back the switch text's arguments, "/b" and the path, unless the switch
// text leaves a quote open (checkSwitchText refuses that).
std::string buildLaunchParameters(std::string_view startOption, std::string_view switchText,
                                  std::string_view scriptPath);

// The message when the switch text is used and leaves a double quote open (it would swallow "/b"
// and the script path); nullopt otherwise.
std::optional<UserMessage> checkSwitchText(std::string_view startOption, std::string_view switchText);

LaunchRequest buildLaunchRequest(const LaunchSettings& settings, const std::string& scriptPath);

// The text of a shell-execute error code ("Unknown error" for codes without one).
std::string_view shellExecuteErrorText(int result);

// The message for a failed start, naming the program and what it was started on and saying what to do;
// nullopt when the result is a success.
std::optional<UserMessage> launchFailureMessage(int result, const LaunchRequest& request);

// `startHost`: starts the host on the script through the service; the message to show when the
// start failed or was refused (checkSwitchText; the service is then not called).
std::optional<UserMessage> startHost(const LaunchSettings& settings, const std::string& scriptPath,
                                     const ShellExecuteService& shellExecute);

} // namespace qv
