#include "mdiStart.h"

#include "FileSystem.h"
#include "app/AboutBox.h"
#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/HelpWindow.h"
#include "app/Program.h"
#include "app/frmTimer.h"
#include "batch/BatchRunner.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "batch/FieldSort.h"
#include "batch/frmCheckResult.h"
#include "config/frmFileLocation.h"
#include "config/frmSetup.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "routines/FrmScript.h"
#include "routines/frmCommandButton.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"

#include <QAction>
#include <QCheckBox>
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
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdio>

namespace qv {
namespace {

mdiStart* g_mainWindow = nullptr;

std::vector<std::string> NativePaths(const QStringList& paths)
{
    std::vector<std::string> list;
    list.reserve(std::size_t(paths.size()));
    for (const QString& path : paths)
        list.push_back(ToStd(QDir::toNativeSeparators(path)));
    return list;
}

} // namespace

mdiStart* MainWindow()
{
    return g_mainWindow;
}

void EnableStartAndSort()
{
    mdiStart* window = MainWindow();
    if (!window || window->drawingList()->rowCount() == 0)
        return;
    window->cmdSortIso->setEnabled(true);
    if (frmCommandButton* panel = window->commandPanel())
        panel->CmdStart->setEnabled(true);
}

mdiStart::mdiStart(QWidget* parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("mdiStart"));
    setWindowTitle(QString::fromLatin1(kCaption));
    buildControls();
    buildMenus();
    resize(1000, 620);
}

