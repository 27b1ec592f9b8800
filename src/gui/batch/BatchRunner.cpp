#include "BatchRunner.h"

#include "FileSystem.h"
#include "ProcessLauncher.h"
#include "ScriptLock.h"
#include "app/BusyCursor.h"
#include "app/Program.h"
#include "app/mdiStart.h"
#include "batch/DrawingListModel.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/frmReadOnlyDwg.h"
#include "config/Settings.h"
#include "routines/RoutineCatalogue.h"
#include "routines/clsRadomAccess.h"

#include <QApplication>

namespace qv {
namespace {

ShellExecuteService& ShellExecuteHook()
{
    static ShellExecuteService service = [](const LaunchRequest& request) {
        return platform::ShellExecuteOpen(request.file, request.parameters, request.directory, request.showCode);
    };
    return service;
}

ScriptProbe& ProbeHook()
{
    static ScriptProbe probe = [](const std::string& path) { return platform::FileIsOpen(path); };
    return probe;
}

} // namespace

void BatchRunner::SetShellExecute(ShellExecuteService service)
{
    ShellExecuteHook() = std::move(service);
}

void BatchRunner::SetScriptProbe(ScriptProbe probe)
{
    ProbeHook() = std::move(probe);
}

BatchRunner::BatchRunner(mdiStart& window) : m_window(window) {}

bool BatchRunner::CheckReadOnly()
{
    ReadOnlyScan scan;
    {
        BusyCursor busy;
        scan = FindReadOnlyDrawings(m_window.drawingList()->rows(),
                                    [](const std::string& path) { return platform::GetFileAttributes(path); });
    }
    m_readOnlyRows = std::move(scan.rowIsReadOnly);
    if (scan.error) {
        Dialogs().message(*scan.error);
        return false;
    }
    if (scan.readOnly.empty())
        return true;
    frmReadOnlyDwg window(scan.readOnly, m_window.readOnlyDecision, &m_window);
    window.Run();
    return ReadOnlyDecisionAllowsRun(m_window.readOnlyDecision.toStdString());
}

bool BatchRunner::CheckFileAssigned()
{
    if (const auto message = qv::CheckFileAssigned(m_window.drawingList()->rows())) {
        Dialogs().message(*message);
        return false;
    }
    return true;
}

ScriptInputs BatchRunner::gatherInputs(const QString& sequenceText) const
{
    const ProgramState& program = Program();
    ScriptInputs inputs;
    inputs.rows = m_window.drawingList()->rows();
    inputs.scriptFolder = GetBatchAddress(program.ini, program.scriptFolder);
    inputs.openCommand = GetStartOption(program.ini);
    inputs.sequenceText = sequenceText.toStdString();
    inputs.combinedScript = program.CombinedScript;

    // The routines as the database holds them now.
    auto records = clsRadomAccess(program.ini, program.databaseFolder).GetAllRecords();
    auto catalogue = std::make_shared<RoutineList>();
    if (records)
        *catalogue = std::move(records.value().routines);
    else
        ShowError(records.error(), kRoutineGetAllRecords);
    inputs.routineText = [catalogue](const std::string& description) {
        return GetRoutineByDescription(*catalogue, description).text;
    };
    // The check that runs first has just read every drawing's attributes.
    inputs.readOnlyRows = m_readOnlyRows;
    return inputs;
}

bool BatchRunner::StartProcess(bool confirm, const QString& sequenceText)
{
    return run(confirm, sequenceText);
}

bool BatchRunner::CommandLineRun(const QString& sequenceText)
{
    return run(false, sequenceText);
}

bool BatchRunner::run(bool confirm, const QString& sequenceText)
{
    if (!CheckReadOnly() || !CheckFileAssigned())
        return false;
    m_window.productCode = GetAcadVer(Program().ini);
    if (confirm && Dialogs().message(ConfirmStartMessage()) != MessageAnswer::Ok)
        return false;

    ScriptResult result;
    {
        BusyCursor busy;
        const ScriptInputs inputs = gatherInputs(sequenceText);
        const ScriptWriterKind kind = ChooseScriptWriter(confirm, m_window.productCode);
        result = WriteBatchScript(inputs, kind, ProbeHook(), [](const UserMessage& message) {
            return Dialogs().message(message);
        });
    }
    m_window.scriptPath = result.path;
    for (const UserMessage& message : result.messages)
        Dialogs().message(message);
    if (result.resetStartup)
        m_window.MnuStartupReset_Click();
    if (!result.launch)
        return false;
    return StartAutoCAD();
}

bool BatchRunner::StartAutoCAD()
{
    const ProgramState& program = Program();
    LaunchSettings settings;
    settings.executable = GetAcadAddress(program.ini);
    settings.windowState = GetWindowState(program.ini);
    settings.startOption = GetStartupSwitchOption(program.ini);
    settings.switchText = GetStartupSwitch_Text(program.ini);
    if (const auto failure = qv::StartAutoCAD(settings, m_window.scriptPath, ShellExecuteHook())) {
        Dialogs().message(*failure);
        return false;
    }
    return true;
}

} // namespace qv
