#include "ActionPanel.h"

#include "StreamReader.h"
#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/DrawingList.h"
#include "batch/DrawingListFile.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/ScriptWriter.h"
#include "config/CadProducts.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "routines/CombineRoutinesDialog.h"
#include "routines/RoutineEditor.h"
#include "routines/RoutineStore.h"
#include "text/TextUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr const char* kShowNonFavourites = "Show Non Favourites";
constexpr const char* kShowFavourites = "Show Favourites";
constexpr const char* kCollated = "Collated 1,2,3..1,2,3";
constexpr const char* kNotCollated = "Not Collated 1,1,1..2,2,2";

// A window whose closing means the routine database may have changed: our own modal windows, not the
// message boxes and file dialogs they show.
bool isModalWindowOfOurs(QObject* object)
{
    auto* dialog = qobject_cast<QDialog*>(object);
    return dialog && dialog->isWindow() && dialog->isModal() && !qobject_cast<QMessageBox*>(dialog) &&
           !qobject_cast<QFileDialog*>(dialog) && !qobject_cast<QInputDialog*>(dialog);
}

} // namespace

QString missingRoutinesNoticeText()
{
    const QString br = QStringLiteral("\r\n");
    return QStringLiteral("Quorvel comes with a default set of routines these appear to be missing. ") +
           QStringLiteral("Windows sometimes uses the default location for the routine database file") + br +
           QStringLiteral("C:\\Users\\*********\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Quorvel, ") +
           QStringLiteral("although the location we specified in Quorvel is different.") + br + br +
           QStringLiteral("The solution we found is to copy the file Batch_CAD.dat to the new ") + br +
           QStringLiteral("location under My Documents and then specify this new location in Quorvel.") + br + br +
           QStringLiteral("To specify new location for Database File") + br + br +
           QStringLiteral("1. Click the Browse button next to the Database address text window") + br +
           QStringLiteral("2. Locate the database file Batch_CAD.dat") + br +
           QStringLiteral("3. Click on Batch_CAD.dat") + br +
           QStringLiteral("4. You can also have a different file name") + br +
           QStringLiteral("5. Click Open. This also returns you to the Properties screen") + br +
           QStringLiteral("6. Click Apply") + br + QStringLiteral("7. Click Okay to return to the Main Menu") + br +
           br +
           QStringLiteral("If the routines are still missing after this, please contact Quorvel support for help.") +
           br;
}

QString locateDatabaseLaterText()
{
    return QStringLiteral("If you know where the database is, press Browse to ") +
           QStringLiteral("locate this file now or Cancel to locate the database later.") + QStringLiteral("\r\n");
}

ActionPanel::ActionPanel(MainWindow& main, QWidget* parent) : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("frmCommandButton"));
    buildControls();
    qApp->installEventFilter(this);
}

ActionPanel::~ActionPanel() = default;

