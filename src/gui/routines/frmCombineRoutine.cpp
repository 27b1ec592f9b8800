#include "frmCombineRoutine.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "routines/RoutineStore.h"
#include "routines/frmCommandButton.h"
#include "text/TextUtil.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {
namespace {

std::vector<bool> Selection(const QListWidget* list)
{
    std::vector<bool> selected(std::size_t(list->count()), false);
    for (int i = 0; i < list->count(); ++i)
        selected[std::size_t(i)] = list->item(i)->isSelected();
    return selected;
}

RoutineChain Entries(const QListWidget* list)
{
    RoutineChain entries;
    entries.reserve(std::size_t(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        entries.push_back({ToStd(item->text()), static_cast<std::int16_t>(item->data(Qt::UserRole).toInt())});
    }
    return entries;
}

} // namespace

frmCombineRoutine::frmCombineRoutine(frmCommandButton& panel, QWidget* parent) : QDialog(parent), m_panel(panel)
{
    setObjectName(QStringLiteral("frmCombineRoutine"));
    setWindowTitle(QStringLiteral("Routine Combination"));
    setModal(true);

    fraList = new QGroupBox(QStringLiteral("Combine Script Routines"), this);
    fraList->setObjectName(QStringLiteral("fraList"));
    lstActionDes = MakeList(fraList, "lstActionDes", QStringLiteral("Current List of Favourite Routines"),
                            QAbstractItemView::ExtendedSelection);
    lstActionDesNon = MakeList(fraList, "lstActionDesNon", QStringLiteral("Current List of Non Favourite Routines"),
                               QAbstractItemView::ExtendedSelection);
    lstRoutineToCombine = MakeList(fraList, "lstRoutineToCombine", QStringLiteral("List of Routines to Combine"),
                                   QAbstractItemView::ExtendedSelection);
    cmdToCombine =
        MakeDialogButton(fraList, "cmdToCombine", QStringLiteral(">>"), QStringLiteral("Add to Combine List"));
    cmdFromCombine =
        MakeDialogButton(fraList, "cmdFromCombine", QStringLiteral("<<"), QStringLiteral("Subtract from Combine List"));
    cmdMoveUp =
        MakeDialogButton(fraList, "cmdMoveUp", QStringLiteral("Up"), QStringLiteral("Move Selected Routine Up"));
    cmdMoveDown =
        MakeDialogButton(fraList, "cmdMoveDown", QStringLiteral("Down"), QStringLiteral("Move Selected Routine Down"));
    cmdCombineRoutines = MakeDialogButton(this, "cmdCombineRoutines", QStringLiteral("Assign Combination"),
                                          QStringLiteral("Assigns Combined Routines To Drawings"));
    CmdReturn =
        MakeDialogButton(this, "CmdReturn", QStringLiteral("<< Back to Main"), QStringLiteral("Return to Main"));

    auto* grid = new QGridLayout(fraList);
    grid->addWidget(new QLabel(QStringLiteral("Favourites"), fraList), 0, 0);
    grid->addWidget(lstActionDes, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Non Favourites"), fraList), 2, 0);
    grid->addWidget(lstActionDesNon, 3, 0);
    auto* transfer = new QVBoxLayout();
    transfer->addStretch();
    transfer->addWidget(cmdToCombine);
    transfer->addWidget(cmdFromCombine);
    transfer->addStretch();
    grid->addLayout(transfer, 1, 1, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Routines to Combine"), fraList), 0, 2);
    grid->addWidget(lstRoutineToCombine, 1, 2, 3, 1);
    auto* order = new QVBoxLayout();
    order->addStretch();
    order->addWidget(cmdMoveUp);
    order->addWidget(cmdMoveDown);
    order->addStretch();
    grid->addLayout(order, 1, 3, 3, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(CmdReturn);
    buttons->addStretch();
    buttons->addWidget(cmdCombineRoutines);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraList, 1);
    layout->addLayout(buttons);
    resize(720, 460);

    connect(lstActionDes, &QListWidget::itemSelectionChanged, this, &frmCombineRoutine::lstActionDes_Click);
    connect(lstActionDesNon, &QListWidget::itemSelectionChanged, this, &frmCombineRoutine::lstActionDesNon_Click);
    connect(lstRoutineToCombine, &QListWidget::itemSelectionChanged, this,
            &frmCombineRoutine::lstRoutineToCombine_Click);
    connect(lstActionDes, &QListWidget::itemDoubleClicked, this, &frmCombineRoutine::cmdToCombine_Click);
    connect(lstActionDesNon, &QListWidget::itemDoubleClicked, this, &frmCombineRoutine::cmdToCombine_Click);
    connect(cmdToCombine, &QPushButton::clicked, this, &frmCombineRoutine::cmdToCombine_Click);
    connect(cmdFromCombine, &QPushButton::clicked, this, &frmCombineRoutine::cmdFromCombine_Click);
    connect(cmdMoveUp, &QPushButton::clicked, this, &frmCombineRoutine::cmdMoveUp_Click);
    connect(cmdMoveDown, &QPushButton::clicked, this, &frmCombineRoutine::cmdMoveDown_Click);
    connect(cmdCombineRoutines, &QPushButton::clicked, this, &frmCombineRoutine::cmdCombineRoutines_Click);
    connect(CmdReturn, &QPushButton::clicked, this, &QDialog::accept);
}

void frmCombineRoutine::Form_Load()
{
    for (QPushButton* button : {cmdFromCombine, cmdToCombine, cmdCombineRoutines, cmdMoveDown, cmdMoveUp})
        button->setEnabled(false);
    placeOnScreen();

    m_updating = true;
    lstActionDes->clear();
    lstActionDesNon->clear();
    LoadCatalogue();
    for (const clsRoutine& routine : Catalogue()) {
        auto* item = new QListWidgetItem(ToQString(std::string(TrimSpaces(routine.Description()))));
        item->setData(Qt::UserRole, int(routine.RecordNumber()));
        (TrimSpaces(routine.Favourite()) == "Fav" ? lstActionDes : lstActionDesNon)->addItem(item);
    }
    m_updating = false;
}

void frmCombineRoutine::placeOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 3);
}

void frmCombineRoutine::routineListClicked(QListWidget* clicked, const QString& which)
{
    if (m_updating)
        return;
    m_updating = true;
    QListWidget* other = clicked == lstActionDes ? lstActionDesNon : lstActionDes;
    if (lblWhich == (which == QLatin1String("Fav") ? QLatin1String("Non") : QLatin1String("Fav")))
        other->clearSelection();
    else if (lblWhich == QLatin1String("Com"))
        lstRoutineToCombine->clearSelection();
    m_updating = false;
    cmdMoveDown->setEnabled(false);
    cmdMoveUp->setEnabled(false);
    cmdFromCombine->setEnabled(false);
    cmdToCombine->setEnabled(true);
    lblWhich = which;
}

void frmCombineRoutine::lstActionDes_Click()
{
    routineListClicked(lstActionDes, QStringLiteral("Fav"));
}

void frmCombineRoutine::lstActionDesNon_Click()
{
    routineListClicked(lstActionDesNon, QStringLiteral("Non"));
}

void frmCombineRoutine::lstRoutineToCombine_Click()
{
    if (m_updating)
        return;
    m_updating = true;
    if (lblWhich == QLatin1String("Fav"))
        lstActionDes->clearSelection();
    else if (lblWhich == QLatin1String("Non"))
        lstActionDesNon->clearSelection();
    m_updating = false;
    cmdFromCombine->setEnabled(true);
    cmdToCombine->setEnabled(false);
    const bool hasEntries = !m_chain.empty();
    cmdMoveUp->setEnabled(hasEntries);
    cmdMoveDown->setEnabled(hasEntries);
    lblWhich = QStringLiteral("Com");
}

void frmCombineRoutine::cmdToCombine_Click()
{
    const QListWidget* source = lblWhich == QLatin1String("Fav") ? lstActionDes : lstActionDesNon;
    AddToChain(m_chain, Entries(source), Selection(source));
    showChain();
    cmdCombineRoutines->setEnabled(!m_chain.empty());
}

void frmCombineRoutine::cmdFromCombine_Click()
{
    RemoveFromChain(m_chain, Selection(lstRoutineToCombine));
    showChain();
    if (!m_chain.empty()) {
        cmdCombineRoutines->setEnabled(true);
    } else {
        cmdCombineRoutines->setEnabled(false);
        cmdMoveDown->setEnabled(false);
        cmdMoveUp->setEnabled(false);
    }
}

void frmCombineRoutine::cmdMoveUp_Click()
{
    const int row = lstRoutineToCombine->currentRow();
    if (row < 0)
        return;
    if (const auto moved = MoveUpInChain(m_chain, std::size_t(row)))
        showChain(moved);
}

void frmCombineRoutine::cmdMoveDown_Click()
{
    const int row = lstRoutineToCombine->currentRow();
    if (row < 0)
        return;
    if (const auto moved = MoveDownInChain(m_chain, std::size_t(row)))
        showChain(moved);
}

void frmCombineRoutine::showChain(std::optional<std::size_t> selectedPosition)
{
    m_updating = true;
    lstRoutineToCombine->clear();
    for (const ChainEntry& entry : m_chain) {
        auto* item = new QListWidgetItem(ToQString(entry.text));
        item->setData(Qt::UserRole, int(entry.recordNumber));
        lstRoutineToCombine->addItem(item);
    }
    if (selectedPosition) {
        const int row = static_cast<int>(*selectedPosition);
        lstRoutineToCombine->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    m_updating = false;
}

void frmCombineRoutine::cmdCombineRoutines_Click()
{
    ProgramState& program = Program();
    program.CombinedScript.clear();
    program.CombinedScript = CombineRoutines(m_chain, Catalogue());
    program.combinationMade = true;
    m_panel.AssignCombinedRoutine();
    cmdCombineRoutines->setEnabled(false);
}

} // namespace qv
