#include "BatchRunner.h"

#include "FileSystem.h"
#include "ProcessLauncher.h"
#include "ScriptLock.h"
#include "app/BusyCursor.h"
#include "app/Program.h"
#include "app/mdiStart.h"
#include "batch/DrawingListModel.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/frmReadOnlyDwg.h"
#include "config/Settings.h"
#include "routines/RoutineCatalogue.h"
#include "routines/clsRadomAccess.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <algorithm>

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
        platform::AttributeReader reader;
        scan = FindReadOnlyDrawings(m_window.drawingList()->rows(),
                                    [&reader](const std::string& path) { return reader.query(path); });
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

std::optional<BatchCheckReport> BatchRunner::CheckBatch(const QString& sequenceText, bool collate, bool progress)
{
    if (m_window.drawingList()->rows().empty()) {
        Dialogs().show("There are no drawings in the list", "Check Batch", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!CheckFileAssigned() || !CheckRoutinesPresent())
        return std::nullopt;
    const std::string product = GetAcadVer(Program().ini);
    {
        // Start would ask about read-only drawings; the check answers as a user who goes on would.
        BusyCursor busy;
        platform::AttributeReader reader;
        const ReadOnlyScan scan = FindReadOnlyDrawings(
            m_window.drawingList()->rows(), [&reader](const std::string& path) { return reader.query(path); });
        if (scan.error) {
            Dialogs().message(*scan.error);
            return std::nullopt;
        }
        m_readOnlyRows = scan.rowIsReadOnly;
    }
    BatchCheckOptions options;
    options.productCode = product;
    options.rowIsReadOnly = m_readOnlyRows;
    // The printers of this machine are devices the host would know.
    for (const QString& printer : QPrinterInfo::availablePrinterNames())
        options.devices.push_back(printer.toStdString());

    std::unique_ptr<QProgressDialog> window;
    if (progress) {
        window = std::make_unique<QProgressDialog>(QStringLiteral("Checking the batch against the CAD host's prompts..."),
                                                   QStringLiteral("Stop"), 0, 1000, &m_window);
        window->setObjectName(QStringLiteral("prgCheck"));
        window->setWindowTitle(QStringLiteral("Check Batch"));
        window->setWindowModality(Qt::WindowModal);
        window->setMinimumDuration(300);
        options.keepGoing = [&window](std::size_t line, std::size_t lines) {
            if (line % 2000 == 0) {
                window->setValue(static_cast<int>(line * 1000 / std::max<std::size_t>(lines, 1)));
                QCoreApplication::processEvents();
            }
            return !window->wasCanceled();
        };
    }
    Result<BatchCheckReport> report = Error{};
    {
        BusyCursor busy;
        const ScriptInputs inputs = gatherInputs(sequenceText, collate);
        Result<ScriptText> script = BuildScript(inputs, ChooseScriptWriter(true, product));
        if (!script) {
            Dialogs().message(ScriptWriterErrorMessage(ScriptWriterKind::General, script.error(), 0));
            return std::nullopt;
        }
        report = CheckBatchScript(script.value().bytes, inputs.rowsToWrite(), options);
    }
    if (!report) {
        Dialogs().show(report.error().description, "Check Batch", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(report.value());
}

bool BatchRunner::CheckFileAssigned()
{
    if (const auto message = qv::CheckFileAssigned(m_window.drawingList()->rows())) {
        Dialogs().message(*message);
        return false;
    }
    return true;
}

bool BatchRunner::CheckRoutinesPresent()
{
    const ProgramState& program = Program();
    auto records = clsRadomAccess(program.ini, program.databaseFolder).GetAllRecords();
    if (!records) {
        // Without the database every routine would reach the script empty.
        ShowError(records.error(), kRoutineGetAllRecords);
        return false;
    }
    auto catalogue = std::make_shared<IndexedRoutines>(std::move(records.value().routines));
    const auto missing = FindMissingRoutines(m_window.drawingList()->rows(), catalogue->index, program.combinationMade);
    m_catalogue = std::move(catalogue);
    if (!missing.empty()) {
        Dialogs().message(MissingRoutinesBeforeRunMessage(missing));
        return false;
    }
    return true;
}

ScriptInputs BatchRunner::gatherInputs(const QString& sequenceText, bool collate) const
{
    const ProgramState& program = Program();
    ScriptInputs inputs;
    inputs.rowsInPlace = &m_window.drawingList()->rows();
    inputs.scriptFolder = GetBatchAddress(program.ini, program.scriptFolder);
    inputs.openCommand = GetStartOption(program.ini);
    inputs.sequenceText = sequenceText.toStdString();
    inputs.collate = collate;
    inputs.combinedScript = program.CombinedScript;
    inputs.routineText = [catalogue = m_catalogue](const std::string& description) {
        return catalogue ? catalogue->index.lookup(description).text : std::string();
    };
    // The check that runs first has just read every drawing's attributes.
    inputs.readOnlyRows = m_readOnlyRows;
    return inputs;
}

bool BatchRunner::StartProcess(bool confirm, const QString& sequenceText, bool collate)
{
    return run(confirm, sequenceText, collate, false);
}

bool BatchRunner::CommandLineRun(const QString& sequenceText, bool collate)
{
    return run(false, sequenceText, collate, true);
}

bool BatchRunner::run(bool confirm, const QString& sequenceText, bool collate, bool commandLine)
{
    if (!CheckReadOnly() || !CheckFileAssigned() || !CheckRoutinesPresent())
        return false;
    m_window.productCode = GetAcadVer(Program().ini);
    if (confirm && Dialogs().message(ConfirmStartMessage()) != MessageAnswer::Ok)
        return false;

    ScriptResult result;
    ScriptInputs inputs;
    {
        BusyCursor busy;
        inputs = gatherInputs(sequenceText, collate);
        const ScriptWriterKind kind = ChooseScriptWriter(confirm, m_window.productCode);
        // A run from the command line has nobody to redo the start-up sequence, and a default answer
        // must never change the settings: the invalid folder is reported instead of asked about.
        const AskUser ask = [commandLine, &inputs](const UserMessage& question) {
            if (!commandLine)
                return Dialogs().message(question);
            Dialogs().message(ScriptFolderInvalidMessage(inputs.scriptFolder));
            return MessageAnswer::Cancel;
        };
        result = WriteBatchScript(inputs, kind, ProbeHook(), ask);
    }
    m_window.scriptPath = result.path;
    for (const UserMessage& message : result.messages)
        Dialogs().message(message);
    if (result.resetStartup && !commandLine)
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
