#include "RoutineEditor.h"

#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/BatchCheck.h"
#include "builders/DetailedPlotTab.h"
#include "builders/PageSetupAndSaveAsTabs.h"
#include "builders/PlotDeviceList.h"
#include "builders/PurgeTab.h"
#include "config/CadProducts.h"
#include "config/Settings.h"
#include "routines/RoutineStore.h"
#include "routines/SaveRoutineDialog.h"
#include "text/TextUtil.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace qv {
namespace {

std::int16_t recordNumberOf(const QListWidgetItem* item)
{
    return static_cast<std::int16_t>(item->data(Qt::UserRole).toInt());
}

QListWidgetItem* selectedItem(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void addRoutineItems(QListWidget* list, const RoutineList& routines)
{
    for (const Routine& routine : routines) {
        auto* item = new QListWidgetItem(toQString(std::string(trimSpaces(routine.description()))), list);
        item->setData(Qt::UserRole, static_cast<int>(routine.recordNumber()));
    }
}

} // namespace

RoutineEditor::RoutineEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmScript"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    buildControls();
    addBuilders();
    resize(1020, 580);
}

void RoutineEditor::addBuilders()
{
    // Each builder sets itself up the first time its tab is shown in this opening of the editor.
    auto* purge = new PurgeTab(this);
    setTabPage(TabPurge, purge);
    connect(this, &RoutineEditor::tabSelected, purge, [purge](int tab) {
        if (tab == TabPurge && !purge->isSetUp())
            purge->setUp();
    });
    connect(purge, &PurgeTab::routineBuilt, this, [this](const QString& text) {
        setScriptText(text.toStdString());
        openSaveDialog();
    });
    connect(purge, &PurgeTab::backRequested, this, &RoutineEditor::returnToMain);

    auto* plot = new DetailedPlotTab(this);
    setTabPage(TabPlotDetailed, plot);
    connect(this, &RoutineEditor::tabSelected, plot, [plot](int tab) {
        if (tab == TabPlotDetailed && !plot->isSetUp())
            plot->setUp();
    });
    connect(plot, &DetailedPlotTab::routineBuilt, this, [this](const QString& text) {
        setScriptText(text.toStdString());
        openSaveDialog();
    });
    connect(plot, &DetailedPlotTab::backRequested, this, &RoutineEditor::returnToMain);
    addPageSetupAndSaveAsTabs(*this);
}

void RoutineEditor::buildControls()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("TabScriptRoutine"));
    const QString captions[kTabCount] = {QStringLiteral("Macro"),
                                         QStringLiteral("Plot - Detailed Setup"),
                                         QStringLiteral("Plot - Page Setup"),
                                         QStringLiteral("Save As Drawing/DXF"),
                                         QStringLiteral("Purge"),
                                         QStringLiteral("Import Page Setup")};
    for (int i = 0; i < kTabCount; ++i) {
        auto* page = new QWidget(m_tabs);
        page->setObjectName(QStringLiteral("picScriptRoutine_%1").arg(i));
        auto* layout = new QVBoxLayout(page);
        if (i == 0)
            layout->addWidget(buildMacroTab());
        m_tabPages[static_cast<std::size_t>(i)] = page;
        m_tabs->addTab(page, captions[i]);
        // A builder's tab is offered once its builder has been put in (setTabPage).
        m_tabs->setTabEnabled(i, i == 0);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);

    connect(m_tabs, &QTabWidget::currentChanged, this, &RoutineEditor::activateTab);
}

