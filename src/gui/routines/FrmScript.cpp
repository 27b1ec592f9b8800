#include "FrmScript.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "app/mdiStart.h"
#include "batch/BatchCheck.h"
#include "builders/DetailedPlotTab.h"
#include "builders/PageSetupAndSaveAsTabs.h"
#include "builders/PlotPrinter.h"
#include "builders/PurgeTab.h"
#include "config/CadProducts.h"
#include "config/Settings.h"
#include "routines/RoutineStore.h"
#include "routines/frmSaveRoutine.h"
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

std::int16_t RecordOf(const QListWidgetItem* item)
{
    return static_cast<std::int16_t>(item->data(Qt::UserRole).toInt());
}

QListWidgetItem* SelectedItem(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void AddEntries(QListWidget* list, const RoutineList& routines)
{
    for (const clsRoutine& routine : routines) {
        auto* item = new QListWidgetItem(ToQString(std::string(TrimSpaces(routine.Description()))), list);
        item->setData(Qt::UserRole, static_cast<int>(routine.RecordNumber()));
    }
}

} // namespace

FrmScript::FrmScript(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmScript"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    buildControls();
    addBuilders();
    resize(1020, 580);
}

void FrmScript::addBuilders()
{
    // Each builder sets itself up the first time its tab is shown in this opening of the editor.
    auto* purge = new PurgeTab(this);
    setTabPage(TabPurge, purge);
    connect(this, &FrmScript::tabSelected, purge, [purge](int tab) {
        if (tab == TabPurge && !purge->isSetUp())
            purge->SetupPurgeTab();
    });
    connect(purge, &PurgeTab::routineBuilt, this, [this](const QString& text) {
        setScriptText(text.toStdString());
        OpenSaveDialog();
    });
    connect(purge, &PurgeTab::backRequested, this, &FrmScript::cmdExit_Click);

    auto* plot = new DetailedPlotTab(this);
    setTabPage(TabPlotDetailed, plot);
    connect(this, &FrmScript::tabSelected, plot, [plot](int tab) {
        if (tab == TabPlotDetailed && !plot->isSetUp())
            plot->InitDetailedPlotTab();
    });
    connect(plot, &DetailedPlotTab::routineBuilt, this, [this](const QString& text) {
        setScriptText(text.toStdString());
        OpenSaveDialog();
    });
    connect(plot, &DetailedPlotTab::backRequested, this, &FrmScript::cmdExit_Click);
    AddPageSetupAndSaveAsTabs(*this);
}

void FrmScript::buildControls()
{
    TabScriptRoutine = new QTabWidget(this);
    TabScriptRoutine->setObjectName(QStringLiteral("TabScriptRoutine"));
    const QString captions[kTabCount] = {QStringLiteral("Macro"),
                                         QStringLiteral("Plot - Detailed Setup"),
                                         QStringLiteral("Plot - Page Setup"),
                                         QStringLiteral("Save As Drawing/DXF"),
                                         QStringLiteral("Purge"),
                                         QStringLiteral("Import Page Setup")};
    for (int i = 0; i < kTabCount; ++i) {
        auto* page = new QWidget(TabScriptRoutine);
        page->setObjectName(QStringLiteral("picScriptRoutine_%1").arg(i));
        auto* layout = new QVBoxLayout(page);
        if (i == 0)
            layout->addWidget(buildMacroTab());
        picScriptRoutine[static_cast<std::size_t>(i)] = page;
        TabScriptRoutine->addTab(page, captions[i]);
        // A builder's tab is offered once its builder has been put in (setTabPage).
        TabScriptRoutine->setTabEnabled(i, i == 0);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabScriptRoutine);

    connect(TabScriptRoutine, &QTabWidget::currentChanged, this, &FrmScript::TabScriptRoutine_Click);
}