void ActionPanel::buildControls()
{
    m_assignGroup = new QGroupBox(QStringLiteral("Step 2.  Assign Routine to Files"), this);
    m_assignGroup->setObjectName(QStringLiteral("frmActionSelection"));
    m_editRoutinesButton = makeButton(m_assignGroup, "cmdAddNewAction", QStringLiteral("Edit Routines / Wizards"),
                                      QStringLiteral("Add New Routines and Update Existing Routines"));
    m_favouritesButton = makeButton(m_assignGroup, "cmdFavorites", QString::fromLatin1(kShowNonFavourites),
                                    QStringLiteral("Displays List of Routines"));
    m_routineListLabel = makeLabel(m_assignGroup, "lblAction", QStringLiteral("Select From Favourites"));
    m_routineCombo = new QComboBox(m_assignGroup);
    m_routineCombo->setObjectName(QStringLiteral("cboActionList"));
    m_routineCombo->setEditable(false);
    m_routineCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_routineCombo->setMinimumContentsLength(24);
    m_routineListLabel->setBuddy(m_routineCombo);
    m_assignButton = makeButton(m_assignGroup, "CmdAction", QStringLiteral("Assign Routine to Files"),
                                QStringLiteral("Assigns Selected Routine To Drawings"));
    m_combineButton = makeButton(m_assignGroup, "cmdCombineRoutines", QStringLiteral("Combine"),
                                 QStringLiteral("Combine routines and Assign them to drawings"));
    auto* selection = new QVBoxLayout(m_assignGroup);
    selection->addWidget(m_editRoutinesButton);
    selection->addWidget(m_favouritesButton);
    selection->addWidget(m_routineListLabel);
    selection->addWidget(m_routineCombo);
    selection->addWidget(m_assignButton);
    selection->addWidget(m_combineButton);

    m_runGroup = new QGroupBox(QStringLiteral("Step 3. Begin Operation"), this);
    m_runGroup->setObjectName(QStringLiteral("Frame1"));
    m_setsLabel = makeLabel(m_runGroup, "lblSequence", QStringLiteral("Number of sets"));
    m_setsLabel->setToolTip(QStringLiteral("Sets up the number of sets you require"));
    m_setsCombo = new QComboBox(m_runGroup);
    m_setsCombo->setObjectName(QStringLiteral("CboSequence"));
    m_setsCombo->setEditable(false);
    m_setsCombo->setToolTip(QStringLiteral("Sets up the number of sets you require"));
    m_setsLabel->setBuddy(m_setsCombo);
    m_collateCheck = new QCheckBox(QString::fromLatin1(kNotCollated), m_runGroup);
    m_collateCheck->setObjectName(QStringLiteral("chkCollate"));
    m_collateCheck->setToolTip(QStringLiteral("When printing it allows you to Collate prints or not "));
    m_startButton = makeButton(m_runGroup, "CmdStart", QStringLiteral("Start"),
                               QStringLiteral("Starts AutoCAD and Process Drawings"));
    m_startButton->setShortcut(QKeySequence(Qt::Key_F5));
    m_checkButton = makeButton(m_runGroup, "cmdCheck", QStringLiteral("Check"),
                               QStringLiteral("Checks every drawing's routine against what the CAD program will ask, "
                                              "without starting it"));
    m_exitButton =
        makeButton(m_runGroup, "CmdClose", QStringLiteral("Close Quorvel"), QStringLiteral("Exit out of Quorvel"));
    auto* run = new QVBoxLayout(m_runGroup);
    auto* sets = new QHBoxLayout();
    sets->addWidget(m_setsLabel);
    sets->addWidget(m_setsCombo, 1);
    run->addLayout(sets);
    run->addWidget(m_collateCheck);
    auto* startOrCheck = new QHBoxLayout();
    startOrCheck->addWidget(m_startButton, 2);
    startOrCheck->addWidget(m_checkButton, 1);
    run->addLayout(startOrCheck);
    run->addWidget(m_exitButton);

    m_productLabel = makeLabel(this, "lblAcadVersion", QString());
    m_productLabel->setToolTip(QStringLiteral("AutoCAD version set in Options"));
    m_productLabel->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_assignGroup);
    layout->addWidget(m_runGroup);
    layout->addWidget(m_productLabel);
    layout->addStretch();

    m_combineButton->setEnabled(false);
    m_assignButton->setEnabled(false);
    m_startButton->setEnabled(false);
    m_checkButton->setEnabled(false);

    m_routineCombo->installEventFilter(this);
    // Check is offered whenever Start is.
    m_startButton->installEventFilter(this);
    m_setsCombo->installEventFilter(this);

    connect(m_editRoutinesButton, &QPushButton::clicked, this, &ActionPanel::editRoutines);
    connect(m_favouritesButton, &QPushButton::clicked, this, &ActionPanel::toggleFavourites);
    connect(m_assignButton, &QPushButton::clicked, this, &ActionPanel::assignRoutine);
    connect(m_combineButton, &QPushButton::clicked, this, &ActionPanel::openCombineDialog);
    connect(m_startButton, &QPushButton::clicked, this, &ActionPanel::requestStart);
    connect(m_checkButton, &QPushButton::clicked, this, &ActionPanel::checkRequested);
    connect(m_exitButton, &QPushButton::clicked, this, &ActionPanel::exitProgram);
    connect(m_collateCheck, &QCheckBox::toggled, this, &ActionPanel::updateCollateCaption);
    connect(m_routineCombo, &QComboBox::activated, this, [this] { m_routinePicked = QStringLiteral("1"); });
}

