#include "BatchRunner.h"

#include "FileSystem.h"
#include "ProcessLauncher.h"
#include "SafeWrite.h"
#include "ScriptLock.h"
#include "app/BusyCursor.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/DrawingListModel.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ReadOnlyDrawingsDialog.h"
#include "batch/RunReport.h"
#include "batch/RunWatcher.h"
#include "builders/PlotDevices.h"
#include "config/Settings.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"
#include "text/Paths.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

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
    static ScriptProbe probe = [](const std::string& path) { return platform::claimScript(path); };
    return probe;
}

// The progress of a check, in the main window's status bar with a Stop button: a line there never stands in
// front of a message box, as a progress window would. The window's list and menus wait for the check.
class CheckProgressLine final
{
public:
    explicit CheckProgressLine(QMainWindow& window) : m_window(window)
    {
        m_label = new QLabel(QStringLiteral("Checking the batch against the CAD host's prompts..."));
        m_label->setObjectName(QStringLiteral("lblCheckProgress"));
        m_stopButton = new QPushButton(QStringLiteral("Stop"));
        m_stopButton->setObjectName(QStringLiteral("cmdStopCheck"));
        QObject::connect(m_stopButton, &QPushButton::clicked, m_stopButton, [this] { m_stopped = true; });
        window.statusBar()->addWidget(m_label, 1);
        window.statusBar()->addWidget(m_stopButton);
        window.statusBar()->show();
        for (QWidget* part : {window.centralWidget(), static_cast<QWidget*>(window.menuBar())}) {
            if (part && part->isEnabled()) {
                part->setEnabled(false);
                m_disabled.push_back(part);
            }
        }
    }
    ~CheckProgressLine()
    {
        for (QWidget* part : m_disabled)
            part->setEnabled(true);
        m_window.statusBar()->removeWidget(m_label);
        m_window.statusBar()->removeWidget(m_stopButton);
        delete m_label;
        delete m_stopButton;
    }
    CheckProgressLine(const CheckProgressLine&) = delete;
    CheckProgressLine& operator=(const CheckProgressLine&) = delete;

    // Shows how far the check is; false once Stop was pressed.
    bool update(std::size_t line, std::size_t lines)
    {
        if (line % 2000 == 0) {
            const std::size_t percent = line * 100 / std::max<std::size_t>(lines, 1);
            m_label->setText(QStringLiteral("Checking the batch against the CAD host's prompts... %1% (line %2 of %3)")
                                 .arg(percent)
                                 .arg(line)
                                 .arg(lines));
            QCoreApplication::processEvents();
        }
        return !m_stopped;
    }

private:
    QMainWindow& m_window;
    QLabel* m_label = nullptr;
    QPushButton* m_stopButton = nullptr;
    std::vector<QWidget*> m_disabled;
    bool m_stopped = false;
};

std::function<int()>& runningHostsHook()
{
    static std::function<int()> count = [] { return platform::runningHosts(); };
    return count;
}

// Ends the run's claim on its script folder however the run ends.
struct ScriptClaimRelease
{
    ScriptClaimRelease() = default;
    ScriptClaimRelease(const ScriptClaimRelease&) = delete;
    ScriptClaimRelease& operator=(const ScriptClaimRelease&) = delete;
    ~ScriptClaimRelease() { platform::releaseScriptClaim(); }
};