QWidget* FrmScript::buildMacroTab()
{
    auto* macro = new QWidget(this);

    fraList = new QGroupBox(macro);
    fraList->setObjectName(QStringLiteral("fraList"));
    lstActionDesFav = MakeList(fraList, "lstActionDesFav", QStringLiteral("Current list of Favourite Routines"),
                               QAbstractItemView::SingleSelection);
    lstActionDesNon = MakeList(fraList, "lstActionDesNon", QStringLiteral("Current list of Non Favourite Routines"),
                               QAbstractItemView::SingleSelection);
    cmdToNon =
        MakeDialogButton(fraList, "cmdToNon", QStringLiteral(">>"), QStringLiteral("Transfer to Non Favourites list"));
    cmdToFav =
        MakeDialogButton(fraList, "cmdToFav", QStringLiteral("<<"), QStringLiteral("Transfer to Favourites list"));
    auto* favLabel = new QLabel(QStringLiteral("Favourites"), fraList);
    favLabel->setBuddy(lstActionDesFav);
    auto* nonLabel = new QLabel(QStringLiteral("Non Favourites"), fraList);
    nonLabel->setBuddy(lstActionDesNon);
    auto* transfer = new QVBoxLayout();
    transfer->addStretch();
    transfer->addWidget(cmdToNon);
    transfer->addWidget(cmdToFav);
    transfer->addStretch();
    auto* lists = new QGridLayout(fraList);
    lists->addWidget(favLabel, 0, 0);
    lists->addWidget(nonLabel, 0, 2);
    lists->addWidget(lstActionDesFav, 1, 0);
    lists->addLayout(transfer, 1, 1);
    lists->addWidget(lstActionDesNon, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    txtDescription = new QLineEdit(macro);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    auto* descriptionLabel = new QLabel(QStringLiteral("Routine Description"), macro);
    descriptionLabel->setBuddy(txtDescription);
    txtAction = new QPlainTextEdit(macro);
    txtAction->setObjectName(QStringLiteral("txtAction"));
    txtAction->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAction->setTabChangesFocus(true);
    txtAction->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* actionLabel = new QLabel(QStringLiteral("Script Routine"), macro);
    actionLabel->setBuddy(txtAction);

    cmdAddAction = MakeDialogButton(macro, "cmdAddAction", QStringLiteral("Add New Routine"),
                                    QStringLiteral("Add New Routine to Database"));
    cmdUpdate = MakeDialogButton(macro, "cmdUpdate", QStringLiteral("Update Routine"),
                                 QStringLiteral("Update Routine in Database"));
    cmdDelete = MakeDialogButton(macro, "cmdDelete", QStringLiteral("Delete Routine"),
                                 QStringLiteral("Delete Routine from Database"));
    cmdExit =
        MakeDialogButton(macro, "cmdExit", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));

    auto* editing = new QVBoxLayout();
    editing->addWidget(descriptionLabel);
    editing->addWidget(txtDescription);
    editing->addWidget(actionLabel);
    editing->addWidget(txtAction, 1);
    auto* top = new QHBoxLayout();
    top->addWidget(fraList, 3);
    top->addLayout(editing, 2);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(cmdAddAction);
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(macro);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    setTabOrder(lstActionDesFav, cmdToNon);
    setTabOrder(cmdToNon, cmdToFav);
    setTabOrder(cmdToFav, lstActionDesNon);
    setTabOrder(lstActionDesNon, txtDescription);
    setTabOrder(txtDescription, txtAction);
    setTabOrder(txtAction, cmdAddAction);
    setTabOrder(cmdAddAction, cmdUpdate);
    setTabOrder(cmdUpdate, cmdDelete);
    setTabOrder(cmdDelete, cmdExit);

    connect(lstActionDesFav, &QListWidget::itemSelectionChanged, this,
            [this] { listPicked(SelectedItem(lstActionDesFav), true); });
    connect(lstActionDesNon, &QListWidget::itemSelectionChanged, this,
            [this] { listPicked(SelectedItem(lstActionDesNon), false); });
    connect(cmdToNon, &QPushButton::clicked, this, &FrmScript::cmdToNon_Click);
    connect(cmdToFav, &QPushButton::clicked, this, &FrmScript::cmdToFav_Click);
    connect(cmdAddAction, &QPushButton::clicked, this, &FrmScript::cmdAddAction_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &FrmScript::cmdUpdate_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &FrmScript::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, &FrmScript::cmdExit_Click);
    return macro;
}

void FrmScript::Form_Load()
{
    m_closing = false;
    cmdToFav->setEnabled(false);
    cmdToNon->setEnabled(false);
    Program().Release2004OrLater = IsRelease2004OrLater(GetAcadVer(Program().ini));
    // The plot tabs choose among the printers and plotter files; the list lives while the editor is open.
    PlotDeviceList::instance().BuildDeviceList(Program().ini);
    LoadRoutineLists();
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    if (Program().editorTab != kNoTab)
        selectTab(Program().editorTab);
}

QWidget* FrmScript::tabPage(int tab) const
{
    if (tab < 1 || tab > kTabCount)
        return nullptr;
    return picScriptRoutine[static_cast<std::size_t>(tab - 1)];
}

void FrmScript::setTabPage(int tab, QWidget* builder)
{
    QWidget* page = tabPage(tab);
    if (!page || !builder || tab == TabMacro)
        return;
    page->layout()->addWidget(builder);
    TabScriptRoutine->setTabEnabled(tab - 1, true);
}

