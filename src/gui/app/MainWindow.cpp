#include "MainWindow.h"

#include "FileSystem.h"
#include "app/AboutBox.h"
#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/HelpWindow.h"
#include "app/Program.h"
#include "app/TimerWindow.h"
#include "batch/BatchRunner.h"
#include "batch/CheckResultWindow.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "batch/FieldSort.h"
#include "config/OptionsDialog.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizardDialog.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineEditor.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <cstdio>

namespace qv {
namespace {

MainWindow* g_mainWindow = nullptr;

const std::string kExitQuestion = "You are now exiting Quorvel, press OK to continue exiting";
const std::string kExitTitle = "Exit Quorvel";

std::vector<std::string> toNativePaths(const QStringList& paths)
{
    std::vector<std::string> list;
    list.reserve(std::size_t(paths.size()));
    for (const QString& path : paths)
        list.push_back(toStd(QDir::toNativeSeparators(path)));
    return list;
}

} // namespace

MainWindow* mainWindow()
{
    return g_mainWindow;
}

void enableStartAndSort()
{
    MainWindow* window = mainWindow();
    if (!window || window->drawingList()->rowCount() == 0)
        return;
    window->m_sortByFieldButton->setEnabled(true);
    if (ActionPanel* panel = window->actionPanel())
        panel->m_startButton->setEnabled(true);
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("mdiStart"));
    setWindowTitle(QString::fromLatin1(kCaption));
    buildControls();
    m_history = new DrawingListHistory(*this);
    buildMenus();
    statusBar()->setObjectName(QStringLiteral("sbrStatus"));
    resize(1000, 620);
}

MainWindow::~MainWindow()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    auto* left = new QVBoxLayout();

    m_fileSelectionGroup = new QGroupBox(QStringLiteral("Step 1. File Selection"), central);
    m_fileSelectionGroup->setObjectName(QStringLiteral("Frame2"));
    auto* buttons = new QHBoxLayout(m_fileSelectionGroup);
    m_addFilesButton = makeButton(m_fileSelectionGroup, "CmdAdd", QStringLiteral("Add Files to List"),
                                  QStringLiteral("Add Drawings To The List"));
    m_removeButton = makeButton(m_fileSelectionGroup, "cmdDelete", QStringLiteral("Remove From List"),
                                QStringLiteral("Delete Selected Drawings from List"));
    m_clearButton =
        makeButton(m_fileSelectionGroup, "cmdClear", QStringLiteral("Clear List"), QStringLiteral("Clear List"));
    m_sortByFieldButton = makeButton(m_fileSelectionGroup, "cmdSortIso", QStringLiteral("Sort by Field"),
                                     QStringLiteral("Sort by the field specified under options"));
    for (QPushButton* button : {m_addFilesButton, m_removeButton, m_clearButton, m_sortByFieldButton}) {
        button->setEnabled(button == m_addFilesButton);
        buttons->addWidget(button);
    }
    buttons->addStretch();

    m_drawingListGroup = new QGroupBox(QStringLiteral("Main Screen"), central);
    m_drawingListGroup->setObjectName(QStringLiteral("Frame1"));
    auto* listLayout = new QVBoxLayout(m_drawingListGroup);
    m_model = new DrawingListModel(this);
    m_drawingView = new DrawingListView(m_drawingListGroup);
    m_drawingView->setObjectName(QStringLiteral("lstvDrawings"));
    m_drawingView->setModel(m_model);
    m_drawingView->setRootIsDecorated(false);
    m_drawingView->setUniformRowHeights(true);
    m_drawingView->setAlternatingRowColors(true);
    m_drawingView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_drawingView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_drawingView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_drawingView->setTextElideMode(Qt::ElideMiddle); // the end of a long path stays visible
    m_drawingView->header()->setSectionsMovable(false);
    m_drawingView->header()->setStretchLastSection(true);
    m_drawingView->header()->setSectionsClickable(true);
    m_drawingCountLabel = new QLabel(m_drawingListGroup);
    m_drawingCountLabel->setObjectName(QStringLiteral("Label1"));
    listLayout->addWidget(m_drawingView, 1);
    listLayout->addWidget(m_drawingCountLabel);

    left->addWidget(m_fileSelectionGroup);
    left->addWidget(m_drawingListGroup, 1);
    outer->addLayout(left, 1);

    m_actionPanelHost = new QWidget(central);
    m_actionPanelHost->setObjectName(QStringLiteral("panelHost"));
    auto* panelLayout = new QVBoxLayout(m_actionPanelHost);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_actionPanel = new ActionPanel(*this, m_actionPanelHost);
    connect(m_actionPanel, &ActionPanel::startRequested, this, [this] { startBatch(true); });
    connect(m_actionPanel, &ActionPanel::checkRequested, this, &MainWindow::checkBatch);
    panelLayout->addWidget(m_actionPanel);
    outer->addWidget(m_actionPanelHost);

    setCentralWidget(central);
    refreshDrawingCount();

    connect(m_addFilesButton, &QPushButton::clicked, this, &MainWindow::addDrawingsFromDialog);
    connect(m_sortByFieldButton, &QPushButton::clicked, this, &MainWindow::sortListByField);
    connect(m_removeButton, &QPushButton::clicked, m_actionPanel, &ActionPanel::deleteSelectedDrawings);
    connect(m_clearButton, &QPushButton::clicked, m_actionPanel, &ActionPanel::clearDrawingList);
    connect(m_drawingView, &DrawingListView::filesDropped, this, &MainWindow::addDroppedFiles);
    connect(m_drawingView, &QAbstractItemView::pressed, this, &MainWindow::drawingsSelected);
    connect(m_drawingView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::drawingsSelected);
    connect(m_drawingView->header(), &QHeaderView::sectionClicked, this, &MainWindow::sortListByColumn);
}

