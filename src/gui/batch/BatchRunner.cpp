#include "BatchRunner.h"

#include "FileSystem.h"
#include "ProcessLauncher.h"
#include "ScriptLock.h"
#include "app/BusyCursor.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/DrawingListModel.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ReadOnlyDrawingsDialog.h"
#include "builders/PlotDevices.h"
#include "config/Settings.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <algorithm>

namespace qv {
namespace {

ShellExecuteService& shellExecuteHook()
{
    static ShellExecuteService service = [](const LaunchRequest& request) {
        return platform::shellExecuteOpen(request.file, request.parameters, request.directory, request.showCode);
    };
    return service;
}

ScriptProbe& scriptProbeHook()
{
    static ScriptProbe probe = [](const std::string& path) { return platform::probeForWriting(path); };
    return probe;
}

} // namespace

void BatchRunner::setShellExecute(ShellExecuteService service)
{
    shellExecuteHook() = std::move(service);
}

void BatchRunner::setScriptProbe(ScriptProbe probe)
{
    scriptProbeHook() = std::move(probe);
}

BatchRunner::BatchRunner(MainWindow& window) : m_mainWindow(window) {}

bool BatchRunner::checkReadOnlyDrawings()
{
    ReadOnlyScan scan;
    {
        BusyCursor busy;
        platform::AttributeReader reader;
        scan = findReadOnlyDrawings(m_mainWindow.drawingList()->rows(),
                                    [&reader](const std::string& path) { return reader.query(path); });
    }
    m_readOnlyRows = std::move(scan.rowIsReadOnly);
    if (scan.error) {
        userDialogs().message(*scan.error);
        return false;
    }
    if (scan.readOnly.empty())
        return true;
    ReadOnlyDrawingsDialog window(scan.readOnly, m_mainWindow.m_readOnlyDecision, &m_mainWindow);
    window.askDecision();
    return readOnlyDecisionAllowsRun(m_mainWindow.m_readOnlyDecision.toStdString());
}

std::optional<BatchCheckReport> BatchRunner::checkBatch(const QString& sequenceText, bool collate, CheckFrom from)
{
    const bool progress = from == CheckFrom::Window;
    if (m_mainWindow.drawingList()->rows().empty()) {
        userDialogs().show("There are no drawings in the list", "Check Batch", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!checkRoutinesAssigned() || !checkRoutinesPresent())
        return std::nullopt;
    const std::string product = readProductCode(programState().settings);
    {
        // Start would ask about read-only drawings; the check answers as a user who goes on would.
        BusyCursor busy;
        platform::AttributeReader reader;
        const ReadOnlyScan scan = findReadOnlyDrawings(
            m_mainWindow.drawingList()->rows(), [&reader](const std::string& path) { return reader.query(path); });
        if (scan.error) {
            userDialogs().message(*scan.error);
            return std::nullopt;
        }
        m_readOnlyRows = scan.rowIsReadOnly;
    }
    BatchCheckOptions options;
    options.productCode = product;
    options.rowIsReadOnly = m_readOnlyRows;
    // The printers of this machine, and the plotter configurations the routine editor offers from the
    // configured folder, are devices the host would know.
    for (const QString& printer : QPrinterInfo::availablePrinterNames())
        options.devices.push_back(printer.toStdString());
    for (const PlotDevice& configuration : listPlotterConfigDevices(programState().settings))
        options.devices.push_back(configuration.name);

    std::unique_ptr<QProgressDialog> window;
    if (progress) {
        window =
            std::make_unique<QProgressDialog>(QStringLiteral("Checking the batch against the CAD host's prompts..."),
                                              QStringLiteral("Stop"), 0, 1000, &m_mainWindow);
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
        Result<ScriptText> script = buildScript(inputs, chooseScriptWriter(progress, product));
        if (!script) {
            userDialogs().message(scriptWriterErrorMessage(ScriptWriterKind::General, script.error(), 0));
            return std::nullopt;
        }
        report = checkBatchScript(script.value().bytes, inputs.rowsToWrite(), options);
    }
    if (!report) {
        userDialogs().show(report.error().description, "Check Batch", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(report.value());
}

bool BatchRunner::checkRoutinesAssigned()
{
    if (const auto message = qv::checkEveryDrawingAssigned(m_mainWindow.drawingList()->rows())) {
        userDialogs().message(*message);
        return false;
    }
    return true;
}

bool BatchRunner::checkRoutinesPresent()
{
    const ProgramState& program = programState();
    auto records = RoutineDatabase(program.settings, program.databaseFolder).readAll();
    if (!records) {
        // Without the database every routine would reach the script empty.
        showError(records.error(), kRoutineGetAllRecords);
        return false;
    }
    auto catalogue = std::make_shared<IndexedRoutines>(std::move(records.value().routines));
    const auto missing =
        findMissingRoutines(m_mainWindow.drawingList()->rows(), catalogue->index, program.combinationMade);
    m_catalogue = std::move(catalogue);
    if (!missing.empty()) {
        userDialogs().message(missingRoutinesBeforeRunMessage(missing));
        return false;
    }
    return true;
}

ScriptInputs BatchRunner::gatherInputs(const QString& sequenceText, bool collate) const
{
    const ProgramState& program = programState();
    ScriptInputs inputs;
    inputs.rowsInPlace = &m_mainWindow.drawingList()->rows();
    inputs.scriptFolder = readScriptFolder(program.settings, program.scriptFolder);
    inputs.openCommand = readOpenCommand(program.settings);
    inputs.sequenceText = sequenceText.toStdString();
    inputs.collate = collate;
    inputs.combinedScript = program.combinedScript;
    inputs.routineText = [catalogue = m_catalogue](const std::string& description) {
        return catalogue ? catalogue->index.lookup(description).text : std::string();
    };
    // The check that runs first has just read every drawing's attributes.
    inputs.readOnlyRows = m_readOnlyRows;
    return inputs;
}

bool BatchRunner::startBatch(bool confirm, const QString& sequenceText, bool collate)
{
    return run(confirm, sequenceText, collate, false);
}

bool BatchRunner::runFromCommandLine(const QString& sequenceText, bool collate)
{
    return run(false, sequenceText, collate, true);
}

bool BatchRunner::run(bool confirm, const QString& sequenceText, bool collate, bool commandLine)
{
    if (!checkReadOnlyDrawings() || !checkRoutinesAssigned() || !checkRoutinesPresent())
        return false;
    m_mainWindow.m_productCode = readProductCode(programState().settings);
    if (confirm && userDialogs().message(confirmStartMessage()) != MessageAnswer::Ok)
        return false;

    ScriptResult result;
    ScriptInputs inputs;
    {
        BusyCursor busy;
        inputs = gatherInputs(sequenceText, collate);
        const ScriptWriterKind kind = chooseScriptWriter(confirm, m_mainWindow.m_productCode);
        // A run from the command line has nobody to redo the start-up sequence, and a default answer
        // must never change the settings: the invalid folder is reported instead of asked about.
        const AskUser ask = [commandLine, &inputs](const UserMessage& question) {
            if (!commandLine)
                return userDialogs().message(question);
            userDialogs().message(scriptFolderInvalidMessage(inputs.scriptFolder));
            return MessageAnswer::Cancel;
        };
        result = writeBatchScript(inputs, kind, scriptProbeHook(), ask);
    }
    m_mainWindow.m_scriptPath = result.path;
    for (const UserMessage& message : result.messages)
        userDialogs().message(message);
    if (result.resetStartup && !commandLine)
        m_mainWindow.resetStartupSequence();
    if (!result.launch)
        return false;
    return startHost();
}

bool BatchRunner::startHost()
{
    const ProgramState& program = programState();
    LaunchSettings settings;
    settings.executable = readCadExecutable(program.settings);
    settings.windowState = readHostWindowState(program.settings);
    settings.startOption = readStartupSwitchOption(program.settings);
    settings.switchText = readStartupSwitchText(program.settings);
    if (const auto failure = qv::startHost(settings, m_mainWindow.m_scriptPath, shellExecuteHook())) {
        userDialogs().message(*failure);
        return false;
    }
    return true;
}

} // namespace qv