UserMessage batchStillRunningQuestion()
{
    return UserMessage{"A batch that Quorvel started is still running: its CAD program has not ended yet.\r\n\r\n"
                       "Press OK to start another batch beside it (it gets a script of its own and a CAD program "
                       "of its own), or Cancel to let the first batch finish.",
                       "Batch Still Running", MessageIcon::Exclamation, MessageButtons::OkCancel};
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

void BatchRunner::setRunningHosts(std::function<int()> count)
{
    runningHostsHook() = std::move(count);
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
    // From the window: the Start button's script, and progress in the status bar.
    const bool fromWindow = from == CheckFrom::Window;
    if (m_mainWindow.drawingList()->rows().empty()) {
        userDialogs().show("There are no drawings in the list", "Check Batch", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!checkRoutinesAssigned() || !checkRoutinesPresent())
        return std::nullopt;
    const std::string product = readProductCode(programState().settings);
    std::vector<unsigned> rowAttributes;
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
        static_assert(kAttrReadOnly == platform::AttrReadOnly && kAttrFolder == platform::AttrDirectory &&
                      kAttrNotFile == platform::AttrNotFile);
        if (platform::kAttributesTellFileKind)
            rowAttributes = scan.rowAttributes;
    }
    BatchCheckOptions options;
    options.productCode = product;
    options.rowIsReadOnly = m_readOnlyRows;
    options.rowAttributes = std::move(rowAttributes);
    // The printers of this machine, and the plotter configurations the routine editor offers from the
    // configured folder, are devices the host would know.
    for (const QString& printer : QPrinterInfo::availablePrinterNames())
        options.devices.push_back(printer.toStdString());
    for (const PlotDevice& configuration : listPlotterConfigDevices(programState().settings))
        options.devices.push_back(configuration.name);

    std::unique_ptr<CheckProgressLine> progressLine;
    if (fromWindow) {
        progressLine = std::make_unique<CheckProgressLine>(m_mainWindow);
        options.keepGoing = [line = progressLine.get()](std::size_t done, std::size_t lines) {
            return line->update(done, lines);
        };
    }
    Result<BatchCheckReport> report = Error{};
    {
        BusyCursor busy;
        const ScriptInputs inputs = gatherInputs(sequenceText, collate);
        Result<ScriptText> script = buildScript(inputs, chooseScriptWriter(fromWindow, product));
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
    // A second Start while the first batch's host still works would start a second CAD program: asked first.
    if (confirm && runningHostsHook()() > 0 && userDialogs().message(batchStillRunningQuestion()) != MessageAnswer::Ok)
        return false;
    if (!checkReadOnlyDrawings() || !checkRoutinesAssigned() || !checkRoutinesPresent())
        return false;
    m_mainWindow.m_productCode = readProductCode(programState().settings);
    if (confirm && userDialogs().message(confirmStartMessage()) != MessageAnswer::Ok)
        return false;

    const ScriptClaimRelease release;
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
        result = writeBatchScript(inputs, kind, scriptProbeHook(), ask, platform::writeClaimedScript);
        // Another run waiting for the folder need not wait for this run's messages.
        if (!result.written)
            platform::releaseScriptClaim();
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

namespace qv {
namespace {

RunStamp stampNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return RunStamp{now.date().year(), now.date().month(),  now.date().day(),
                    now.time().hour(), now.time().minute(), now.time().second()};
}

void printLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int BatchRunner::runWatchedFromCommandLine(const QString& sequenceText, bool collate, const WatchOptions& watch)
{
    if (!checkReadOnlyDrawings() || !checkRoutinesAssigned() || !checkRoutinesPresent())
        return 2;
    const ProgramState& program = programState();
    const std::string product = readProductCode(program.settings);
    m_mainWindow.m_productCode = product;
    if (progressSignalFor(product) != ProgressSignal::AutoLispFiles) {
        // The lock-file watch these releases need is not built: refuse rather than report drawings unseen.
        userDialogs().show("The drawings were not run: a watched run (--wait) needs a CAD program with AutoLISP, "
                           "and the product " +
                               product +
                               " has none. Run the list without --wait, or choose a product with AutoLISP "
                               "under Options.",
                           "Quorvel Error", MessageIcon::Critical);
        return 2;
    }

    ScriptInputs inputs = gatherInputs(sequenceText, collate);
    const std::string scriptFolder(stripTrailingSeparator(inputs.scriptFolder));
    if (!QFileInfo(QString::fromStdString(scriptFolder)).isDir()) {
        userDialogs().message(scriptFolderInvalidMessage(scriptFolder));
        return 2;
    }
    const auto exists = [](const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); };
    const std::string runFolder = chooseRunFolder(scriptFolder, stampNow(), exists);
    if (!QDir().mkdir(QString::fromStdString(runFolder))) {
        userDialogs().show("The drawings were not run: the run folder " + runFolder +
                               " could not be created. Check that the script folder can be written.",
                           "Quorvel Error", MessageIcon::Critical);
        return 2;
    }
    inputs.scriptFolder = runFolder;
    const ScriptWriterKind kind = chooseScriptWriter(false, product);
    LaunchSettings settings;
    settings.executable = readCadExecutable(program.settings);
    settings.windowState = readHostWindowState(program.settings);
    settings.startOption = readStartupSwitchOption(program.settings);
    settings.switchText = readStartupSwitchText(program.settings);
    const AskUser ask = [&inputs](const UserMessage&) {
        userDialogs().message(scriptFolderInvalidMessage(inputs.scriptFolder));
        return MessageAnswer::Cancel;
    };

    const auto& rows = m_mainWindow.drawingList()->rows();
    const std::size_t openings = scriptOpenings(inputs);
    const auto rowOf = [&rows](std::size_t opening) -> const DrawingRow& { return rows[opening % rows.size()]; };
    const auto pathOf = [&rowOf](std::size_t opening) {
        const DrawingRow& row = rowOf(opening);
        return joinPath(stripTrailingSeparator(row.folder), row.file);
    };

    platform::WatchedHost host;
    RunWatcherPorts ports;
    ports.startHost = [&](std::size_t first, std::size_t count) {
        // The command log stays off: its lines are not read yet, and LOGFILEON would change the user's setting.
        inputs.supervised = SupervisedScript{first, count, runFolder, false};
        ScriptResult result = writeBatchScript(inputs, kind, scriptProbeHook(), ask, platform::writeClaimedScript);
        for (const UserMessage& message : result.messages)
            userDialogs().message(message);
        m_mainWindow.m_scriptPath = result.path;
        bool started = false;
        if (result.launch) {
            if (const auto refused = checkSwitchText(settings.startOption, settings.switchText)) {
                userDialogs().message(*refused);
            } else {
                const LaunchRequest request = buildLaunchRequest(settings, result.path);
                const int code = host.start(request.file, request.parameters, request.directory, request.showCode);
                started = code >= kShellExecuteFirstSuccess;
                if (const auto failure = launchFailureMessage(code, request))
                    userDialogs().message(*failure);
            }
        }
        platform::releaseScriptClaim();
        return started;
    };
    ports.hostStatus = [&host] {
        switch (host.poll()) {
        case platform::WatchedHost::State::Running:
            return HostStatus::Running;
        case platform::WatchedHost::State::ExitedAbnormally:
            return HostStatus::Crashed;
        default:
            return HostStatus::Exited;
        }
    };
    ports.endHost = [&host] { host.end(); };
    ports.fileExists = exists;
    ports.now = [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    ports.pause = [](double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); };
    ports.settled = [&](std::size_t opening, const DrawingProgress& progress) {
        std::string line = pathOf(opening) + ": " + std::string(drawingStateName(progress.state));
        if (!progress.firstError.empty())
            line += ": " + progress.firstError;
        printLine(line);
    };

    RunSupervisor supervisor(SupervisorSettings{openings, watch.timeoutSeconds, watch.restartEvery});
    if (!watchRun(supervisor, runFolder, ports))
        return 2;

    std::vector<RunReportRow> report;
    report.reserve(openings);
    std::size_t done = 0;
    for (std::size_t i = 0; i < openings; ++i) {
        const DrawingProgress& progress = supervisor.drawings()[i];
        report.push_back({pathOf(i), rowOf(i).routine, progress.state, progress.firstError, progress.seconds});
        done += progress.state == DrawingState::Done ? 1 : 0;
    }
    const std::string reportPath = joinPath(runFolder, "Report.csv");
    const Status saved = platform::replaceFileSafely(reportPath, runReportBytes(report));

    std::string summary = std::to_string(openings) + " drawings: " + std::to_string(done) + " done";
    for (const DrawingState state :
         {DrawingState::Error, DrawingState::Hung, DrawingState::Crashed, DrawingState::NotReached}) {
        const auto count = std::count_if(report.begin(), report.end(),
                                         [state](const RunReportRow& row) { return row.state == state; });
        if (count > 0)
            summary += ", " + std::to_string(count) + " " + std::string(drawingStateName(state));
    }
    summary += "; the CAD program was started " + std::to_string(supervisor.hostStarts()) +
               (supervisor.hostStarts() == 1 ? " time" : " times");
    summary += saved ? ". Report: " + reportPath : ". The report could not be written to " + reportPath;
    printLine(summary);
    return done == openings && saved ? 0 : 1;
}

} // namespace qv
