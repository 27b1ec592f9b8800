#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qv {

class mdiStart;

// The action panel beside the drawing list: picks a routine and assigns it to all or to the selected
// drawings, opens the routine editor, sets the number of sets, starts the run or leaves the program.
// It also carries the list operations that rebuild the drawing list and the drawing list files.
class frmCommandButton final : public QWidget
{
    Q_OBJECT

public:
    explicit frmCommandButton(mdiStart& main, QWidget* parent = nullptr);
    ~frmCommandButton() override;

    // Opening steps: favourites list, start state of the buttons, number of sets, product label, and the
    // missing-routines notice when the catalogue is empty (once per run of the program).
    void Form_Load();

    // Refills cboActionList from a fresh read of the routine database (favourites or non-favourites,
    // as cmdFavorites says).
    void FillActionList();
    void FillSequencebox();
    // Shows the configured product's panel label; a product without one keeps the previous text.
    void ShowAcadVersion();

    // Assigns the chosen routine: to the selected drawings when lblSelectType is "0", else to all.
    void AssignRoutine();
    // Every drawing gets the routine (also used by the combine window).
    void RedoListItems(const QString& name);
    // The selected drawings get the routine chosen in cboActionList.
    void ShowSubjectInSelected();

    void Add_New_Action();
    // Opens the combine window modally (Start is off while it is open).
    void cmdCombineRoutines_Click();
    // Every drawing gets "Combined Routines..." (the combine window's assignment).
    void AssignCombinedRoutine();
    // Opens the routine editor modally on a requested tab (FrmScript::kNoTab for none).
    // Opens the routine editor on a tab; with a routine description, that routine is shown picked.
    void OpenRoutineEditor(std::int16_t tab, const QString& routine = {});
    void Clear_List();
    void DeleteFromList();

    // Drawing list files.
    void SaveDrawingList();
    void RetrieveDrawingList();
    // Replaces the drawing list with the file's rows. False when the file could not be read whole; a
    // command-line run then does not go on (commandLineRun is cleared).
    bool RetrieveList(const QString& path);

    // Hidden state, as other windows read and write it.
    QString lblSelectType = QStringLiteral("1"); // "1" assign to all, "0" to the selected drawings
    QString lblcboBoxText = QStringLiteral("0"); // "1" once a routine was picked in cboActionList

    // Controls.
    QGroupBox* frmActionSelection = nullptr;
    QPushButton* cmdAddNewAction = nullptr;
    QPushButton* cmdFavorites = nullptr;
    QLabel* lblAction = nullptr;
    QComboBox* cboActionList = nullptr;
    QPushButton* CmdAction = nullptr;
    QPushButton* cmdCombineRoutines = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* lblSequence = nullptr;
    QComboBox* CboSequence = nullptr;
    QCheckBox* chkCollate = nullptr;
    QPushButton* CmdStart = nullptr;
    QPushButton* cmdCheck = nullptr;
    QPushButton* CmdClose = nullptr;
    QLabel* lblAcadVersion = nullptr;

signals:
    // Start pressed: the main window runs the batch.
    void startRequested();
    // Check pressed: the main window checks the batch.
    void checkRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void cmdFavorites_Click();
    void CmdStart_Click();
    void CmdClose_Click();
    void chkCollate_Click();
    // After a rebuild of the list: nothing is selected, so the next assignment applies to all rows.
    void listRebuilt();
    // The list became empty: nothing can be assigned, combined, started or sorted.
    void disableForEmptyList();
    void showMissingRoutinesNotice();

    mdiStart& m_main;
    bool m_filling = false;       // FillActionList runs (windows it opens do not trigger a refill)
    bool m_refillPending = false; // a modal window closed; refill once control is back here
    QString m_listFolder;         // folder of the last drawing list file
};

// The missing-routines notice of an empty catalogue.
QString MissingRoutinesNoticeText();
// The explanation put into the locate-database dialog after that notice.
QString LocateDatabaseLaterText();

} // namespace qv
