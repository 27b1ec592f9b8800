#pragma once

#include "batch/BatchRunner.h"
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
class DrawingListHistory;
class DrawingListView;
class ActionPanel;

// The main window: the drawing list, its buttons, and the menus that reach every other window.
// objectName "mdiStart" (its controls keep theirs).
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    static constexpr const char* kCaption = "Quorvel Ver. 25";

    // Sets the window up once it is shown; false when the first-run setup was cancelled. The setup runs
    // first when it was never completed, but only in a start by a person at the desktop: a list run from
    // the command line, or a run nobody watches, never waits for it.
    bool load(bool interactiveStart = false);
    void centreOnScreen();
    void hideKeyColumn();
    // The column set after a sort by field: "Drawing File", "Folder", "Routine", "Num".
    void showKeyColumn();
    // Runs a drawing list named on the command line and closes the window.
    // A list named on the command line: run it, or with `check` only check it and print the verdicts.
    void runCommandLineList(const QString& argument, bool check = false,
                            const std::optional<WatchOptions>& watch = std::nullopt);
    // Check pressed, or the menu item: the batch checked against the CAD host's prompts, in a window.
    void checkBatch();
    // The command-line check: verdicts on standard output; the exit status.
    int printBatchCheck();
    // Runs the batch; the Start button confirms first. True when the CAD host was started.
    bool startBatch(bool confirm);
    // Opens the routine editor on a tab, modally, and refreshes the routine list afterwards.
    void openRoutineEditor(int tab);
    // Refreshes the drawing count label.
    void refreshDrawingCount();

    DrawingListModel* drawingList() const { return m_model; }
    ActionPanel* actionPanel() const { return m_actionPanel; }
    // Undo and redo of the list's changes (Edit menu).
    DrawingListHistory* listHistory() const { return m_history; }
    // A line in the status bar that confirms what was just done (a list or a routine saved).
    void showStatus(const QString& text);

    // Adding drawings: the add-files dialog, a list of full paths, and a drop of files.
    void addDrawingsFromDialog();
    void addDrawings(const QStringList& paths);
    void addDroppedFiles(const QStringList& paths);
    // Sort by field (cmdSortIso) and by a column (a click on its header).
    void sortListByField();
    void sortListByColumn(int column);

    // The rows the user has selected, and a selection made by the program (the rows an assignment went to).
    RowSelection selectedRows() const;
    void selectRows(const RowSelection& selected);
    // Column sorting of the list: once a header was clicked, rows that enter the list are placed by
    // that column and order. Nothing before the first click, after a sort by field or a retrieve.
    const std::optional<ColumnSort>& columnSort() const { return m_columnSort; }
    void setColumnSort(const std::optional<ColumnSort>& sort);

    // Fields other windows read and write.
    std::string m_scriptPath;      // script of the last run
    std::string m_productCode;     // product of the current run
    QString m_readOnlyDecision;    // "Yes" / "No", empty before the first choice
    bool m_commandLineRun = false; // a run started from the command line
    QString m_headerSortOrder;     // "0" ascending, "1" descending, empty before the first click

    // Controls; each keeps the objectName users and tests know it by.
    QGroupBox* m_fileSelectionGroup = nullptr;
    QGroupBox* m_drawingListGroup = nullptr;
    QPushButton* m_sortByFieldButton = nullptr;
    QPushButton* m_addFilesButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    DrawingListView* m_drawingView = nullptr;
    QLabel* m_drawingCountLabel = nullptr;
    QWidget* m_actionPanelHost = nullptr; // where the action panel sits

public slots:
    void resetStartupSequence();
    // Opens the options dialog modally.
    void openOptions();
    // The settings changed: the product shown and used, and the field sort button, follow them at once.
    void applySettings();
    // Opens the timer window modally.
    void openTimer();
    void confirmExit();
    void showHelp();
    void showAbout();

protected:
    void showEvent(class QShowEvent* event) override;
    // The title bar's close button asks as File > Exit does; closes made by the program itself do not.
    void closeEvent(class QCloseEvent* event) override;

private:
    void buildControls();
    void applyColumnWidths();
    void buildMenus();
    QAction* addMenuItem(class QMenu* menu, const char* name, const QString& caption);
    // Adds rows read from paths, offering to leave out drawings already listed, as one step of the list.
    void addReadRows(PathRows read);
    // Shows the rows added, or the one message naming the drawings refused.
    void drawingsAdded(const AddOutcome& outcome);
    // A click or a selection in the list: the next assignment goes to the selected rows, or to every row when the
    // list shows none selected.
    void drawingsSelected();

    DrawingListModel* m_model = nullptr;
    DrawingListHistory* m_history = nullptr;
    bool m_shownOnce = false;
    ActionPanel* m_actionPanel = nullptr;
    std::optional<ColumnSort> m_columnSort;
    QString m_addFolder; // folder of the last drawings added from the dialog
};

// The main window of the running program (null before it exists).
MainWindow* mainWindow();

// After an assignment, an editor or a combination: enables the panel's Start and Sort by Field when
// the drawing list holds rows; changes nothing for an empty list.
void enableStartAndSort();

} // namespace qv
