#pragma once

#include "routines/RoutineCombination.h"

#include <QDialog>
#include <QString>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace qv {

class frmCommandButton;

// The combine window: chains catalogue routines in an order of the user's choosing and gives the
// combination to every drawing as "Combined Routines...". The combination is kept for this run only.
class frmCombineRoutine final : public QDialog
{
    Q_OBJECT

public:
    explicit frmCombineRoutine(frmCommandButton& panel, QWidget* parent = nullptr);

    // Opening: buttons off, the two routine lists filled from a fresh read of the database.
    void Form_Load();

    void lstActionDes_Click();
    void lstActionDesNon_Click();
    void lstRoutineToCombine_Click();
    void cmdToCombine_Click();
    void cmdFromCombine_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdCombineRoutines_Click();

    const RoutineChain& chain() const { return m_chain; }

    // "Fav", "Non" or "Com": which list was clicked last.
    QString lblWhich;

    QGroupBox* fraList = nullptr;
    QListWidget* lstActionDes = nullptr;
    QListWidget* lstActionDesNon = nullptr;
    QListWidget* lstRoutineToCombine = nullptr;
    QPushButton* cmdToCombine = nullptr;
    QPushButton* cmdFromCombine = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    QPushButton* cmdCombineRoutines = nullptr;
    QPushButton* CmdReturn = nullptr;

private:
    void routineListClicked(QListWidget* clicked, const QString& which);
    void showChain(std::optional<std::size_t> selectedPosition = std::nullopt);
    void placeOnScreen();

    frmCommandButton& m_panel;
    RoutineChain m_chain;
    bool m_updating = false; // selections changed by the window itself are not clicks
};

} // namespace qv