QWidget* RoutineEditor::buildMacroTab()
{
    auto* macro = new QWidget(this);

    m_routinesGroup = new QGroupBox(macro);
    m_routinesGroup->setObjectName(QStringLiteral("fraList"));
    m_favouritesList =
        makeList(m_routinesGroup, "lstActionDesFav", QStringLiteral("Current list of Favourite Routines"),
                 QAbstractItemView::SingleSelection);
    m_nonFavouritesList =
        makeList(m_routinesGroup, "lstActionDesNon", QStringLiteral("Current list of Non Favourite Routines"),
                 QAbstractItemView::SingleSelection);
    m_toNonFavouritesButton = makeDialogButton(m_routinesGroup, "cmdToNon", QStringLiteral(">>"),
                                               QStringLiteral("Transfer to Non Favourites list"));
    m_toFavouritesButton = makeDialogButton(m_routinesGroup, "cmdToFav", QStringLiteral("<<"),
                                            QStringLiteral("Transfer to Favourites list"));
    auto* favLabel = new QLabel(QStringLiteral("Favourites"), m_routinesGroup);
    favLabel->setBuddy(m_favouritesList);
    auto* nonLabel = new QLabel(QStringLiteral("Non Favourites"), m_routinesGroup);
    nonLabel->setBuddy(m_nonFavouritesList);
    auto* transfer = new QVBoxLayout();
    transfer->addStretch();
    transfer->addWidget(m_toNonFavouritesButton);
    transfer->addWidget(m_toFavouritesButton);
    transfer->addStretch();
    auto* lists = new QGridLayout(m_routinesGroup);
    lists->addWidget(favLabel, 0, 0);
    lists->addWidget(nonLabel, 0, 2);
    lists->addWidget(m_favouritesList, 1, 0);
    lists->addLayout(transfer, 1, 1);
    lists->addWidget(m_nonFavouritesList, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    m_descriptionEdit = new QLineEdit(macro);
    m_descriptionEdit->setObjectName(QStringLiteral("txtDescription"));
    auto* descriptionLabel = new QLabel(QStringLiteral("Routine Description"), macro);
    descriptionLabel->setBuddy(m_descriptionEdit);
    m_scriptEdit = new QPlainTextEdit(macro);
    m_scriptEdit->setObjectName(QStringLiteral("txtAction"));
    m_scriptEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_scriptEdit->setTabChangesFocus(true);
    m_scriptEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* actionLabel = new QLabel(QStringLiteral("Script Routine"), macro);
    actionLabel->setBuddy(m_scriptEdit);

    m_addButton = makeDialogButton(macro, "cmdAddAction", QStringLiteral("Add New Routine"),
                                   QStringLiteral("Add New Routine to Database"));
    m_updateButton = makeDialogButton(macro, "cmdUpdate", QStringLiteral("Update Routine"),
                                      QStringLiteral("Update Routine in Database"));
    m_deleteButton = makeDialogButton(macro, "cmdDelete", QStringLiteral("Delete Routine"),
                                      QStringLiteral("Delete Routine from Database"));
    m_backButton =
        makeDialogButton(macro, "cmdExit", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));

    auto* editing = new QVBoxLayout();
    editing->addWidget(descriptionLabel);
    editing->addWidget(m_descriptionEdit);
    editing->addWidget(actionLabel);
    editing->addWidget(m_scriptEdit, 1);
    auto* top = new QHBoxLayout();
    top->addWidget(m_routinesGroup, 3);
    top->addLayout(editing, 2);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_updateButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_backButton);
    auto* layout = new QVBoxLayout(macro);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    setTabOrder(m_favouritesList, m_toNonFavouritesButton);
    setTabOrder(m_toNonFavouritesButton, m_toFavouritesButton);
    setTabOrder(m_toFavouritesButton, m_nonFavouritesList);
    setTabOrder(m_nonFavouritesList, m_descriptionEdit);
    setTabOrder(m_descriptionEdit, m_scriptEdit);
    setTabOrder(m_scriptEdit, m_addButton);
    setTabOrder(m_addButton, m_updateButton);
    setTabOrder(m_updateButton, m_deleteButton);
    setTabOrder(m_deleteButton, m_backButton);

    connect(m_favouritesList, &QListWidget::itemSelectionChanged, this,
            [this] { listPicked(selectedItem(m_favouritesList), true); });
    connect(m_nonFavouritesList, &QListWidget::itemSelectionChanged, this,
            [this] { listPicked(selectedItem(m_nonFavouritesList), false); });
    connect(m_toNonFavouritesButton, &QPushButton::clicked, this, &RoutineEditor::moveToNonFavourites);
    connect(m_toFavouritesButton, &QPushButton::clicked, this, &RoutineEditor::moveToFavourites);
    connect(m_addButton, &QPushButton::clicked, this, &RoutineEditor::addTypedRoutine);
    connect(m_updateButton, &QPushButton::clicked, this, &RoutineEditor::updatePickedRoutine);
    connect(m_deleteButton, &QPushButton::clicked, this, &RoutineEditor::deletePickedRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &RoutineEditor::returnToMain);
    return macro;
}