void FrmScript::selectTab(int tab)
{
    if (tab < 1 || tab > kTabCount)
        return;
    const int index = tab - 1;
    if (!TabScriptRoutine->isTabEnabled(index)) {
        TabScriptRoutine->setCurrentIndex(0);
        return;
    }
    if (TabScriptRoutine->currentIndex() == index)
        TabScriptRoutine_Click(index);
    else
        TabScriptRoutine->setCurrentIndex(index);
}

void FrmScript::TabScriptRoutine_Click(int index)
{
    const int tab = index + 1;
    if (tab == TabPlotDetailed || tab == TabPlotPage || tab == TabImportPageSetup)
        ReleaseCheck();
    emit tabSelected(tab);
}

void FrmScript::ReleaseCheck()
{
    const std::string code = GetAcadVer(Program().ini);
    if (IsRelease2004OrLater(code)) {
        Program().Release2004OrLater = true;
    } else if (Is2000Syntax(code)) {
        Program().Release2004OrLater = false;
    } else {
        Dialogs().show("This wizard creates a routine only used in Rel 2000 to 2014 and LT2000 to LT2014",
                       "Wizard Information", MessageIcon::Exclamation);
    }
}

std::string FrmScript::scriptText() const
{
    // The raw text keeps non-breaking spaces; paragraph separators are the line breaks.
    QString text = txtAction->document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    return ToStd(text);
}

void FrmScript::setScriptText(const std::string& text)
{
    txtAction->setPlainText(ToQString(text));
}

