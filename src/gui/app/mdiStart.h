#pragma once

#include <QMainWindow>
#include <QString>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeView;

namespace qv {

class DrawingListModel;

// The main window: the drawing list, its buttons, and the menus that reach every other window.
class mdiStart final : public QMainWindow
{
    Q_OBJECT

public:
    explicit mdiStart(QWidget* parent = nullptr);
    ~mdiStart() override;

    static constexpr const char* kCaption = "Quorvel Ver. 25";

    // Sets the window up once it is shown; false when the first-run setup was cancelled.
    bool FormLoad();
    void CenterInScreen();
    void ChangeHeaders3();
    // Runs a drawing list named on the command line and closes the window.
    void StartUpCommandLine(const QString& argument);
    // Refreshes the drawing count label.
    void RefreshCount();

    DrawingListModel* drawingList() const { return m_model; }

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
    QTreeView* lstvDrawings = nullptr;
    QLabel* Label1 = nullptr;
    QWidget* panelHost = nullptr; // where the action panel sits

public slots:
    void MnuStartupReset_Click();
    void mnuFileExit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpAbout_Click();

private:
    void buildControls();
    void buildMenus();
    QAction* addItem(class QMenu* menu, const char* name, const QString& caption);

    DrawingListModel* m_model = nullptr;
};

// The main window of the running program (null before it exists).
mdiStart* MainWindow();

// After an assignment, an editor or a combination: enables Start and Sort by Field when the drawing
// list holds rows; changes nothing for an empty list.
void EnableStartAndSort();

} // namespace qv
