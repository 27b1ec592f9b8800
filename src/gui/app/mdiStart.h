#pragma once

#include "batch/DrawingList.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeView;

namespace qv {

class DrawingListModel;
class DrawingListView;
class frmCommandButton;

// The main window: the drawing list, its buttons, and the menus that reach every other window.
class mdiStart final : public QMainWindow
{
    Q_OBJECT

public:
    explicit mdiStart(QWidget* parent = nullptr);
    ~mdiStart() override;

    static constexpr const char* kCaption = "Quorvel Ver. 25";

    // Sets the window up once it is shown; false when the first-run setup was cancelled. The setup runs
    // first when it was never completed, but only in a start by a person at the desktop: a list run from
    // the command line, or a run nobody watches, never waits for it.
    bool FormLoad(bool interactiveStart = false);
    void CenterInScreen();
    void ChangeHeaders3();
    // The column set after a sort by field: "Drawing File", "Folder", "Routine", "Num".
    void ChangeHeaders4();
    // Runs a drawing list named on the command line and closes the window.
    // A list named on the command line: run it, or with `check` only check it and print the verdicts.
    void StartUpCommandLine(const QString& argument, bool check = false);
    // Check pressed, or the menu item: the batch checked against the CAD host's prompts, in a window.
    void CheckBatch();
    // The command-line check: verdicts on standard output; the exit status.
    int PrintCheck();
    // Runs the batch; the Start button confirms first. True when the CAD host was started.
    bool StartProcess(bool confirm);
    // Opens the routine editor on a tab, modally, and refreshes the routine list afterwards.
    void OpenRoutineEditor(int tab);
    // Refreshes the drawing count label.
    void RefreshCount();

    DrawingListModel* drawingList() const { return m_model; }
    frmCommandButton* commandPanel() const { return m_panel; }

    // Adding drawings: the add-files dialog, a list of full paths, and a drop of files.
    void CmdAdd_Click();
    void AddDrawings(const QStringList& paths);
    void DropFiles(const QStringList& paths);
    // Sort by field (cmdSortIso) and by a column (a click on its header).
    void cmdSortIso_Click();
    void lstvDrawings_ColumnClick(int column);

    // The rows the user has selected.
    RowSelection SelectedRows() const;
    // Column sorting of the list: once a header was clicked, rows that enter the list are placed by
    // that column and order. Nothing before the first click, after a sort by field or a retrieve.
    const std::optional<ColumnSort>& columnSort() const { return m_columnSort; }
    void SetColumnSort(const std::optional<ColumnSort>& sort);

    // Fields other windows read and write.
    std::string scriptPath;      // script of the last run
    std::string productCode;     // product of the current run
    QString readOnlyDecision;    // "Yes" / "No", empty before the first choice
    bool commandLineRun = false; // a run started from the command line
    QString lblSortOrder;        // "0" ascending, "1" descending, empty before the first click

    // Controls, named as users and tests know them.
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdSortIso = nullptr;
    QPushButton* CmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClear = nullptr;
    DrawingListView* lstvDrawings = nullptr;
    QLabel* Label1 = nullptr;
    QWidget* panelHost = nullptr; // where the action panel sits

public slots:
    void MnuStartupReset_Click();
    // Opens the options dialog modally.
    void MnuOptionsFile_Click();
    // The settings changed: the product shown and used, and the field sort button, follow them at once.
    void SettingsChanged();
    // Opens the timer window modally.
    void mnuTimer_Click();
    void mnuFileExit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpAbout_Click();

protected:
    void showEvent(class QShowEvent* event) override;

private:
    void buildControls();
    void applyColumnWidths();
    void buildMenus();
    QAction* addItem(class QMenu* menu, const char* name, const QString& caption);
    // Shows the rows added, or the one message naming the drawings refused.
    void drawingsAdded(const AddOutcome& outcome);
    // A click or a selection in the list: the next assignment goes to the selected rows.
    void lstvDrawings_Click();

    DrawingListModel* m_model = nullptr;
    bool m_shownOnce = false;
    frmCommandButton* m_panel = nullptr;
    std::optional<ColumnSort> m_columnSort;
    QString m_addFolder; // folder of the last drawings added from the dialog
};

// The main window of the running program (null before it exists).
mdiStart* MainWindow();

// After an assignment, an editor or a combination: enables the panel's Start and Sort by Field when
// the drawing list holds rows; changes nothing for an empty list.
void EnableStartAndSort();

} // namespace qv
