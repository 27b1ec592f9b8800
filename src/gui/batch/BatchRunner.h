#pragma once

#include "batch/DrawingRow.h"
#include "batch/LaunchCommand.h"
#include "batch/ScriptWriter.h"

#include <QString>
#include <functional>
#include <vector>

namespace qv {

class mdiStart;

// Runs a batch for the main window: read-only check, routine check, confirmation, the script
// writer, and the start of the CAD host. The host is never waited for.
class BatchRunner final
{
public:
    explicit BatchRunner(mdiStart& window);

    // Start button (confirm = true), timer (false). True when the host was started.
    bool StartProcess(bool confirm, const QString& sequenceText);
    // Command-line run: as StartProcess(false).
    bool CommandLineRun(const QString& sequenceText);

    bool CheckReadOnly();
    bool CheckFileAssigned();

    // Test hooks: how the host is started and how a script is probed for a lock.
    static void SetShellExecute(ShellExecuteService service);
    static void SetScriptProbe(ScriptProbe probe);

private:
    bool run(bool confirm, const QString& sequenceText);
    ScriptInputs gatherInputs(const QString& sequenceText) const;
    bool StartAutoCAD();

    mdiStart& m_window;
    // Read-only flags of the rows found by the last check; the writer answers for them.
    std::vector<bool> m_readOnlyRows;
};

} // namespace qv
