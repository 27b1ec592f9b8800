#include "CombineRoutinesDialog.h"

#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/ScriptWriter.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineStore.h"
#include "text/TextUtil.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace qv {
namespace {

std::vector<bool> selectionFlags(const QListWidget* list)
{
    std::vector<bool> selected(std::size_t(list->count()), false);
    for (int i = 0; i < list->count(); ++i)
        selected[std::size_t(i)] = list->item(i)->isSelected();
    return selected;
}

RoutineChain chainEntries(const QListWidget* list)
{
    RoutineChain entries;
    entries.reserve(std::size_t(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        entries.push_back({toStd(item->text()), static_cast<std::int16_t>(item->data(Qt::UserRole).toInt())});
    }
    return entries;
}

} // namespace

CombineRoutinesDialog::CombineRoutinesDialog(ActionPanel& panel, QWidget* parent) : QDialog(parent), m_panel(panel)
{
    setObjectName(QStringLiteral("frmCombineRoutine"));
    setWindowTitle(QStringLiteral("Routine Combination"));
    setModal(true);

    m_combineGroup = new QGroupBox(QStringLiteral("Combine Script Routines"), this);
    m_combineGroup->setObjectName(QStringLiteral("fraList"));
    m_favouritesList = makeList(m_combineGroup, "lstActionDes", QStringLiteral("Current List of Favourite Routines"),
                                QAbstractItemView::ExtendedSelection);
    m_nonFavouritesList =
        makeList(m_combineGroup, "lstActionDesNon", QStringLiteral("Current List of Non Favourite Routines"),
                 QAbstractItemView::ExtendedSelection);
    m_chainList = makeList(m_combineGroup, "lstRoutineToCombine", QStringLiteral("List of Routines to Combine"),
                           QAbstractItemView::ExtendedSelection);
    m_addToChainButton =
        makeDialogButton(m_combineGroup, "cmdToCombine", QStringLiteral(">>"), QStringLiteral("Add to Combine List"));
    m_removeFromChainButton = makeDialogButton(m_combineGroup, "cmdFromCombine", QStringLiteral("<<"),
                                               QStringLiteral("Subtract from Combine List"));
    m_moveUpButton =
        makeDialogButton(m_combineGroup, "cmdMoveUp", QStringLiteral("Up"), QStringLiteral("Move Selected Routine Up"));
    m_moveDownButton = makeDialogButton(m_combineGroup, "cmdMoveDown", QStringLiteral("Down"),
                                        QStringLiteral("Move Selected Routine Down"));
    m_assignButton = makeDialogButton(this, "cmdCombineRoutines", QStringLiteral("Assign Combination"),
                                      QStringLiteral("Assigns Combined Routines To Drawings"));
    m_saveAsRoutineButton = makeDialogButton(
        this, "cmdSaveAsRoutine", QStringLiteral("Save as Routine..."),
        QStringLiteral("Saves the combination in the routine database, so that saved lists can use it"));
    m_backButton =
        makeDialogButton(this, "CmdReturn", QStringLiteral("<< Back to Main"), QStringLiteral("Return to Main"));

    auto* grid = new QGridLayout(m_combineGroup);
    grid->addWidget(new QLabel(QStringLiteral("Favourites"), m_combineGroup), 0, 0);
    grid->addWidget(m_favouritesList, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Non Favourites"), m_combineGroup), 2, 0);
    grid->addWidget(m_nonFavouritesList, 3, 0);
    auto* transfer = new QVBoxLayout();
    transfer->addStretch();
    transfer->addWidget(m_addToChainButton);
    transfer->addWidget(m_removeFromChainButton);
    transfer->addStretch();
    grid->addLayout(transfer, 1, 1, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Routines to Combine"), m_combineGroup), 0, 2);
    grid->addWidget(m_chainList, 1, 2, 3, 1);
    auto* order = new QVBoxLayout();
    order->addStretch();
    order->addWidget(m_moveUpButton);
    order->addWidget(m_moveDownButton);
    order->addStretch();
    grid->addLayout(order, 1, 3, 3, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_backButton);
    buttons->addStretch();
    buttons->addWidget(m_saveAsRoutineButton);
    buttons->addWidget(m_assignButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_combineGroup, 1);
    layout->addLayout(buttons);
    resize(720, 460);

    connect(m_favouritesList, &QListWidget::itemSelectionChanged, this, &CombineRoutinesDialog::pickFromFavourites);
    connect(m_nonFavouritesList, &QListWidget::itemSelectionChanged, this,
            &CombineRoutinesDialog::pickFromNonFavourites);
    connect(m_chainList, &QListWidget::itemSelectionChanged, this, &CombineRoutinesDialog::pickFromChain);
    connect(m_favouritesList, &QListWidget::itemDoubleClicked, this, &CombineRoutinesDialog::addPickedToChain);
    connect(m_nonFavouritesList, &QListWidget::itemDoubleClicked, this, &CombineRoutinesDialog::addPickedToChain);
    connect(m_addToChainButton, &QPushButton::clicked, this, &CombineRoutinesDialog::addPickedToChain);
    connect(m_removeFromChainButton, &QPushButton::clicked, this, &CombineRoutinesDialog::removePickedFromChain);
    connect(m_moveUpButton, &QPushButton::clicked, this, &CombineRoutinesDialog::movePickedUp);
    connect(m_moveDownButton, &QPushButton::clicked, this, &CombineRoutinesDialog::movePickedDown);
    connect(m_assignButton, &QPushButton::clicked, this, &CombineRoutinesDialog::assignCombination);
    connect(m_saveAsRoutineButton, &QPushButton::clicked, this, &CombineRoutinesDialog::saveAsRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &QDialog::accept);
}

void CombineRoutinesDialog::load()
{
    for (QPushButton* button : {m_removeFromChainButton, m_addToChainButton, m_assignButton, m_moveDownButton,
                                m_moveUpButton, m_saveAsRoutineButton})
        button->setEnabled(false);
    placeOnScreen();
    fillRoutineLists();
}

void CombineRoutinesDialog::fillRoutineLists()
{
    m_updating = true;
    m_favouritesList->clear();
    m_nonFavouritesList->clear();
    loadCatalogue();
    for (const Routine& routine : makeCatalogue()) {
        auto* item = new QListWidgetItem(toQString(std::string(trimSpaces(routine.description()))));
        item->setData(Qt::UserRole, int(routine.recordNumber()));
        (trimSpaces(routine.favourite()) == "Fav" ? m_favouritesList : m_nonFavouritesList)->addItem(item);
    }
    m_updating = false;
}

void CombineRoutinesDialog::placeOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 3);
}

void CombineRoutinesDialog::routineListClicked(QListWidget* clicked, const QString& which)
{
    if (m_updating)
        return;
    m_updating = true;
    QListWidget* other = clicked == m_favouritesList ? m_nonFavouritesList : m_favouritesList;
    if (m_pickedListKind == (which == QLatin1String("Fav") ? QLatin1String("Non") : QLatin1String("Fav")))
        other->clearSelection();
    else if (m_pickedListKind == QLatin1String("Com"))
        m_chainList->clearSelection();
    m_updating = false;
    m_moveDownButton->setEnabled(false);
    m_moveUpButton->setEnabled(false);
    m_removeFromChainButton->setEnabled(false);
    m_addToChainButton->setEnabled(true);
    m_pickedListKind = which;
}

void CombineRoutinesDialog::pickFromFavourites()
{
    routineListClicked(m_favouritesList, QStringLiteral("Fav"));
}

void CombineRoutinesDialog::pickFromNonFavourites()
{
    routineListClicked(m_nonFavouritesList, QStringLiteral("Non"));
}

void CombineRoutinesDialog::pickFromChain()
{
    if (m_updating)
        return;
    m_updating = true;
    if (m_pickedListKind == QLatin1String("Fav"))
        m_favouritesList->clearSelection();
    else if (m_pickedListKind == QLatin1String("Non"))
        m_nonFavouritesList->clearSelection();
    m_updating = false;
    m_removeFromChainButton->setEnabled(true);
    m_addToChainButton->setEnabled(false);
    const bool hasEntries = !m_chain.empty();
    m_moveUpButton->setEnabled(hasEntries);
    m_moveDownButton->setEnabled(hasEntries);
    m_pickedListKind = QStringLiteral("Com");
}

void CombineRoutinesDialog::addPickedToChain()
{
    const QListWidget* source = m_pickedListKind == QLatin1String("Fav") ? m_favouritesList : m_nonFavouritesList;
    addToChain(m_chain, chainEntries(source), selectionFlags(source));
    showChain();
    m_assignButton->setEnabled(!m_chain.empty());
    m_saveAsRoutineButton->setEnabled(!m_chain.empty());
}

void CombineRoutinesDialog::removePickedFromChain()
{
    removeFromChain(m_chain, selectionFlags(m_chainList));
    showChain();
    m_saveAsRoutineButton->setEnabled(!m_chain.empty());
    if (!m_chain.empty()) {
        m_assignButton->setEnabled(true);
    } else {
        m_assignButton->setEnabled(false);
        m_moveDownButton->setEnabled(false);
        m_moveUpButton->setEnabled(false);
    }
}

void CombineRoutinesDialog::movePickedUp()
{
    const int row = m_chainList->currentRow();
    if (row < 0)
        return;
    if (const auto moved = moveUpInChain(m_chain, std::size_t(row)))
        showChain(moved);
}

void CombineRoutinesDialog::movePickedDown()
{
    const int row = m_chainList->currentRow();
    if (row < 0)
        return;
    if (const auto moved = moveDownInChain(m_chain, std::size_t(row)))
        showChain(moved);
}

void CombineRoutinesDialog::showChain(std::optional<std::size_t> selectedPosition)
{
    m_updating = true;
    m_chainList->clear();
    for (const ChainEntry& entry : m_chain) {
        auto* item = new QListWidgetItem(toQString(entry.text));
        item->setData(Qt::UserRole, int(entry.recordNumber));
        m_chainList->addItem(item);
    }
    if (selectedPosition) {
        const int row = static_cast<int>(*selectedPosition);
        m_chainList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    m_updating = false;
}

void CombineRoutinesDialog::assignCombination()
{
    ProgramState& program = programState();
    program.combinedScript.clear();
    program.combinedScript = combineRoutines(m_chain, makeCatalogue());
    program.combinationMade = true;
    m_panel.assignCombinedRoutine();
    m_assignButton->setEnabled(false);
}

void CombineRoutinesDialog::saveAsRoutine()
{
    const std::string text = combineRoutines(m_chain, makeCatalogue());
    QStringList parts;
    for (const ChainEntry& entry : m_chain)
        parts << toQString(entry.text);
    const std::optional<QString> typed =
        userDialogs().inputBox(QStringLiteral("Name of the routine that holds this combination:"),
                               QStringLiteral("Save as Routine"), parts.join(QStringLiteral(" + ")));
    if (!typed)
        return;
    const SaveDecision decision = decideSaveRoutine(makeCatalogue(), toStd(*typed));
    std::optional<EditorRefusal> refusal = decision.refusal;
    bool stored = false;
    switch (decision.choice) {
    case SaveChoice::Refused:
        break;
    case SaveChoice::AskReplace:
        if (userDialogs().message(decision.question) != MessageAnswer::Yes)
            return;
        refusal = validateUpdate(makeCatalogue(), decision.name, text, decision.recordNumber);
        stored = !refusal &&
                 updateRoutineInDatabase(makeRoutineForUpdate(decision.name, text, false), decision.recordNumber);
        break;
    case SaveChoice::Add:
        refusal = validateAdd(makeCatalogue(), decision.name, text);
        stored = !refusal && addRoutineToDatabase(makeRoutineForAdd(decision.name, text, false)).has_value();
        break;
    }
    if (refusal)
        userDialogs().message(refusal->message);
    if (!stored)
        return;
    fillRoutineLists();

    // Drawings given this very combination now carry the saved routine, so a list saved from them finds it again.
    ProgramState& program = programState();
    MainWindow* window = mainWindow();
    if (window && program.combinationMade && program.combinedScript == text) {
        // One Undo step, like every other change of the list's routines.
        const DrawingListChange change(*window, QStringLiteral("Use Saved Routine"));
        window->drawingList()->rebuild([&decision](DrawingRows& rows) {
            for (DrawingRow& row : rows) {
                if (row.routine == kCombinedRoutines)
                    row.routine = decision.name;
            }
        });
    }
    m_panel.fillRoutineList();
    if (window)
        window->statusBar()->showMessage(
            QStringLiteral("The combination was saved as the routine \"%1\".").arg(toQString(decision.name)));
}

} // namespace qv