void ActionPanel::load()
{
    m_assignScope = QStringLiteral("1");
    m_favouritesButton->setText(QString::fromLatin1(kShowNonFavourites));
    m_routineListLabel->setText(QStringLiteral("Select From Favourites"));
    fillRoutineList();
    m_assignButton->setEnabled(false);
    m_combineButton->setEnabled(false);
    m_main.m_removeButton->setEnabled(false);
    fillNumberOfSets();
    showProductName();
    if (m_routineCombo->count() == 0 && !databaseNoticeShown())
        showMissingRoutinesNotice();
}

void ActionPanel::showMissingRoutinesNotice()
{
    userDialogs().show(toStd(missingRoutinesNoticeText()), "Quorvel Information", MessageIcon::Information);
    // The dialog's closing must not start the notice's check over again.
    m_filling = true;
    showLocateDatabaseDialog(locateDatabaseLaterText());
    m_filling = false;
    m_refillPending = false;
}

void ActionPanel::fillRoutineList()
{
    m_filling = true;
    m_refillPending = false;
    m_routineCombo->clear();
    loadCatalogue();
    const std::string wanted = m_favouritesButton->text() == QLatin1String(kShowFavourites) ? "Non" : "Fav";
    for (const Routine& routine : makeCatalogue()) {
        if (trimSpaces(routine.favourite()) == wanted)
            m_routineCombo->addItem(toQString(std::string(trimSpaces(routine.description()))),
                                    int(routine.recordNumber()));
    }
    m_routinePicked = QStringLiteral("0");
    m_filling = false;
}

void ActionPanel::fillNumberOfSets()
{
    m_setsCombo->clear();
    for (int sets = 1; sets <= 20; ++sets)
        m_setsCombo->addItem(QString::number(sets));
    m_setsCombo->setCurrentIndex(0);
}

void ActionPanel::showProductName()
{
    if (const auto label = panelLabel(readProductCode(programState().settings)))
        m_productLabel->setText(toQString(*label));
}

void ActionPanel::toggleFavourites()
{
    if (m_favouritesButton->text() == QLatin1String(kShowNonFavourites)) {
        m_favouritesButton->setText(QString::fromLatin1(kShowFavourites));
        m_routineListLabel->setText(QStringLiteral("Select From Non Favourites"));
    } else {
        m_favouritesButton->setText(QString::fromLatin1(kShowNonFavourites));
        m_routineListLabel->setText(QStringLiteral("Select From Favourites"));
    }
    fillRoutineList();
}

void ActionPanel::assignRoutine()
{
    const DrawingListChange change(m_main, QStringLiteral("Assign Routine"));
    const std::string routine = toStd(m_routineCombo->currentText());
    if (m_assignScope != QLatin1String("1")) {
        // The rows assigned to stay selected: the next Assign goes to them again, as the list shows.
        BusyCursor busy;
        assignToSelectedDrawings();
    } else {
        if (!confirmAssignToAll(routine, routine))
            return;
        BusyCursor busy;
        assignToAllDrawings(m_routineCombo->currentText());
        m_main.m_removeButton->setEnabled(false);
        m_assignScope = QStringLiteral("1");
    }
    enableStartAndSort();
}

bool ActionPanel::confirmAssignToAll(const std::string& routine, const std::string& shownName)
{
    const DrawingRows& rows = m_main.drawingList()->rows();
    const std::size_t replaced = rowsWithOtherRoutine(rows, routine);
    if (replaced == 0 || !readAskBeforeAssigningToAll(programState().settings))
        return true;
    bool optedOut = false;
    if (userDialogs().askWithOptOut(assignToAllQuestion(replaced, rows.size(), shownName), optedOut) !=
        MessageAnswer::Yes)
        return false;
    if (optedOut) {
        const Status written = programState().settings.writeValue(keys::kAskSection, keys::kAskAssignToAllKey, "NO");
        if (!written)
            showError(written.error(), "CmdAction_Click");
    }
    return true;
}

void ActionPanel::assignToAllDrawings(const QString& name)
{
    const std::string routine = toStd(name);
    const auto sort = m_main.columnSort();
    m_main.drawingList()->rebuild([&](DrawingRows& rows) {
        qv::assignToAll(rows, routine);
        if (sort)
            sortByColumn(rows, *sort);
    });
}