QAction* MainWindow::addMenuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void MainWindow::buildMenus()
{
    // Every item has a mnemonic (the underlined letter, unique in its menu); the captions read as before.
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* add = addMenuItem(file, "mnuFileAdd", QStringLiteral("&Add Drawings"));
    add->setShortcut(QKeySequence::Open);
    QAction* addNew = addMenuItem(file, "mnuFileAddNewAction", QStringLiteral("Add &New Routines"));
    QAction* update = addMenuItem(file, "mnuFileUpdate", QStringLiteral("&Update Routines"));
    file->addSeparator();
    QAction* saveList = addMenuItem(file, "mnuSaveList1", QStringLiteral("&Save Drawing List"));
    saveList->setShortcut(QKeySequence::Save);
    QAction* retrieveList = addMenuItem(file, "mnuRetrieveList1", QStringLiteral("&Retrieve Drawing List"));
    file->addSeparator();
    QAction* check = addMenuItem(file, "mnuCheckBatch", QStringLiteral("&Check Batch Before Running"));
    check->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(check, &QAction::triggered, this, &MainWindow::checkBatch);
    file->addSeparator();
    QAction* reset = addMenuItem(file, "MnuStartupReset", QStringLiteral("Reset &Quorvel Startup"));
    file->addSeparator();
    QAction* exit = addMenuItem(file, "mnuFileExit", QStringLiteral("E&xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    // "Undo Add Drawings", "Redo Sort": the step is named, the mnemonic stays.
    QUndoStack* steps = m_history->stack();
    QAction* undo = addMenuItem(edit, "mnuEditUndo", QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(false);
    connect(steps, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(steps, &QUndoStack::undoTextChanged, undo,
            [undo](const QString& step) { undo->setText(QStringLiteral("&Undo %1").arg(step).trimmed()); });
    connect(undo, &QAction::triggered, steps, &QUndoStack::undo);
    QAction* redo = addMenuItem(edit, "mnuEditRedo", QStringLiteral("&Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setEnabled(false);
    connect(steps, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(steps, &QUndoStack::redoTextChanged, redo,
            [redo](const QString& step) { redo->setText(QStringLiteral("&Redo %1").arg(step).trimmed()); });
    connect(redo, &QAction::triggered, steps, &QUndoStack::redo);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QAction* properties = addMenuItem(options, "MnuOptionsFile", QStringLiteral("&Properties"));

    // A menu-bar item of its own: it opens the timer window directly.
    QAction* timer = menuBar()->addAction(QStringLiteral("&Timer"));
    timer->setObjectName(QStringLiteral("mnuTimer"));

    // The same list commands as in File; the shortcut belongs to File's item (two would cancel each other).
    QMenu* lists = menuBar()->addMenu(QStringLiteral("&Save/Retrieve List"));
    lists->setObjectName(QStringLiteral("mnuSave_Retrieve"));
    QAction* saveDrawing = addMenuItem(lists, "mnuSaveDrawing", QStringLiteral("&Save Drawing List"));
    QAction* retrieve = addMenuItem(lists, "mnuRetrieveList", QStringLiteral("&Retrieve Drawing List"));

    QMenu* wizards = menuBar()->addMenu(QStringLiteral("&Routine Wizards"));
    wizards->setObjectName(QStringLiteral("mnuWizards"));
    QAction* create = addMenuItem(wizards, "mnuCreate", QStringLiteral("&Edit and Create Your Own Routines"));
    QAction* plotDetailed = addMenuItem(wizards, "mnuPlotDetailed", QStringLiteral("Plot - &Detailed Setup"));
    QAction* plotPage = addMenuItem(wizards, "mnuPlotPage", QStringLiteral("Plot - P&age Setup"));
    QAction* saveAs = addMenuItem(wizards, "mnuSaveAs", QStringLiteral("&Save As Drawing  / Export DXF"));
    QAction* purge = addMenuItem(wizards, "mnuPurge", QStringLiteral("&Purge Objects"));
    QAction* import = addMenuItem(wizards, "mnuImport", QStringLiteral("&Import Page Setups"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents = addMenuItem(help, "mnuHelpHelp", QStringLiteral("&Contents and Index"));
    QAction* about = addMenuItem(help, "mnuHelpAbout", QStringLiteral("&About Quorvel"));

    connect(properties, &QAction::triggered, this, &MainWindow::openOptions);
    connect(create, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabMacro); });
    connect(purge, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabPurge); });
    connect(plotDetailed, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabPlotDetailed); });
    connect(plotPage, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabPlotPage); });
    connect(saveAs, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabSaveAs); });
    connect(import, &QAction::triggered, this, [this] { openRoutineEditor(RoutineEditor::TabImportPageSetup); });

    connect(add, &QAction::triggered, this, &MainWindow::addDrawingsFromDialog);
    for (QAction* editor : {addNew, update})
        connect(editor, &QAction::triggered, m_actionPanel, &ActionPanel::editRoutines);
    for (QAction* save : {saveList, saveDrawing})
        connect(save, &QAction::triggered, m_actionPanel, &ActionPanel::saveDrawingList);
    for (QAction* load : {retrieveList, retrieve})
        connect(load, &QAction::triggered, m_actionPanel, &ActionPanel::retrieveDrawingList);
    connect(timer, &QAction::triggered, this, &MainWindow::openTimer);
    connect(reset, &QAction::triggered, this, &MainWindow::resetStartupSequence);
    connect(exit, &QAction::triggered, this, &MainWindow::confirmExit);
    connect(contents, &QAction::triggered, this, &MainWindow::showHelp);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

