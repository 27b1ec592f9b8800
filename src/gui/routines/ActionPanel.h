#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qv {

class MainWindow;

// The action panel beside the drawing list: picks a routine and assigns it to all or to the selected
// drawings, opens the routine editor, sets the number of sets, starts the run or leaves the program.
// It also carries the list operations that rebuild the drawing list and the drawing list files.
// objectName "frmCommandButton" (its controls keep theirs).
class ActionPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit ActionPanel(MainWindow& main, QWidget* parent = nullptr);
    ~ActionPanel() override;

    // Opening steps: favourites list, start state of the buttons, number of sets, product label, and the
    // missing-routines notice when the catalogue is empty (once per run of the program).
    void load();

    // Refills cboActionList from a fresh read of the routine database (favourites or non-favourites,
    // as cmdFavorites says).
    void fillRoutineList();
    void fillNumberOfSets();
    // Shows the configured product's panel label; a product without one keeps the previous text.
    void showProductName();

    // Assigns the chosen routine: to the selected drawings when m_assignScope is "0", else to all.
    void assignRoutine();
    // Every drawing gets the routine (also used by the combine window).
    void assignToAllDrawings(const QString& name);
    // The selected drawings get the routine chosen in cboActionList.
    void assignToSelectedDrawings();

    void editRoutines();
    // Opens the combine window modally (Start is off while it is open).
    void openCombineDialog();
    // Every drawing gets "Combined Routines..." (the combine window's assignment).
    void assignCombinedRoutine();
    // Opens the routine editor modally on a requested tab (RoutineEditor::kNoTab for none).
    // Opens the routine editor on a tab; with a routine description, that routine is shown picked.
    void openRoutineEditor(std::int16_t tab, const QString& routine = {});
    void clearDrawingList();
    void deleteSelectedDrawings();

    // Drawing list files.
    void saveDrawingList();
    void retrieveDrawingList();
    // Replaces the drawing list with the file's rows. False when the file could not be read whole; a
    // command-line run then does not go on (m_commandLineRun of the main window is cleared).
    bool retrieveListFile(const QString& path);

    // Hidden state, as other windows read and write it.
    QString m_assignScope = QStringLiteral("1");   // "1" assign to all, "0" to the selected drawings
    QString m_routinePicked = QStringLiteral("0"); // "1" once a routine was picked in cboActionList

    // Controls.
    QGroupBox* m_assignGroup = nullptr;
    QPushButton* m_editRoutinesButton = nullptr;
    QPushButton* m_favouritesButton = nullptr;
    QLabel* m_routineListLabel = nullptr;
    QComboBox* m_routineCombo = nullptr;
    QPushButton* m_assignButton = nullptr;
    QPushButton* m_combineButton = nullptr;
    QGroupBox* m_runGroup = nullptr;
    QLabel* m_setsLabel = nullptr;
    QComboBox* m_setsCombo = nullptr;
    QCheckBox* m_collateCheck = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_productLabel = nullptr;

signals:
    // Start pressed: the main window runs the batch.
    void startRequested();
    // Check pressed: the main window checks the batch.
    void checkRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void toggleFavourites();
    void requestStart();
    void exitProgram();
    void updateCollateCaption();
    // Before every row gets `routine` (empty: any routine is replaced): asks when rows carry another one, unless
    // the user said not to ask again. `shownName` is the routine the question names. True to go on.
    bool confirmAssignToAll(const std::string& routine, const std::string& shownName);
    // After a rebuild of the list: nothing is selected, so the next assignment applies to all rows.
    void listRebuilt();
    // The list became empty: nothing can be assigned, combined, started or sorted.
    void disableForEmptyList();
    void showMissingRoutinesNotice();

    MainWindow& m_main;
    bool m_filling = false;       // fillRoutineList runs (windows it opens do not trigger a refill)
    bool m_refillPending = false; // a modal window closed; refill once control is back here
    QString m_listFolder;         // folder of the last drawing list file
};

// The missing-routines notice of an empty catalogue.
QString missingRoutinesNoticeText();
// The explanation put into the locate-database dialog after that notice.
QString locateDatabaseLaterText();

} // namespace qv
