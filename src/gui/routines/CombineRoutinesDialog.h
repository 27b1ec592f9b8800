#pragma once

#include "routines/RoutineCombination.h"

#include <QDialog>
#include <QString>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace qv {

class ActionPanel;

// The combine window: chains catalogue routines in an order of the user's choosing and gives the
// combination to every drawing as "Combined Routines...". The combination is kept for this run only, unless
// "Save as Routine..." stores it in the routine database.
// objectName "frmCombineRoutine" (its controls keep theirs).
class CombineRoutinesDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit CombineRoutinesDialog(ActionPanel& panel, QWidget* parent = nullptr);

    // Opening: buttons off, the two routine lists filled from a fresh read of the database.
    void load();

    void pickFromFavourites();
    void pickFromNonFavourites();
    void pickFromChain();
    void addPickedToChain();
    void removePickedFromChain();
    void movePickedUp();
    void movePickedDown();
    void assignCombination();
    // Stores the combination as a routine of the database under a name the user gives; drawings that carry
    // this combination then carry the routine.
    void saveAsRoutine();

    const RoutineChain& chain() const { return m_chain; }

    // "Fav", "Non" or "Com": which list was clicked last.
    QString m_pickedListKind;

    QGroupBox* m_combineGroup = nullptr;
    QListWidget* m_favouritesList = nullptr;
    QListWidget* m_nonFavouritesList = nullptr;
    QListWidget* m_chainList = nullptr;
    QPushButton* m_addToChainButton = nullptr;
    QPushButton* m_removeFromChainButton = nullptr;
    QPushButton* m_moveUpButton = nullptr;
    QPushButton* m_moveDownButton = nullptr;
    QPushButton* m_assignButton = nullptr;
    QPushButton* m_saveAsRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

private:
    void routineListClicked(QListWidget* clicked, const QString& which);
    void showChain(std::optional<std::size_t> selectedPosition = std::nullopt);
    void placeOnScreen();
    void fillRoutineLists();

    ActionPanel& m_panel;
    RoutineChain m_chain;
    bool m_updating = false; // selections changed by the window itself are not clicks
};

} // namespace qv