mdiStart::~mdiStart()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void mdiStart::buildControls()
{
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    auto* left = new QVBoxLayout();

    Frame2 = new QGroupBox(QStringLiteral("Step 1. File Selection"), central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* buttons = new QHBoxLayout(Frame2);
    CmdAdd =
        MakeButton(Frame2, "CmdAdd", QStringLiteral("Add Files to List"), QStringLiteral("Add Drawings To The List"));
    cmdDelete = MakeButton(Frame2, "cmdDelete", QStringLiteral("Remove From List"),
                           QStringLiteral("Delete Selected Drawings from List"));
    cmdClear = MakeButton(Frame2, "cmdClear", QStringLiteral("Clear List"), QStringLiteral("Clear List"));
    cmdSortIso = MakeButton(Frame2, "cmdSortIso", QStringLiteral("Sort by Field"),
                            QStringLiteral("Sort by the field specified under options"));
    for (QPushButton* button : {CmdAdd, cmdDelete, cmdClear, cmdSortIso}) {
        button->setEnabled(button == CmdAdd);
        buttons->addWidget(button);
    }
    buttons->addStretch();

    Frame1 = new QGroupBox(QStringLiteral("Main Screen"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* listLayout = new QVBoxLayout(Frame1);
    m_model = new DrawingListModel(this);
    lstvDrawings = new DrawingListView(Frame1);
    lstvDrawings->setObjectName(QStringLiteral("lstvDrawings"));
    lstvDrawings->setModel(m_model);
    lstvDrawings->setRootIsDecorated(false);
    lstvDrawings->setUniformRowHeights(true);
    lstvDrawings->setAlternatingRowColors(true);
    lstvDrawings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstvDrawings->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstvDrawings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstvDrawings->setTextElideMode(Qt::ElideMiddle); // the end of a long path stays visible
    lstvDrawings->header()->setSectionsMovable(false);
    lstvDrawings->header()->setStretchLastSection(true);
    lstvDrawings->header()->setSectionsClickable(true);
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    listLayout->addWidget(lstvDrawings, 1);
    listLayout->addWidget(Label1);

    left->addWidget(Frame2);
    left->addWidget(Frame1, 1);
    outer->addLayout(left, 1);

    panelHost = new QWidget(central);
    panelHost->setObjectName(QStringLiteral("panelHost"));
    auto* panelLayout = new QVBoxLayout(panelHost);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_panel = new frmCommandButton(*this, panelHost);
    connect(m_panel, &frmCommandButton::startRequested, this, [this] { StartProcess(true); });
    connect(m_panel, &frmCommandButton::checkRequested, this, &mdiStart::CheckBatch);
    panelLayout->addWidget(m_panel);
    outer->addWidget(panelHost);

    setCentralWidget(central);
    RefreshCount();

    connect(CmdAdd, &QPushButton::clicked, this, &mdiStart::CmdAdd_Click);
    connect(cmdSortIso, &QPushButton::clicked, this, &mdiStart::cmdSortIso_Click);
    connect(cmdDelete, &QPushButton::clicked, m_panel, &frmCommandButton::DeleteFromList);
    connect(cmdClear, &QPushButton::clicked, m_panel, &frmCommandButton::Clear_List);
    connect(lstvDrawings, &DrawingListView::filesDropped, this, &mdiStart::DropFiles);
    connect(lstvDrawings, &QAbstractItemView::pressed, this, &mdiStart::lstvDrawings_Click);
    connect(lstvDrawings->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &mdiStart::lstvDrawings_Click);
    connect(lstvDrawings->header(), &QHeaderView::sectionClicked, this, &mdiStart::lstvDrawings_ColumnClick);
}

QAction* mdiStart::addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void mdiStart::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* add = addItem(file, "mnuFileAdd", QStringLiteral("Add Drawings"));
    QAction* addNew = addItem(file, "mnuFileAddNewAction", QStringLiteral("Add New Routines"));
    QAction* update = addItem(file, "mnuFileUpdate", QStringLiteral("Update Routines"));
    file->addSeparator();
    QAction* saveList = addItem(file, "mnuSaveList1", QStringLiteral("Save Drawing List"));
    QAction* retrieveList = addItem(file, "mnuRetrieveList1", QStringLiteral("Retrieve Drawing List"));
    file->addSeparator();
    QAction* check = addItem(file, "mnuCheckBatch", QStringLiteral("&Check Batch Before Running"));
    connect(check, &QAction::triggered, this, &mdiStart::CheckBatch);
    file->addSeparator();
    QAction* reset = addItem(file, "MnuStartupReset", QStringLiteral("Reset Quorvel Startup"));
    file->addSeparator();
    QAction* exit = addItem(file, "mnuFileExit", QStringLiteral("E&xit"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QAction* properties = addItem(options, "MnuOptionsFile", QStringLiteral("Properties"));

    // A menu-bar item of its own: it opens the timer window directly.
    QAction* timer = menuBar()->addAction(QStringLiteral("&Timer"));
    timer->setObjectName(QStringLiteral("mnuTimer"));

    QMenu* lists = menuBar()->addMenu(QStringLiteral("&Save/Retrieve List"));
    lists->setObjectName(QStringLiteral("mnuSave_Retrieve"));
    QAction* saveDrawing = addItem(lists, "mnuSaveDrawing", QStringLiteral("Save Drawing List"));
    QAction* retrieve = addItem(lists, "mnuRetrieveList", QStringLiteral("Retrieve Drawing List"));

    QMenu* wizards = menuBar()->addMenu(QStringLiteral("&Routine Wizards"));
    wizards->setObjectName(QStringLiteral("mnuWizards"));
    QAction* create = addItem(wizards, "mnuCreate", QStringLiteral("Edit and Create Your Own Routines"));
    QAction* plotDetailed = addItem(wizards, "mnuPlotDetailed", QStringLiteral("Plot - Detailed Setup"));
    QAction* plotPage = addItem(wizards, "mnuPlotPage", QStringLiteral("Plot - Page Setup"));
    QAction* saveAs = addItem(wizards, "mnuSaveAs", QStringLiteral("Save As Drawing  / Export DXF"));
    QAction* purge = addItem(wizards, "mnuPurge", QStringLiteral("Purge Objects"));
    QAction* import = addItem(wizards, "mnuImport", QStringLiteral("Import Page Setups"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents = addItem(help, "mnuHelpHelp", QStringLiteral("Contents and Index"));
    QAction* about = addItem(help, "mnuHelpAbout", QStringLiteral("About Quorvel"));

    connect(properties, &QAction::triggered, this, &mdiStart::MnuOptionsFile_Click);
    connect(create, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabMacro); });
    connect(purge, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabPurge); });
    connect(plotDetailed, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabPlotDetailed); });
    connect(plotPage, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabPlotPage); });
    connect(saveAs, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabSaveAs); });
    connect(import, &QAction::triggered, this, [this] { OpenRoutineEditor(FrmScript::TabImportPageSetup); });

    connect(add, &QAction::triggered, this, &mdiStart::CmdAdd_Click);
    for (QAction* editor : {addNew, update})
        connect(editor, &QAction::triggered, m_panel, &frmCommandButton::Add_New_Action);
    for (QAction* save : {saveList, saveDrawing})
        connect(save, &QAction::triggered, m_panel, &frmCommandButton::SaveDrawingList);
    for (QAction* load : {retrieveList, retrieve})
        connect(load, &QAction::triggered, m_panel, &frmCommandButton::RetrieveDrawingList);
    connect(timer, &QAction::triggered, this, &mdiStart::mnuTimer_Click);
    connect(reset, &QAction::triggered, this, &mdiStart::MnuStartupReset_Click);
    connect(exit, &QAction::triggered, this, &mdiStart::mnuFileExit_Click);
    connect(contents, &QAction::triggered, this, &mdiStart::mnuHelpHelp_Click);
    connect(about, &QAction::triggered, this, &mdiStart::mnuHelpAbout_Click);
}