void RoutineEditor::load()
{
    m_closing = false;
    m_toFavouritesButton->setEnabled(false);
    m_toNonFavouritesButton->setEnabled(false);
    programState().release2004OrLater = isRelease2004OrLater(readProductCode(programState().settings));
    // The plot tabs choose among the printers and plotter files; the list lives while the editor is open.
    PlotDeviceList::instance().build(programState().settings);
    loadRoutineLists();
    m_updateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    if (programState().editorTab != kNoTab)
        selectTab(programState().editorTab);
}

QWidget* RoutineEditor::tabPage(int tab) const
{
    if (tab < 1 || tab > kTabCount)
        return nullptr;
    return m_tabPages[static_cast<std::size_t>(tab - 1)];
}

void RoutineEditor::setTabPage(int tab, QWidget* builder)
{
    QWidget* page = tabPage(tab);
    if (!page || !builder || tab == TabMacro)
        return;
    page->layout()->addWidget(builder);
    m_tabs->setTabEnabled(tab - 1, true);
}

void RoutineEditor::selectTab(int tab)
{
    if (tab < 1 || tab > kTabCount)
        return;
    const int index = tab - 1;
    if (!m_tabs->isTabEnabled(index)) {
        m_tabs->setCurrentIndex(0);
        return;
    }
    if (m_tabs->currentIndex() == index)
        activateTab(index);
    else
        m_tabs->setCurrentIndex(index);
}

void RoutineEditor::activateTab(int index)
{
    const int tab = index + 1;
    if (tab == TabPlotDetailed || tab == TabPlotPage || tab == TabImportPageSetup)
        checkProductRelease();
    emit tabSelected(tab);
}

void RoutineEditor::checkProductRelease()
{
    const std::string code = readProductCode(programState().settings);
    if (isRelease2004OrLater(code)) {
        programState().release2004OrLater = true;
    } else if (uses2000Syntax(code)) {
        programState().release2004OrLater = false;
    } else {
        userDialogs().show("This wizard creates a routine only used in Rel 2000 to 2014 and LT2000 to LT2014",
                           "Wizard Information", MessageIcon::Exclamation);
    }
}

std::string RoutineEditor::scriptText() const
{
    // The raw text keeps non-breaking spaces; paragraph separators are the line breaks.
    QString text = m_scriptEdit->document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    return toStd(text);
}

void RoutineEditor::setScriptText(const std::string& text)
{
    m_scriptEdit->setPlainText(toQString(text));
}

