#pragma once

#include "batch/BatchCheck.h"
#include "batch/DrawingRow.h"
#include "batch/LaunchCommand.h"
#include "batch/ScriptWriter.h"
#include "routines/RoutineCatalogue.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qv {

class MainWindow;

// What a watched run from the command line was asked for.
struct WatchOptions
{
    double timeoutSeconds = 300.0;
    std::size_t restartEvery = 0;
};

// Runs a batch for the main window: read-only check, routine check, confirmation, the script
// writer, and the start of the CAD host. The host is never waited for.
class BatchRunner final
{
public:
    explicit BatchRunner(MainWindow& window);

    // Start button (confirm = true), timer (false). True when the host was started. `collate` writes
    // the whole list once per set.
    bool startBatch(bool confirm, const QString& sequenceText, bool collate = false);
    // Command-line run: as startBatch(false), but nobody is asked to change the settings.
    bool runFromCommandLine(const QString& sequenceText, bool collate = false);
    // Command-line run watched to its end: one line per drawing on standard output as it finishes, a summary,
    // and the report in the run's folder. 0 when every drawing is done, 1 when any failed or was not reached,
    // 2 when the run could not start (the reason was shown).
    int runWatchedFromCommandLine(const QString& sequenceText, bool collate, const WatchOptions& watch);

    // How a check is asked for: from the window (the script a Start would write, its progress in the status bar with
    // a Stop button) or from the command line (the script a command-line run would write).
    enum class CheckFrom
    {
        Window,
        CommandLine,
    };
    // Builds the script as that start would, in memory, and runs it through the model of the configured host.
    // Nothing is written and no host is started. None when the list could not be checked (the reason was
    // shown).
    std::optional<BatchCheckReport> checkBatch(const QString& sequenceText, bool collate, CheckFrom from);

    bool checkReadOnlyDrawings();
    bool checkRoutinesAssigned();
    // Reads the routine database afresh; false (after one message naming them) when a row's routine
    // is no longer there, or when the database cannot be read.
    bool checkRoutinesPresent();

    // Test hooks: how the host is started and how a script is probed for a lock.
    static void setShellExecute(ShellExecuteService service);
    static void setScriptProbe(ScriptProbe probe);
    // ... and how many hosts this program started are still running.
    static void setRunningHosts(std::function<int()> count);

private:
    bool run(bool confirm, const QString& sequenceText, bool collate, bool commandLine);
    ScriptInputs gatherInputs(const QString& sequenceText, bool collate) const;
    bool startHost();

    MainWindow& m_mainWindow;
    // Read-only flags of the rows found by the last check; the writer answers for them.
    std::vector<bool> m_readOnlyRows;
    // The routines as the database held them at the check; the writer looks the texts up here.
    struct IndexedRoutines
    {
        explicit IndexedRoutines(RoutineList list) : routines(std::move(list)), index(routines) {}
        IndexedRoutines(const IndexedRoutines&) = delete; // the index points into its own list
        RoutineList routines;
        RoutineIndex index;
    };
    std::shared_ptr<const IndexedRoutines> m_catalogue;
};

} // namespace qv