bool mdiStart::FormLoad(bool interactiveStart)
{
    if (interactiveStart && !IsStartupSet(Program().ini)) {
        frmSetup setup(this);
        setup.exec();
        if (setup.SetupStatus == QLatin1String(frmSetup::kQuit))
            return false;
    }
    CenterInScreen();
    ChangeHeaders3();
    std::string delimiter;
    std::string fieldNumber;
    const bool sortByField = GetFieldDelimOption(Program().ini, delimiter, fieldNumber) == "ON";
    cmdSortIso->setVisible(sortByField);
    cmdSortIso->setEnabled(false);
    m_panel->Form_Load();
    return true;
}

void mdiStart::CenterInScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 2);
}

void mdiStart::ChangeHeaders3()
{
    m_model->setShowsKeyColumn(false);
    applyColumnWidths();
}

void mdiStart::ChangeHeaders4()
{
    m_model->setShowsKeyColumn(true);
    applyColumnWidths();
}

void mdiStart::applyColumnWidths()
{
    // Before the window is first shown the list has no real width yet; showEvent applies them again.
    const int viewport = lstvDrawings->viewport()->width();
    const int width = viewport > 200 ? viewport : this->width() - 320;
    const std::vector<double> divisors =
        m_model->showsKeyColumn() ? std::vector<double>{4, 4, 3, 7} : std::vector<double>{4, 5, 1.9};
    for (std::size_t i = 0; i < divisors.size(); ++i)
        lstvDrawings->header()->resizeSection(static_cast<int>(i), static_cast<int>(width / divisors[i]));
}

void mdiStart::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, &mdiStart::applyColumnWidths);
    }
}

void mdiStart::RefreshCount()
{
    Label1->setText(ToQString(DrawingCountText(m_model->rows().size())));
}

RowSelection mdiStart::SelectedRows() const
{
    const std::size_t count = m_model->rows().size();
    RowSelection selected(count, false);
    // Walk the selection's ranges rather than its indexes: a selection of many rows is a few ranges.
    for (const QItemSelectionRange& range : lstvDrawings->selectionModel()->selection()) {
        if (range.parent().isValid())
            continue;
        for (int row = std::max(range.top(), 0); row <= range.bottom() && std::size_t(row) < count; ++row)
            selected[std::size_t(row)] = true;
    }
    return selected;
}