void RoutineEditor::fillLists()
{
    const FavouriteSplit split = splitFavourites(makeCatalogue());
    for (QListWidget* list : {m_favouritesList, m_nonFavouritesList}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    addRoutineItems(m_favouritesList, split.favourites);
    addRoutineItems(m_nonFavouritesList, split.nonFavourites);
    // Nothing is selected any more, so there is nothing to transfer.
    m_toFavouritesButton->setEnabled(false);
    m_toNonFavouritesButton->setEnabled(false);
    refreshCaption();
}

void RoutineEditor::refreshCaption()
{
    m_routinesGroup->setTitle(toQString(
        routineListCaption(static_cast<std::size_t>(m_favouritesList->count() + m_nonFavouritesList->count()))));
}

void RoutineEditor::loadRoutineLists()
{
    loadCatalogue();
    fillLists();
    m_scriptEdit->clear();
    m_descriptionEdit->clear();
}

void RoutineEditor::listPicked(QListWidgetItem* item, bool favourites)
{
    if (!item)
        return;
    // One pick at a time: the other list's old selection would be what a later delete refers to.
    QListWidget* other = favourites ? m_nonFavouritesList : m_favouritesList;
    {
        const QSignalBlocker blocker(other);
        other->clearSelection();
    }
    m_toFavouritesButton->setEnabled(!favourites);
    m_toNonFavouritesButton->setEnabled(favourites);
    m_pickedListKind = favourites ? QStringLiteral("FAV") : QStringLiteral("NON");
    m_pickOrigin = QStringLiteral("Macro");
    programState().routineIsNonFavourite = !favourites;
    showRoutine(recordNumberOf(item));
    m_updateButton->setEnabled(true);
    m_deleteButton->setEnabled(true);
}

void RoutineEditor::showRoutine(std::int16_t recordNumber)
{
    const auto shown = qv::routineToShow(makeCatalogue(), recordNumber);
    if (!shown)
        return;
    setScriptText(shown->text);
    m_descriptionEdit->setText(toQString(shown->description));
    programState().routineIsNonFavourite = shown->nonFavourite;
}

// The routine checked on its own against the configured host's prompts; the user may save it anyway.
bool RoutineEditor::hostWouldTake(const std::string& text)
{
    const Result<std::vector<CheckProblem>> problems =
        checkRoutineText(text, {readProductCode(programState().settings), {}, {}, {}});
    if (!problems)
        return true; // no product configured yet: nothing to check against
    const std::optional<UserMessage> question = routineCheckQuestion(problems.value());
    if (!question || userDialogs().message(*question) == MessageAnswer::Yes)
        return true;
    m_scriptEdit->setFocus();
    return false;
}

bool RoutineEditor::selectRoutine(const QString& description)
{
    for (QListWidget* list : {m_favouritesList, m_nonFavouritesList}) {
        const QList<QListWidgetItem*> found = list->findItems(description.trimmed(), Qt::MatchExactly);
        if (!found.isEmpty()) {
            selectTab(TabMacro);
            list->setCurrentItem(found.front());
            listPicked(found.front(), list == m_favouritesList);
            return true;
        }
    }
    return false;
}

void RoutineEditor::setSaveListChoice(std::int16_t recordNumber)
{
    m_pickOrigin = QStringLiteral("SaveList");
    m_saveListRecord = recordNumber;
}

std::optional<std::int16_t> RoutineEditor::selectedRecord() const
{
    if (m_pickOrigin == QStringLiteral("Macro")) {
        const QListWidgetItem* item =
            selectedItem(m_toNonFavouritesButton->isEnabled() ? m_favouritesList : m_nonFavouritesList);
        if (!item)
            return std::nullopt;
        return recordNumberOf(item);
    }
    if (m_pickOrigin == QStringLiteral("SaveList"))
        return m_saveListRecord;
    return std::nullopt;
}

RoutineEditor::StoreResult RoutineEditor::refuse(const EditorRefusal& refusal)
{
    userDialogs().message(refusal.message);
    if (refusal.focus == EditorField::Action) {
        m_scriptEdit->setFocus();
        m_scriptEdit->selectAll();
        return StoreResult::RefusedScript;
    }
    m_descriptionEdit->setFocus();
    m_descriptionEdit->selectAll();
    return StoreResult::RefusedDescription;
}

RoutineEditor::StoreResult RoutineEditor::addRoutine()
{
    const std::string description = toStd(m_descriptionEdit->text());
    const std::string text = scriptText();
    if (auto refusal = validateAdd(makeCatalogue(), description, text))
        return refuse(*refusal);
    if (!hostWouldTake(text))
        return StoreResult::RefusedScript;
    // The description is stored as typed; lists and look-ups trim it.
    if (!addRoutineToDatabase(makeRoutineForAdd(description, text, programState().routineIsNonFavourite)))
        return StoreResult::NotStored; // the boxes keep the user's text
    loadRoutineLists();
    emit routineAddedOrDeleted();
    emit routineSaved(toQString(std::string(trimSpaces(description))));
    return StoreResult::Stored;
}

RoutineEditor::StoreResult RoutineEditor::updateRoutine()
{
    const auto recordNumber = selectedRecord();
    if (!recordNumber)
        return StoreResult::NotStored;
    const std::string description = toStd(m_descriptionEdit->text());
    const std::string text = scriptText();
    if (auto refusal = validateUpdate(makeCatalogue(), description, text, *recordNumber))
        return refuse(*refusal);
    if (!hostWouldTake(text))
        return StoreResult::RefusedScript;
    if (!updateRoutineInDatabase(makeRoutineForUpdate(description, text, programState().routineIsNonFavourite),
                                 *recordNumber))
        return StoreResult::NotStored;
    loadRoutineLists();
    m_updateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    emit routineSaved(toQString(std::string(trimSpaces(description))));
    return StoreResult::Stored;
}

void RoutineEditor::deleteRoutine()
{
    const QListWidgetItem* item =
        selectedItem(m_pickedListKind == QStringLiteral("FAV") ? m_favouritesList : m_nonFavouritesList);
    if (!item)
        return;
    const std::int16_t recordNumber = recordNumberOf(item);
    if (userDialogs().show("Are you sure you want to delete the selected Routine", "Confirm Delete", MessageIcon::None,
                           MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    if (!updateRoutineInDatabase(makeDeletedRoutine(programState().routineIsNonFavourite), recordNumber))
        return;
    loadRoutineLists();
    emit routineAddedOrDeleted();
    m_updateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
}

void RoutineEditor::addTypedRoutine()
{
    addRoutine();
}

void RoutineEditor::updatePickedRoutine()
{
    updateRoutine();
}

void RoutineEditor::deletePickedRoutine()
{
    deleteRoutine();
}

void RoutineEditor::moveToFavourites()
{
    const bool before = programState().routineIsNonFavourite;
    programState().routineIsNonFavourite = false;
    if (updateRoutine() == StoreResult::Stored)
        m_toFavouritesButton->setEnabled(false);
    else
        programState().routineIsNonFavourite = before; // a refused transfer leaves the routine's marker as it was
}

void RoutineEditor::moveToNonFavourites()
{
    const bool before = programState().routineIsNonFavourite;
    programState().routineIsNonFavourite = true;
    if (updateRoutine() == StoreResult::Stored)
        m_toNonFavouritesButton->setEnabled(false);
    else
        programState().routineIsNonFavourite = before;
}

void RoutineEditor::openSaveDialog()
{
    SaveRoutineDialog dialog(*this, this);
    dialog.exec();
    if (!dialog.hasStoredRoutine()) {
        // Opening the save dialog emptied the lists; show them again, with nothing picked.
        fillLists();
        m_updateButton->setEnabled(false);
        m_deleteButton->setEnabled(false);
    }
}

void RoutineEditor::returnToMain()
{
    closeEditor(QDialog::Accepted);
}

void RoutineEditor::reject()
{
    // Escape and the title bar's close button leave the editor the same way as "<< Back to Main".
    closeEditor(QDialog::Rejected);
}

void RoutineEditor::closeEditor(int result)
{
    if (m_closing)
        return;
    m_closing = true;
    m_updateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    enableStartAndSort();
    programState().editorTab = kNoTab;
    PlotDeviceList::instance().release();
    QDialog::done(result);
    emit closedToMain();
}

} // namespace qv