void FrmScript::fillLists()
{
    const FavouriteSplit split = SplitFavourites(Catalogue());
    for (QListWidget* list : {lstActionDesFav, lstActionDesNon}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    AddEntries(lstActionDesFav, split.favourites);
    AddEntries(lstActionDesNon, split.nonFavourites);
    // Nothing is selected any more, so there is nothing to transfer.
    cmdToFav->setEnabled(false);
    cmdToNon->setEnabled(false);
    refreshCaption();
}

void FrmScript::refreshCaption()
{
    fraList->setTitle(
        ToQString(RoutineListCaption(static_cast<std::size_t>(lstActionDesFav->count() + lstActionDesNon->count()))));
}

void FrmScript::LoadRoutineLists()
{
    LoadCatalogue();
    fillLists();
    txtAction->clear();
    txtDescription->clear();
}

void FrmScript::listPicked(QListWidgetItem* item, bool favourites)
{
    if (!item)
        return;
    // One pick at a time: the other list's old selection would be what a later delete refers to.
    QListWidget* other = favourites ? lstActionDesNon : lstActionDesFav;
    {
        const QSignalBlocker blocker(other);
        other->clearSelection();
    }
    cmdToFav->setEnabled(!favourites);
    cmdToNon->setEnabled(favourites);
    lblFavNon = favourites ? QStringLiteral("FAV") : QStringLiteral("NON");
    txtSaveList = QStringLiteral("Macro");
    Program().NonFavourite = !favourites;
    ShowRoutine(RecordOf(item));
    cmdUpdate->setEnabled(true);
    cmdDelete->setEnabled(true);
}

void FrmScript::ShowRoutine(std::int16_t recordNumber)
{
    const auto shown = qv::ShowRoutine(Catalogue(), recordNumber);
    if (!shown)
        return;
    setScriptText(shown->text);
    txtDescription->setText(ToQString(shown->description));
    Program().NonFavourite = shown->nonFavourite;
}

// The routine checked on its own against the configured host's prompts; the user may save it anyway.
bool FrmScript::hostWouldTake(const std::string& text)
{
    const Result<std::vector<CheckProblem>> problems = CheckRoutineText(text, {GetAcadVer(Program().ini), {}, {}, {}});
    if (!problems)
        return true; // no product configured yet: nothing to check against
    const std::optional<UserMessage> question = RoutineCheckQuestion(problems.value());
    if (!question || Dialogs().message(*question) == MessageAnswer::Yes)
        return true;
    txtAction->setFocus();
    return false;
}

bool FrmScript::selectRoutine(const QString& description)
{
    for (QListWidget* list : {lstActionDesFav, lstActionDesNon}) {
        const QList<QListWidgetItem*> found = list->findItems(description.trimmed(), Qt::MatchExactly);
        if (!found.isEmpty()) {
            selectTab(TabMacro);
            list->setCurrentItem(found.front());
            listPicked(found.front(), list == lstActionDesFav);
            return true;
        }
    }
    return false;
}

void FrmScript::setSaveListChoice(std::int16_t recordNumber)
{
    txtSaveList = QStringLiteral("SaveList");
    m_saveListRecord = recordNumber;
}

std::optional<std::int16_t> FrmScript::selectedRecord() const
{
    if (txtSaveList == QStringLiteral("Macro")) {
        const QListWidgetItem* item = SelectedItem(cmdToNon->isEnabled() ? lstActionDesFav : lstActionDesNon);
        if (!item)
            return std::nullopt;
        return RecordOf(item);
    }
    if (txtSaveList == QStringLiteral("SaveList"))
        return m_saveListRecord;
    return std::nullopt;
}

FrmScript::StoreResult FrmScript::refuse(const EditorRefusal& refusal)
{
    Dialogs().message(refusal.message);
    if (refusal.focus == EditorField::Action) {
        txtAction->setFocus();
        txtAction->selectAll();
        return StoreResult::RefusedScript;
    }
    txtDescription->setFocus();
    txtDescription->selectAll();
    return StoreResult::RefusedDescription;
}

FrmScript::StoreResult FrmScript::AddRoutine()
{
    const std::string description = ToStd(txtDescription->text());
    const std::string text = scriptText();
    if (auto refusal = ValidateAdd(Catalogue(), description, text))
        return refuse(*refusal);
    if (!hostWouldTake(text))
        return StoreResult::RefusedScript;
    // The description is stored as typed; lists and look-ups trim it.
    if (!AddRoutineToDatabase(MakeRoutineForAdd(description, text, Program().NonFavourite)))
        return StoreResult::NotStored; // the boxes keep the user's text
    LoadRoutineLists();
    emit routineAddedOrDeleted();
    return StoreResult::Stored;
}

FrmScript::StoreResult FrmScript::UpdateRoutine()
{
    const auto recordNumber = selectedRecord();
    if (!recordNumber)
        return StoreResult::NotStored;
    const std::string description = ToStd(txtDescription->text());
    const std::string text = scriptText();
    if (auto refusal = ValidateUpdate(Catalogue(), description, text, *recordNumber))
        return refuse(*refusal);
    if (!hostWouldTake(text))
        return StoreResult::RefusedScript;
    if (!UpdateRoutineInDatabase(MakeRoutineForUpdate(description, text, Program().NonFavourite), *recordNumber))
        return StoreResult::NotStored;
    LoadRoutineLists();
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    return StoreResult::Stored;
}

void FrmScript::DeleteRoutine()
{
    const QListWidgetItem* item = SelectedItem(lblFavNon == QStringLiteral("FAV") ? lstActionDesFav : lstActionDesNon);
    if (!item)
        return;
    const std::int16_t recordNumber = RecordOf(item);
    if (Dialogs().show("Are you sure you want to delete the selected Routine", "Confirm Delete", MessageIcon::None,
                       MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    if (!UpdateRoutineInDatabase(MakeDeletedRoutine(Program().NonFavourite), recordNumber))
        return;
    LoadRoutineLists();
    emit routineAddedOrDeleted();
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
}

void FrmScript::cmdAddAction_Click()
{
    AddRoutine();
}

void FrmScript::cmdUpdate_Click()
{
    UpdateRoutine();
}

void FrmScript::cmdDelete_Click()
{
    DeleteRoutine();
}

void FrmScript::cmdToFav_Click()
{
    const bool before = Program().NonFavourite;
    Program().NonFavourite = false;
    if (UpdateRoutine() == StoreResult::Stored)
        cmdToFav->setEnabled(false);
    else
        Program().NonFavourite = before; // a refused transfer leaves the routine's marker as it was
}

void FrmScript::cmdToNon_Click()
{
    const bool before = Program().NonFavourite;
    Program().NonFavourite = true;
    if (UpdateRoutine() == StoreResult::Stored)
        cmdToNon->setEnabled(false);
    else
        Program().NonFavourite = before;
}

void FrmScript::OpenSaveDialog()
{
    frmSaveRoutine dialog(*this, this);
    dialog.exec();
    if (!dialog.stored()) {
        // Opening the save dialog emptied the lists; show them again, with nothing picked.
        fillLists();
        cmdUpdate->setEnabled(false);
        cmdDelete->setEnabled(false);
    }
}

void FrmScript::cmdExit_Click()
{
    closeEditor(QDialog::Accepted);
}

void FrmScript::reject()
{
    // Escape and the title bar's close button leave the editor the same way as "<< Back to Main".
    closeEditor(QDialog::Rejected);
}

void FrmScript::closeEditor(int result)
{
    if (m_closing)
        return;
    m_closing = true;
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    EnableStartAndSort();
    Program().editorTab = kNoTab;
    PlotDeviceList::instance().Release();
    QDialog::done(result);
    emit closedToMain();
}

} // namespace qv
