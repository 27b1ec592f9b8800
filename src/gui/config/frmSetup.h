#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

// The first-run setup: finds and records the routine database, the script folder, the CAD product, its
// executable and (when the user wants) its plot file folders, ticking a checklist as it goes. "Start" runs
// the steps, "Finish" marks the setup done; quitting before that leaves it to run again at the next start.
class frmSetup final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Quorvel Setup";
    // SetupStatus after the user quit the setup: the start of the program does not go on.
    static constexpr const char* kQuit = "FALSE";

    explicit frmSetup(QWidget* parent = nullptr);

    // The steps, in the order "Start" runs them.
    void LocateRoutineDatabase();
    void LocateScriptFolder();

    void cmdSetupExit_Click();
    void cmdCancel_Click();

    // The chosen script folder once that step is done; "FALSE" when the user quit.
    QString SetupStatus;
    // The executable file name of the chosen product ("Acad.exe", "Aclt.exe", ...), searched for later.
    QString ExecutableName;

    QCheckBox* Chk_AcadVer = nullptr;
    QLabel* lbl_AcadVer = nullptr;
    QCheckBox* Chk_DatAddress = nullptr;
    QLabel* lbl_DatAddress = nullptr;
    QCheckBox* Chk_ScrAddress = nullptr;
    QLabel* lbl_ScrAddress = nullptr;
    QCheckBox* Chk_ExeAddress = nullptr;
    QLabel* lbl_ExeAddress = nullptr;
    QLabel* lblExplainEnd = nullptr;
    QPushButton* cmdSetupExit = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    // Cancel, Escape and the close button: asks before quitting an unfinished setup.
    void reject() override;

private:
    bool m_running = false; // the steps are under way; the window cannot be left
};

} // namespace qv