void ActionPanel::assignToSelectedDrawings()
{
    const std::string routine = toStd(m_routineCombo->currentText());
    RowSelection selected = m_main.selectedRows();
    const auto sort = m_main.columnSort();
    m_main.drawingList()->rebuild([&](DrawingRows& rows) {
        qv::assignToSelected(rows, selected, routine);
        if (sort)
            sortByColumn(rows, *sort, selected);
    });
    m_main.selectRows(selected);
}

void ActionPanel::editRoutines()
{
    openRoutineEditor(RoutineEditor::kNoTab);
}

void ActionPanel::openRoutineEditor(std::int16_t tab, const QString& routine)
{
    m_startButton->setEnabled(false);
    m_main.m_sortByFieldButton->setEnabled(false);
    {
        programState().editorTab = tab;
        RoutineEditor editor(&m_main);
        connect(&editor, &RoutineEditor::routineAddedOrDeleted, this,
                [this] { m_routinePicked = QStringLiteral("0"); });
        connect(&editor, &RoutineEditor::routineSaved, this, [this](const QString& description) {
            m_main.showStatus(QStringLiteral("Routine saved: %1").arg(description));
        });
        editor.load();
        if (!routine.isEmpty())
            editor.selectRoutine(routine);
        editor.exec();
    }
    fillRoutineList();
    enableStartAndSort();
}

void ActionPanel::openCombineDialog()
{
    m_startButton->setEnabled(false);
    m_main.m_sortByFieldButton->setEnabled(false);
    {
        CombineRoutinesDialog combine(*this, &m_main);
        combine.load();
        combine.exec();
    }
    enableStartAndSort();
}

void ActionPanel::assignCombinedRoutine()
{
    const DrawingListChange change(m_main, QStringLiteral("Combine"));
    // Every row gets the new combination's text, those that had an earlier one too.
    if (!confirmAssignToAll({}, std::string(kCombinedRoutines))) {
        m_main.listHistory()->restoreCombination();
        return;
    }
    {
        BusyCursor busy;
        assignToAllDrawings(toQString(std::string(kCombinedRoutines)));
    }
    enableStartAndSort();
    m_main.m_removeButton->setEnabled(false);
    m_assignScope = QStringLiteral("1");
}

void ActionPanel::clearDrawingList()
{
    const DrawingListChange change(m_main, QStringLiteral("Clear List"));
    m_main.drawingList()->rebuild([](DrawingRows& rows) { qv::clearList(rows); });
    m_main.m_clearButton->setEnabled(false);
    disableForEmptyList();
    listRebuilt();
}

void ActionPanel::deleteSelectedDrawings()
{
    const DrawingListChange change(m_main, QStringLiteral("Remove From List"));
    const RowSelection selected = m_main.selectedRows();
    {
        BusyCursor busy;
        m_main.drawingList()->rebuild([&](DrawingRows& rows) { qv::removeSelected(rows, selected); });
    }
    listRebuilt();
    if (m_main.drawingList()->rowCount() == 0) {
        m_main.m_clearButton->setEnabled(false);
        disableForEmptyList();
    }
}

void ActionPanel::listRebuilt()
{
    m_main.m_removeButton->setEnabled(false);
    m_main.refreshDrawingCount();
    m_assignScope = QStringLiteral("1");
}

void ActionPanel::disableForEmptyList()
{
    m_main.m_sortByFieldButton->setEnabled(false);
    m_assignButton->setEnabled(false);
    m_combineButton->setEnabled(false);
    m_startButton->setEnabled(false);
}

