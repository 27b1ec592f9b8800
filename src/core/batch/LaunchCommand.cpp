#include "LaunchCommand.h"

#include "batch/WindowsCommandLine.h"
#include "config/CadProducts.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

namespace qv {
namespace {

constexpr std::string_view kSupportLine = "If the problem persists please e-mail support@quorvel.example";

std::string joinLines(std::initializer_list<std::string_view> lines, std::string_view lineBreak)
{
    std::string text;
    bool first = true;
    for (const auto line : lines) {
        if (!first)
            text += lineBreak;
        text += line;
        first = false;
    }
    return text;
}

} // namespace

std::optional<UserMessage> checkEveryDrawingAssigned(const DrawingRows& rows)
{
    constexpr std::size_t kShown = 20;
    const std::string lineBreak(kCrLf);
    std::vector<const DrawingRow*> unassigned;
    for (const DrawingRow& row : rows) {
        if (row.routine.empty())
            unassigned.push_back(&row);
    }
    if (unassigned.empty())
        return std::nullopt;
    std::string text = "Please Assign a Routine To All Files" + lineBreak + lineBreak;
    text += unassigned.size() == 1 ? std::string("This drawing has no routine:")
                                   : "These " + std::to_string(unassigned.size()) + " drawings have no routine:";
    for (std::size_t i = 0; i < unassigned.size() && i < kShown; ++i)
        text += lineBreak + joinPath(unassigned[i]->folder, unassigned[i]->file);
    if (unassigned.size() > kShown)
        text += lineBreak + "... and " + std::to_string(unassigned.size() - kShown) + " more.";
    text += lineBreak + lineBreak +
            "Select them in the list, choose a routine and press \"Assign Routine to Files\", then start again.";
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

namespace {

// Whether a row's routine needs the database at all; nullopt when it does.
std::optional<bool> presentWithoutDatabase(const std::string& routine, bool combinationExists)
{
    if (routine == kCombinedRoutines)
        return combinationExists;
    if (equalsIgnoreCaseAscii(routine, kConvertDxfR14))
        return true;
    return std::nullopt;
}

// The rows whose routine present(i) denies, grouped by routine in order of first appearance.
template <typename Present> std::vector<MissingRoutine> collectMissing(const DrawingRows& rows, Present present)
{
    std::vector<MissingRoutine> missing;
    std::unordered_map<std::string_view, std::size_t> missingAt; // views into the rows, which outlive this call
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DrawingRow& row = rows[i];
        if (row.routine.empty() || present(i))
            continue;
        const auto [entry, added] = missingAt.try_emplace(std::string_view(row.routine), missing.size());
        if (added)
            missing.push_back({row.routine, {}});
        missing[entry->second].drawings.push_back(row.file);
    }
    return missing;
}

} // namespace

std::vector<MissingRoutine> findMissingRoutines(const DrawingRows& rows, const RoutineIndex& index,
                                                bool combinationExists)
{
    std::vector<unsigned char> found(rows.size());
    index.containsEach(
        rows.size(), [&rows](std::size_t i) { return std::string_view(rows[i].routine); },
        [&found](std::size_t i, bool present) { found[i] = present; });
    return collectMissing(rows, [&](std::size_t i) {
        return presentWithoutDatabase(rows[i].routine, combinationExists).value_or(found[i] != 0);
    });
}

UserMessage missingRoutinesBeforeRunMessage(const std::vector<MissingRoutine>& missing)
{
    constexpr std::size_t kRoutinesShown = 10;
    constexpr std::size_t kDrawingsShown = 5;
    std::string text = "These routines are no longer in the routine database, so the batch has not been started:";
    text += kCrLf;
    for (std::size_t i = 0; i < missing.size() && i < kRoutinesShown; ++i) {
        const MissingRoutine& entry = missing[i];
        text += kCrLf;
        text += "\"" + entry.routine + "\", used by ";
        for (std::size_t d = 0; d < entry.drawings.size() && d < kDrawingsShown; ++d) {
            if (d > 0)
                text += ", ";
            text += entry.drawings[d];
        }
        if (entry.drawings.size() > kDrawingsShown)
            text += " and " + std::to_string(entry.drawings.size() - kDrawingsShown) + " more drawings";
    }
    if (missing.size() > kRoutinesShown) {
        text += kCrLf;
        text += "... and " + std::to_string(missing.size() - kRoutinesShown) + " more routines.";
    }
    text += kCrLf;
    text += kCrLf;
    text += "Assign a routine from the routine list to these drawings, then start again.";
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage scriptFolderInvalidMessage(std::string_view scriptFolder)
{
    std::string text = "The location for the Batch.scr file is not valid:";
    text += kCrLf;
    text += scriptFolder;
    text += kCrLf;
    text += kCrLf;
    text += "The batch has not been started. Set the script folder in Quorvel's options, or reset the "
            "Quorvel startup sequence from the File menu, then run the list again.";
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage confirmStartMessage()
{
    // Every line ends with a line feed alone.
    std::string text = "WARNING\n"
                       "The operation is about to begin. You are responsible for the results \n"
                       "you are about to initiate on your files. Always make sure your code \n"
                       "operates as you expect it to before continuing.\n"
                       "\n"
                       "Please remember once the drawing file is closed you cannot undo\n"
                       "saved changes. Always keep backups of your drawing files.\n"
                       "\n";
    return UserMessage{std::move(text), "Confirm Starting Acad", MessageIcon::None, MessageButtons::OkCancel};
}

ScriptWriterKind chooseScriptWriter(bool confirm, std::string_view productCode)
{
    if (confirm)
        return ScriptWriterKind::General;
    if (isBricscad(productCode))
        return ScriptWriterKind::Bricscad;
    if (isZwcad(productCode))
        return ScriptWriterKind::Zwcad;
    return ScriptWriterKind::General;
}

int showCodeFor(std::string_view windowState)
{
    if (windowState == "Minimized")
        return ShowMinimized;
    if (windowState == "Maximised")
        return ShowMaximized;
    return ShowNormal;
}

std::string buildLaunchParameters(std::string_view startOption, std::string_view switchText,
                                  std::string_view scriptPath)
{
    std::string parameters;
    if (startOption == "YesSwitch") {
        parameters += switchText;
        parameters += " ";
    }
    // Quoted by the command-line rules the host splits with, so a folder holding a double quote
    // (possible outside Windows) still reaches the host as one argument, unchanged.
    parameters += "/b ";
    parameters += quoteWindowsArgument(scriptPath);
    return parameters;
}

std::optional<UserMessage> checkSwitchText(std::string_view startOption, std::string_view switchText)
{
    if (startOption != "YesSwitch" || !endsInsideQuotes(switchText))
        return std::nullopt;
    std::string text = "The startup switch text has a double quote that is not closed, so the host would take "
                       "\"/b\" and the script path as part of that switch:";
    text += kCrLf;
    text += switchText;
    text += kCrLf;
    text += kCrLf;
    text += "The CAD program has not been started. Close the quote in the switch text in Quorvel's options, "
            "then start again.";
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

LaunchRequest buildLaunchRequest(const LaunchSettings& settings, const std::string& scriptPath)
{
    LaunchRequest request;
    request.file = settings.executable;
    request.parameters = buildLaunchParameters(settings.startOption, settings.switchText, scriptPath);
    request.showCode = showCodeFor(settings.windowState);
    return request;
}

std::string_view shellExecuteErrorText(int result)
{
    switch (result) {
    case 2:
        return "File not found";
    case 3:
        return "Path not found";
    case 5:
        return "Access denied";
    case 8:
        return "Out of memory";
    case 11:
        return "Invalid EXE file or error in EXE image";
    case 26:
        return "A sharing violation occurred";
    case 27:
        return "Incomplete or invalid file association";
    case 28:
        return "DDE Time out";
    case 29:
        return "DDE transaction failed";
    case 30:
        return "DDE busy";
    case 31:
        return "No association for file extension";
    case 32:
        return "DLL not found";
    default:
        return "Unknown error";
    }
}

namespace {

// What to do about a start that failed, by the launcher's code.
std::string_view launchAdvice(int result)
{
    switch (result) {
    case 3:
        return "The folder of this program does not exist. Choose the CAD program again under Options, Properties "
               "(Program Executable, Browse).";
    case 5:
        return "Quorvel is not allowed to run this file. Check its permissions, or choose the CAD program itself "
               "under Options, Properties.";
    case 8:
        return "There was not enough memory to start it. Close other programs and start the batch again.";
    case 11:
        return "This file is not a program that can be started. Choose the CAD program itself under Options, "
               "Properties.";
    default:
        return "Check the Program Executable and the Startup Switches under Options, Properties, then start the "
               "batch again.";
    }
}

} // namespace

std::optional<UserMessage> launchFailureMessage(int result, const LaunchRequest& request)
{
    if (result >= kShellExecuteFirstSuccess)
        return std::nullopt;
    const std::string_view errorText = shellExecuteErrorText(result);
    const std::string program = "The CAD program: " + request.file;
    std::string text;
    if (result == 2) {
        const std::string lastLine = "11.  " + std::string(kSupportLine);
        text = joinLines(
            {
                "Error message File Not Found",
                "",
                "There is no such file: " + request.file,
                "",
                "It seems Quorvel has lost the location of the AutoCAD.exe file. To solve this:",
                "",
                "1.    Start Quorvel",
                "2.    From the Main Screen click on the Options menu",
                "3.    Click on Properties",
                "4.    Click the Browse button next to the Program Executable address text window.",
                "5.    Locate your CAD package executable file.  e.g. C:\\Program Files\\AutoCAD 2002\\Acad.exe or",
                "       for AutoCAD Lite e.g. C:\\Program Files\\AutoCAD LT 2002 \\Aclt.exe",
                "6.    Click on the Program File",
                "7.    Press Open This also returns you to the Properties screen",
                "8.    Press Apply",
                "9.    Press Okay to return to the Main Menu",
                "10.  Restart Quorvel and try again.",
                lastLine,
            },
            kCrLf);
    } else {
        const std::string firstLine = "Error Message " + std::string(errorText) + " in routine StartAutoCAD ";
        const std::string started = "It was started on: " + request.parameters;
        text = joinLines({firstLine, "", program, started, "", launchAdvice(result), "", kSupportLine, "",
                          "with the details of this message. This is important", "", "Thank You."},
                         kCrLf);
    }
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

std::optional<UserMessage> startHost(const LaunchSettings& settings, const std::string& scriptPath,
                                     const ShellExecuteService& shellExecute)
{
    if (auto refusal = checkSwitchText(settings.startOption, settings.switchText))
        return refusal;
    const LaunchRequest request = buildLaunchRequest(settings, scriptPath);
    return launchFailureMessage(shellExecute(request), request);
}

} // namespace qv