void mdiStart::SetColumnSort(const std::optional<ColumnSort>& sort)
{
    m_columnSort = sort;
    QHeaderView* header = lstvDrawings->header();
    header->setSortIndicatorShown(sort.has_value());
    if (sort)
        header->setSortIndicator(sort->column, sort->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void mdiStart::CmdAdd_Click()
{
    const QStringList paths = Dialogs().openFileNames(ToQString(std::string(kAddFilesTitle)),
                                                      ToQString(std::string(kAddFilesFilter)), m_addFolder, true);
    if (paths.isEmpty())
        return;
    m_addFolder = QFileInfo(paths.first()).absolutePath();
    AddDrawings(paths);
}

void mdiStart::AddDrawings(const QStringList& paths)
{
    AddOutcome outcome;
    {
        BusyCursor busy;
        const std::vector<std::string> list = NativePaths(paths);
        m_model->rebuild([&](DrawingRows& rows) { outcome = AddFromDialog(rows, list, m_columnSort); });
    }
    drawingsAdded(outcome);
}

void mdiStart::DropFiles(const QStringList& paths)
{
    AddOutcome outcome;
    {
        BusyCursor busy;
        const std::vector<std::string> list = NativePaths(paths);
        const auto isFolder = [](const std::string& path) {
            const auto attributes = platform::GetFileAttributes(path);
            return attributes.ok() && (attributes.value() & platform::AttrDirectory) != 0;
        };
        m_model->rebuild([&](DrawingRows& rows) { outcome = AddDropped(rows, list, isFolder, m_columnSort); });
    }
    drawingsAdded(outcome);
}

void mdiStart::drawingsAdded(const AddOutcome& outcome)
{
    // The list was rebuilt, so no row is selected any more.
    cmdDelete->setEnabled(false);
    m_panel->lblSelectType = QStringLiteral("1");
    if (m_model->rowCount() > 0) {
        cmdClear->setEnabled(true);
        cmdSortIso->setEnabled(true);
        m_panel->CmdAction->setEnabled(true);
        m_panel->cmdCombineRoutines->setEnabled(true);
    }
    RefreshCount();
    if (!outcome.refused.empty())
        Dialogs().message(RefusedDrawingsMessage(outcome.refused));
}

void mdiStart::lstvDrawings_Click()
{
    m_panel->lblSelectType = QStringLiteral("0");
    if (m_model->rowCount() > 0)
        cmdDelete->setEnabled(true);
}

void mdiStart::lstvDrawings_ColumnClick(int column)
{
    const SortOrderStep step = NextSortOrder(ToStd(lblSortOrder));
    lblSortOrder = ToQString(step.lblSortOrder);
    SetColumnSort(ColumnSort{column, step.descending});
    {
        BusyCursor busy;
        m_model->rebuild([&](DrawingRows& rows) { SortByColumn(rows, *m_columnSort); });
    }
    cmdDelete->setEnabled(false);
    m_panel->lblSelectType = QStringLiteral("1");
}

void mdiStart::cmdSortIso_Click()
{
    std::string delimiter;
    std::string fieldNumber;
    GetFieldDelimOption(Program().ini, delimiter, fieldNumber);
    {
        BusyCursor busy;
        // The rows now stand in key order; later drawings are appended until a header is clicked.
        SetColumnSort(std::nullopt);
        m_model->rebuild([&](DrawingRows& rows) { SortByField(rows, delimiter, fieldNumber); });
        ChangeHeaders4();
    }
    cmdDelete->setEnabled(false);
    m_panel->lblSelectType = QStringLiteral("1");
    if (m_model->rowCount() == 0) {
        cmdClear->setEnabled(false);
        cmdSortIso->setEnabled(false);
        m_panel->CmdAction->setEnabled(false);
        m_panel->cmdCombineRoutines->setEnabled(false);
        m_panel->CmdStart->setEnabled(false);
    }
    RefreshCount();
}

void mdiStart::StartUpCommandLine(const QString& argument, bool check)
{
    QString path = argument;
    path.remove(QLatin1Char('"'));
    commandLineRun = true;
    m_panel->RetrieveList(path);
    if (check) {
        Program().exitCode = commandLineRun ? PrintCheck() : 2;
        close();
        return;
    }
    bool started = false;
    if (commandLineRun)
        started =
            BatchRunner(*this).CommandLineRun(m_panel->CboSequence->currentText(), m_panel->chkCollate->isChecked());
    Program().exitCode = started ? 0 : 1;
    close();
}

void mdiStart::CheckBatch()
{
    std::optional<BatchCheckReport> report =
        BatchRunner(*this).CheckBatch(m_panel->CboSequence->currentText(), m_panel->chkCollate->isChecked(), true);
    if (!report)
        return;
    frmCheckResult result(std::move(*report), QString::fromStdString(GetAcadVer(Program().ini)), this);
    connect(&result, &frmCheckResult::openRoutine, this,
            [this](const QString& description) { m_panel->OpenRoutineEditor(FrmScript::TabMacro, description); });
    result.exec();
}

int mdiStart::PrintCheck()
{
    const std::optional<BatchCheckReport> report =
        BatchRunner(*this).CheckBatch(m_panel->CboSequence->currentText(), m_panel->chkCollate->isChecked(), false);
    if (!report)
        return 2;
    std::string text;
    for (const DrawingCheck& drawing : report->drawings)
        text += drawing.path + ": " + DescribeCheck(drawing) + "\n";
    for (const CheckProblem& problem : report->elsewhere)
        text += "(script): " + DescribeProblem(problem) + "\n";
    text += CheckSummary(*report, GetAcadVer(Program().ini)) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return report->errors > 0 ? 1 : 0;
}

bool mdiStart::StartProcess(bool confirm)
{
    return BatchRunner(*this).StartProcess(confirm, m_panel->CboSequence->currentText(),
                                           m_panel->chkCollate->isChecked());
}

void mdiStart::mnuTimer_Click()
{
    frmTimer timer(*this, frmTimer::ClockInUse(), this);
    timer.exec();
}

void mdiStart::OpenRoutineEditor(int tab)
{
    m_panel->OpenRoutineEditor(static_cast<std::int16_t>(tab));
}

void mdiStart::MnuStartupReset_Click()
{
    if (Dialogs().show("To reset the Quorvel startup sequence press OK.", "Reset Sartup Sequence", MessageIcon::None,
                       MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    const Status written = Program().ini.WriteValue(keys::kStartupSection, keys::kSetupKey, "NO");
    if (!written) {
        ShowError(written.error(), "MnuStartupReset_Click");
        return;
    }
    Dialogs().show("You have now reset the Quorvel startup sequence. The next time you start Quorvel the " +
                       std::string(kCrLf) + "startup sequence will relocate your setup files.",
                   "Quorvel Startup Sequence", MessageIcon::Information);
}

void mdiStart::MnuOptionsFile_Click()
{
    frmFileLocation options(this);
    connect(&options, &frmFileLocation::settingsWritten, this, &mdiStart::SettingsChanged);
    connect(&options, &frmFileLocation::databaseChanged, m_panel, &frmCommandButton::FillActionList);
    options.exec();
}

void mdiStart::SettingsChanged()
{
    productCode = GetAcadVer(Program().ini);
    m_panel->ShowAcadVersion();
    std::string delimiter;
    std::string fieldNumber;
    cmdSortIso->setVisible(GetFieldDelimOption(Program().ini, delimiter, fieldNumber) == "ON");
}

void mdiStart::mnuFileExit_Click()
{
    if (Dialogs().show("You are now exiting Quorvel, press OK to continue exiting", "Exit Quorvel", MessageIcon::None,
                       MessageButtons::OkCancel) == MessageAnswer::Ok)
        close();
}

void mdiStart::mnuHelpHelp_Click()
{
    const std::string page = JoinPath(JoinPath(Program().shippedFolder, "help"), "Quorvel.html");
    const QString path = QString::fromStdString(page);
    if (Dialogs().openDocument(path))
        return;
    if (!QFileInfo::exists(path)) {
        Dialogs().show("The help page could not be opened:\r\n" + page, "Quorvel Help", MessageIcon::Exclamation);
        return;
    }
    // No viewer on this desktop: the page in a window of our own, one at a time.
    HelpWindow* help = findChild<HelpWindow*>();
    if (!help)
        help = new HelpWindow(path, this);
    help->show();
    help->raise();
}

void mdiStart::mnuHelpAbout_Click()
{
    AboutBox box(this);
    box.exec();
}

} // namespace qv