void ActionPanel::saveDrawingList()
{
    const DrawingRows& rows = m_main.drawingList()->rows();
    if (rows.empty()) {
        userDialogs().message(noDrawingsListedMessage());
        return;
    }
    if (const auto warning = unsavedCombinationWarning(rows);
        warning && userDialogs().message(*warning) != MessageAnswer::Yes)
        return;
    const auto name = userDialogs().saveFileName(toQString(std::string(kSaveListTitle)),
                                                 toQString(std::string(kListFileFilter)), m_listFolder);
    if (!name)
        return;
    // A name typed without an extension is saved as a list file the retrieve dialog shows.
    const QString fileName = toQString(withListExtension(toStd(*name)));
    if (fileName != *name && QFileInfo::exists(fileName) &&
        userDialogs().show(toStd(QDir::toNativeSeparators(fileName)) + " already exists.\r\nDo you want to replace it?",
                           std::string(kSaveListTitle), MessageIcon::Exclamation,
                           MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    m_listFolder = QFileInfo(fileName).absolutePath();
    ListSaveOutcome outcome;
    {
        BusyCursor busy;
        outcome = writeList(toStd(fileName), rows);
    }
    for (const UserMessage& message : outcome.messages)
        userDialogs().message(message);
    if (outcome.saved)
        m_main.showStatus(QStringLiteral("Drawing list saved: %1 (%2)")
                              .arg(QDir::toNativeSeparators(fileName), toQString(drawingCountText(rows.size()))));
}

void ActionPanel::retrieveDrawingList()
{
    const QStringList chosen = userDialogs().openFileNames(
        toQString(std::string(kRetrieveListTitle)), toQString(std::string(kListFileFilter)), m_listFolder, false);
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return;
    m_listFolder = QFileInfo(chosen.first()).absolutePath();
    retrieveListFile(chosen.first());
}

bool ActionPanel::retrieveListFile(const QString& path)
{
    const std::string fileName = toStd(path);
    const DrawingListChange change(m_main, QStringLiteral("Retrieve Drawing List"));
    RetrievedList list;
    {
        BusyCursor busy;
        const RoutineIndex index(makeCatalogue());
        // Pipes too (a list made by another program); devices and sockets are refused by name.
        const auto readBlocks = [](const std::string& name, const std::function<void(std::string_view)>& block) {
            return platform::readStreamInBlocks(name, platform::StreamLimits{}, block);
        };
        list = qv::retrieveList(
            fileName, [&index](std::string_view description) { return index.contains(description); }, readBlocks);
        if (replacesDrawingList(list)) {
            // A retrieved list is processed in the file's order: column sorting is switched off.
            m_main.setColumnSort(std::nullopt);
            m_main.hideKeyColumn();
            m_main.drawingList()->setRows(std::move(list.rows));
            list.rows.clear();
        }
    }
    for (const UserMessage& message : retrieveMessages(list, fileName))
        userDialogs().message(message);
    const bool stops = stopsCommandLineRun(list);
    if (stops)
        m_main.m_commandLineRun = false;
    // The list in hand stays exactly as it was, buttons included.
    if (!replacesDrawingList(list))
        return !stops;

    listRebuilt();
    const bool hasRows = m_main.drawingList()->rowCount() > 0;
    m_main.m_clearButton->setEnabled(hasRows);
    m_assignButton->setEnabled(hasRows);
    m_combineButton->setEnabled(hasRows);
    if (!hasRows)
        disableForEmptyList();
    if (list.missing) {
        m_startButton->setEnabled(false);
        m_main.m_sortByFieldButton->setEnabled(false);
    } else if (hasRows) {
        m_startButton->setEnabled(true);
        m_main.m_sortByFieldButton->setEnabled(true);
    }
    return !stops;
}

void ActionPanel::requestStart()
{
    emit startRequested();
    if (m_setsCombo->currentText() != QLatin1String("1"))
        m_setsCombo->setCurrentIndex(0);
}

void ActionPanel::exitProgram()
{
    m_main.confirmExit();
}

void ActionPanel::updateCollateCaption()
{
    m_collateCheck->setText(QString::fromLatin1(m_collateCheck->isChecked() ? kCollated : kNotCollated));
}

bool ActionPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_startButton && event->type() == QEvent::EnabledChange)
        m_checkButton->setEnabled(m_startButton->isEnabled());
    if (watched == m_setsCombo && event->type() == QEvent::KeyPress) {
        // Only the listed values count: typed characters are ignored, navigation keys still work.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    if (watched == m_routineCombo && event->type() == QEvent::KeyPress) {
        // Enter on the closed routine list assigns (the list's popup takes the clicks, so a double click
        // cannot reach it); choosing in the popup only selects.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_assignButton->isEnabled()) {
            assignRoutine();
            return true;
        }
    }
    // A modal window of ours closing (editor, options, combine...) may have changed the routines: read
    // them again once control is back here.
    if (event->type() == QEvent::Hide && !m_filling && !m_refillPending && isModalWindowOfOurs(watched) &&
        watched != window()) {
        m_refillPending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_refillPending && !QApplication::activeModalWidget()) {
                fillRoutineList();
                // The product may have been changed too.
                showProductName();
            }
            m_refillPending = false;
        });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qv
