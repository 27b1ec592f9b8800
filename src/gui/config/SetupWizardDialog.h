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
// Run again, every step starts from the current settings, and only what the user changes is written.
// objectName "frmSetup" (its controls keep theirs).
class SetupWizardDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Quorvel Setup";
    // m_setupStatus after the user quit the setup: the start of the program does not go on.
    static constexpr const char* kQuit = "FALSE";

    explicit SetupWizardDialog(QWidget* parent = nullptr);

    // The steps, in the order "Start" runs them.
    void locateRoutineDatabase();
    void locateScriptFolder();

    void startOrFinish();
    void cancelSetup();

    // The chosen script folder once that step is done; "FALSE" when the user quit.
    QString m_setupStatus;
    // The executable file name of the chosen product ("Acad.exe", "Aclt.exe", ...), searched for later.
    QString m_executableName;

    QCheckBox* m_productCheck = nullptr;
    QLabel* m_productLabel = nullptr;
    QCheckBox* m_databaseCheck = nullptr;
    QLabel* m_databaseLabel = nullptr;
    QCheckBox* m_scriptFolderCheck = nullptr;
    QLabel* m_scriptFolderLabel = nullptr;
    QCheckBox* m_executableCheck = nullptr;
    QLabel* m_executableLabel = nullptr;
    QLabel* m_explanationLabel = nullptr;
    QPushButton* m_startFinishButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

public slots:
    // Cancel, Escape and the close button: asks before quitting an unfinished setup.
    void reject() override;

private:
    // The product window was closed: back to the checklist, which waits for Start again.
    void goBack();

    bool m_running = false; // the steps are under way; the window cannot be left
};

} // namespace qv