bool MainWindow::load(bool interactiveStart)
{
    if (interactiveStart && !readSetupDone(programState().settings)) {
        SetupWizardDialog setup(this);
        setup.exec();
        if (setup.m_setupStatus == QLatin1String(SetupWizardDialog::kQuit))
            return false;
    }
    centreOnScreen();
    hideKeyColumn();
    std::string delimiter;
    std::string fieldNumber;
    const bool sortByField = readFieldSortOption(programState().settings, delimiter, fieldNumber) == "ON";
    m_sortByFieldButton->setVisible(sortByField);
    m_sortByFieldButton->setEnabled(false);
    m_actionPanel->load();
    return true;
}

void MainWindow::centreOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 2);
}

void MainWindow::hideKeyColumn()
{
    m_model->setShowsKeyColumn(false);
    applyColumnWidths();
}

void MainWindow::showKeyColumn()
{
    m_model->setShowsKeyColumn(true);
    applyColumnWidths();
}

void MainWindow::applyColumnWidths()
{
    // Before the window is first shown the list has no real width yet; showEvent applies them again.
    const int viewport = m_drawingView->viewport()->width();
    const int width = viewport > 200 ? viewport : this->width() - 320;
    const std::vector<double> divisors =
        m_model->showsKeyColumn() ? std::vector<double>{4, 4, 3, 7} : std::vector<double>{4, 5, 1.9};
    for (std::size_t i = 0; i < divisors.size(); ++i)
        m_drawingView->header()->resizeSection(static_cast<int>(i), static_cast<int>(width / divisors[i]));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, &MainWindow::applyColumnWidths);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Only a close that comes from the window system (the title bar's X, the desktop) can discard
    // the list by surprise.
    if (event->spontaneous() &&
        userDialogs().show(kExitQuestion, kExitTitle, MessageIcon::None, MessageButtons::OkCancel) != MessageAnswer::Ok) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::refreshDrawingCount()
{
    m_drawingCountLabel->setText(toQString(drawingCountText(m_model->rows().size())));
}

RowSelection MainWindow::selectedRows() const
{
    const std::size_t count = m_model->rows().size();
    RowSelection selected(count, false);
    // Walk the selection's ranges rather than its indexes: a selection of many rows is a few ranges.
    for (const QItemSelectionRange& range : m_drawingView->selectionModel()->selection()) {
        if (range.parent().isValid())
            continue;
        for (int row = std::max(range.top(), 0); row <= range.bottom() && std::size_t(row) < count; ++row)
            selected[std::size_t(row)] = true;
    }
    return selected;
}

void MainWindow::setColumnSort(const std::optional<ColumnSort>& sort)
{
    m_columnSort = sort;
    QHeaderView* header = m_drawingView->header();
    header->setSortIndicatorShown(sort.has_value());
    if (sort)
        header->setSortIndicator(sort->column, sort->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MainWindow::addDrawingsFromDialog()
{
    const QStringList paths = userDialogs().openFileNames(toQString(std::string(kAddFilesTitle)),
                                                          toQString(std::string(kAddFilesFilter)), m_addFolder, true);
    if (paths.isEmpty())
        return;
    m_addFolder = QFileInfo(paths.first()).absolutePath();
    addDrawings(paths);
}

void MainWindow::addDrawings(const QStringList& paths)
{
    addReadRows(rowsFromPaths(toNativePaths(paths)));
}

void MainWindow::addDroppedFiles(const QStringList& paths)
{
    const auto isFolder = [](const std::string& path) {
        const auto attributes = platform::fileAttributes(path);
        return attributes.ok() && (attributes.value() & platform::AttrDirectory) != 0;
    };
    addReadRows(rowsFromDrop(toNativePaths(paths), isFolder));
}

void MainWindow::addReadRows(PathRows read)
{
    const std::vector<std::size_t> duplicates = findDuplicates(m_model->rows(), read.rows, fileNamesIgnoreCase());
    if (!duplicates.empty() &&
        userDialogs().message(duplicateDrawingsQuestion(read.rows, duplicates)) == MessageAnswer::Yes)
        removeSelected(read.rows, selectionFromIndexes(duplicates, read.rows.size()));
    AddOutcome outcome{read.rows.size(), std::move(read.refused)};
    const DrawingListChange change(*this, QStringLiteral("Add Drawings"));
    {
        BusyCursor busy;
        m_model->rebuild([&](DrawingRows& rows) { qv::addRows(rows, std::move(read.rows), m_columnSort); });
    }
    drawingsAdded(outcome);
}

void MainWindow::drawingsAdded(const AddOutcome& outcome)
{
    // The list was rebuilt, so no row is selected any more.
    m_removeButton->setEnabled(false);
    m_actionPanel->m_assignScope = QStringLiteral("1");
    if (m_model->rowCount() > 0) {
        m_clearButton->setEnabled(true);
        m_sortByFieldButton->setEnabled(true);
        m_actionPanel->m_assignButton->setEnabled(true);
        m_actionPanel->m_combineButton->setEnabled(true);
    }
    refreshDrawingCount();
    if (!outcome.refused.empty())
        userDialogs().message(refusedDrawingsMessage(outcome.refused));
}

void MainWindow::drawingsSelected()
{
    // The next assignment goes where the list shows a selection, and to every row when it shows none.
    const bool any = m_drawingView->selectionModel()->hasSelection();
    m_actionPanel->m_assignScope = any ? QStringLiteral("0") : QStringLiteral("1");
    m_removeButton->setEnabled(any && m_model->rowCount() > 0);
}

void MainWindow::selectRows(const RowSelection& selected)
{
    QItemSelection selection;
    const int columns = m_model->columnCount() - 1;
    for (std::size_t first = 0; first < selected.size(); ++first) {
        if (!selected[first])
            continue;
        std::size_t last = first;
        while (last + 1 < selected.size() && selected[last + 1])
            ++last;
        selection.select(m_model->index(int(first), 0), m_model->index(int(last), columns));
        first = last;
    }
    m_drawingView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void MainWindow::showStatus(const QString& text)
{
    statusBar()->showMessage(text);
}

void MainWindow::sortListByColumn(int column)
{
    const DrawingListChange change(*this, QStringLiteral("Sort"));
    const SortOrderStep step = nextSortOrder(toStd(m_headerSortOrder));
    m_headerSortOrder = toQString(step.sortOrderFlag);
    setColumnSort(ColumnSort{column, step.descending});
    {
        BusyCursor busy;
        m_model->rebuild([&](DrawingRows& rows) { sortByColumn(rows, *m_columnSort); });
    }
    m_removeButton->setEnabled(false);
    m_actionPanel->m_assignScope = QStringLiteral("1");
}

void MainWindow::sortListByField()
{
    const DrawingListChange change(*this, QStringLiteral("Sort by Field"));
    std::string delimiter;
    std::string fieldNumber;
    readFieldSortOption(programState().settings, delimiter, fieldNumber);
    {
        BusyCursor busy;
        // The rows now stand in key order; later drawings are appended until a header is clicked.
        setColumnSort(std::nullopt);
        m_model->rebuild([&](DrawingRows& rows) { sortByField(rows, delimiter, fieldNumber); });
        showKeyColumn();
    }
    m_removeButton->setEnabled(false);
    m_actionPanel->m_assignScope = QStringLiteral("1");
    if (m_model->rowCount() == 0) {
        m_clearButton->setEnabled(false);
        m_sortByFieldButton->setEnabled(false);
        m_actionPanel->m_assignButton->setEnabled(false);
        m_actionPanel->m_combineButton->setEnabled(false);
        m_actionPanel->m_startButton->setEnabled(false);
    }
    refreshDrawingCount();
}

void MainWindow::runCommandLineList(const QString& argument, bool check, const std::optional<WatchOptions>& watch)
{
    QString path = argument;
    path.remove(QLatin1Char('"'));
    m_commandLineRun = true;
    m_actionPanel->retrieveListFile(path);
    if (check) {
        programState().exitCode = m_commandLineRun ? printBatchCheck() : 2;
        close();
        return;
    }
    if (watch) {
        // A list that could not be read is a run that could not start.
        programState().exitCode =
            m_commandLineRun
                ? BatchRunner(*this).runWatchedFromCommandLine(m_actionPanel->m_setsCombo->currentText(),
                                                               m_actionPanel->m_collateCheck->isChecked(), *watch)
                : 2;
        close();
        return;
    }
    bool started = false;
    if (m_commandLineRun)
        started = BatchRunner(*this).runFromCommandLine(m_actionPanel->m_setsCombo->currentText(),
                                                        m_actionPanel->m_collateCheck->isChecked());
    programState().exitCode = started ? 0 : 1;
    close();
}

void MainWindow::checkBatch()
{
    std::optional<BatchCheckReport> report =
        BatchRunner(*this).checkBatch(m_actionPanel->m_setsCombo->currentText(),
                                      m_actionPanel->m_collateCheck->isChecked(), BatchRunner::CheckFrom::Window);
    if (!report)
        return;
    CheckResultWindow result(std::move(*report), QString::fromStdString(readProductCode(programState().settings)),
                             this);
    connect(&result, &CheckResultWindow::openRoutineRequested, this, [this](const QString& description) {
        m_actionPanel->openRoutineEditor(RoutineEditor::TabMacro, description);
    });
    result.exec();
}

int MainWindow::printBatchCheck()
{
    const std::optional<BatchCheckReport> report =
        BatchRunner(*this).checkBatch(m_actionPanel->m_setsCombo->currentText(),
                                      m_actionPanel->m_collateCheck->isChecked(), BatchRunner::CheckFrom::CommandLine);
    if (!report)
        return 2;
    // Written in blocks as it is made: a million lines are never held at once.
    std::string text;
    const auto flush = [&text](std::size_t above) {
        if (text.size() > above) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            text.clear();
        }
    };
    for (const DrawingCheck& drawing : report->drawings) {
        text.append(drawing.path).append(": ").append(describeCheck(drawing)).append("\n");
        flush(1 << 16);
    }
    for (const CheckProblem& problem : report->elsewhere)
        text += "(script): " + describeProblem(problem) + "\n";
    text += checkSummary(*report, readProductCode(programState().settings)) + "\n";
    flush(0);
    std::fflush(stdout);
    return checkFoundErrors(*report) ? 1 : 0;
}

bool MainWindow::startBatch(bool confirm)
{
    return BatchRunner(*this).startBatch(confirm, m_actionPanel->m_setsCombo->currentText(),
                                         m_actionPanel->m_collateCheck->isChecked());
}

void MainWindow::openTimer()
{
    TimerWindow timer(*this, TimerWindow::clockInUse(), this);
    timer.exec();
}

void MainWindow::openRoutineEditor(int tab)
{
    m_actionPanel->openRoutineEditor(static_cast<std::int16_t>(tab));
}

void MainWindow::resetStartupSequence()
{
    if (userDialogs().show("To reset the Quorvel startup sequence press OK.", "Reset Sartup Sequence",
                           MessageIcon::None, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    const Status written = programState().settings.writeValue(keys::kStartupSection, keys::kSetupKey, "NO");
    if (!written) {
        showError(written.error(), "MnuStartupReset_Click");
        return;
    }
    userDialogs().show("You have now reset the Quorvel startup sequence. The next time you start Quorvel the " +
                           std::string(kCrLf) + "startup sequence will relocate your setup files.",
                       "Quorvel Startup Sequence", MessageIcon::Information);
}

void MainWindow::openOptions()
{
    OptionsDialog options(this);
    connect(&options, &OptionsDialog::settingsWritten, this, &MainWindow::applySettings);
    connect(&options, &OptionsDialog::databaseChanged, m_actionPanel, &ActionPanel::fillRoutineList);
    options.exec();
}

void MainWindow::applySettings()
{
    m_productCode = readProductCode(programState().settings);
    m_actionPanel->showProductName();
    std::string delimiter;
    std::string fieldNumber;
    m_sortByFieldButton->setVisible(readFieldSortOption(programState().settings, delimiter, fieldNumber) == "ON");
}

void MainWindow::confirmExit()
{
    if (userDialogs().show(kExitQuestion, kExitTitle, MessageIcon::None, MessageButtons::OkCancel) == MessageAnswer::Ok)
        close();
}

void MainWindow::showHelp()
{
    const std::string page = joinPath(joinPath(programState().shippedFolder, "help"), "Quorvel.html");
    const QString path = QString::fromStdString(page);
    if (userDialogs().openDocument(path))
        return;
    if (!QFileInfo::exists(path)) {
        userDialogs().show("The help page could not be opened:\r\n" + page, "Quorvel Help", MessageIcon::Exclamation);
        return;
    }
    // No viewer on this desktop: the page in a window of our own, one at a time.
    HelpWindow* help = findChild<HelpWindow*>();
    if (!help)
        help = new HelpWindow(path, this);
    help->show();
    help->raise();
}

void MainWindow::showAbout()
{
    AboutBox box(this);
    box.exec();
}

} // namespace qv
