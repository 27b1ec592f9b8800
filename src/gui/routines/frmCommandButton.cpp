#include "frmCommandButton.h"

#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "app/mdiStart.h"
#include "batch/DrawingList.h"
#include "batch/DrawingListModel.h"
#include "batch/ScriptWriter.h"
#include "config/CadProducts.h"
#include "config/Settings.h"
#include "routines/DrawingListFile.h"
#include "routines/FrmScript.h"
#include "routines/RoutineStore.h"
#include "routines/frmCombineRoutine.h"
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
bool IsModalWindowOfOurs(QObject* object)
{
    auto* dialog = qobject_cast<QDialog*>(object);
    return dialog && dialog->isWindow() && dialog->isModal() && !qobject_cast<QMessageBox*>(dialog) &&
           !qobject_cast<QFileDialog*>(dialog) && !qobject_cast<QInputDialog*>(dialog);
}

} // namespace

QString MissingRoutinesNoticeText()
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

QString LocateDatabaseLaterText()
{
    return QStringLiteral("If you know where the database is, press Browse to ") +
           QStringLiteral("locate this file now or Cancel to locate the database later.") + QStringLiteral("\r\n");
}

frmCommandButton::frmCommandButton(mdiStart& main, QWidget* parent) : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("frmCommandButton"));
    buildControls();
    qApp->installEventFilter(this);
}

frmCommandButton::~frmCommandButton() = default;

void frmCommandButton::buildControls()
{
    frmActionSelection = new QGroupBox(QStringLiteral("Step 2.  Assign Routine to Files"), this);
    frmActionSelection->setObjectName(QStringLiteral("frmActionSelection"));
    cmdAddNewAction = MakeButton(frmActionSelection, "cmdAddNewAction", QStringLiteral("Edit Routines / Wizards"),
                                 QStringLiteral("Add New Routines and Update Existing Routines"));
    cmdFavorites = MakeButton(frmActionSelection, "cmdFavorites", QString::fromLatin1(kShowNonFavourites),
                              QStringLiteral("Displays List of Routines"));
    lblAction = MakeLabel(frmActionSelection, "lblAction", QStringLiteral("Select From Favourites"));
    cboActionList = new QComboBox(frmActionSelection);
    cboActionList->setObjectName(QStringLiteral("cboActionList"));
    cboActionList->setEditable(false);
    cboActionList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboActionList->setMinimumContentsLength(24);
    lblAction->setBuddy(cboActionList);
    CmdAction = MakeButton(frmActionSelection, "CmdAction", QStringLiteral("Assign Routine to Files"),
                           QStringLiteral("Assigns Selected Routine To Drawings"));
    cmdCombineRoutines = MakeButton(frmActionSelection, "cmdCombineRoutines", QStringLiteral("Combine"),
                                    QStringLiteral("Combine routines and Assign them to drawings"));
    auto* selection = new QVBoxLayout(frmActionSelection);
    selection->addWidget(cmdAddNewAction);
    selection->addWidget(cmdFavorites);
    selection->addWidget(lblAction);
    selection->addWidget(cboActionList);
    selection->addWidget(CmdAction);
    selection->addWidget(cmdCombineRoutines);

    Frame1 = new QGroupBox(QStringLiteral("Step 3. Begin Operation"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblSequence = MakeLabel(Frame1, "lblSequence", QStringLiteral("Number of sets"));
    lblSequence->setToolTip(QStringLiteral("Sets up the number of sets you require"));
    CboSequence = new QComboBox(Frame1);
    CboSequence->setObjectName(QStringLiteral("CboSequence"));
    CboSequence->setEditable(false);
    CboSequence->setToolTip(QStringLiteral("Sets up the number of sets you require"));
    lblSequence->setBuddy(CboSequence);
    chkCollate = new QCheckBox(QString::fromLatin1(kNotCollated), Frame1);
    chkCollate->setObjectName(QStringLiteral("chkCollate"));
    chkCollate->setToolTip(QStringLiteral("When printing it allows you to Collate prints or not "));
    CmdStart =
        MakeButton(Frame1, "CmdStart", QStringLiteral("Start"), QStringLiteral("Starts AutoCAD and Process Drawings"));
    cmdCheck = MakeButton(Frame1, "cmdCheck", QStringLiteral("Check"),
                          QStringLiteral("Checks every drawing's routine against what the CAD program will ask, "
                                         "without starting it"));
    CmdClose = MakeButton(Frame1, "CmdClose", QStringLiteral("Close Quorvel"), QStringLiteral("Exit out of Quorvel"));
    auto* run = new QVBoxLayout(Frame1);
    auto* sets = new QHBoxLayout();
    sets->addWidget(lblSequence);
    sets->addWidget(CboSequence, 1);
    run->addLayout(sets);
    run->addWidget(chkCollate);
    auto* startOrCheck = new QHBoxLayout();
    startOrCheck->addWidget(CmdStart, 2);
    startOrCheck->addWidget(cmdCheck, 1);
    run->addLayout(startOrCheck);
    run->addWidget(CmdClose);

    lblAcadVersion = MakeLabel(this, "lblAcadVersion", QString());
    lblAcadVersion->setToolTip(QStringLiteral("AutoCAD version set in Options"));
    lblAcadVersion->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frmActionSelection);
    layout->addWidget(Frame1);
    layout->addWidget(lblAcadVersion);
    layout->addStretch();

    cmdCombineRoutines->setEnabled(false);
    CmdAction->setEnabled(false);
    CmdStart->setEnabled(false);
    cmdCheck->setEnabled(false);

    cboActionList->installEventFilter(this);
    // Check is offered whenever Start is.
    CmdStart->installEventFilter(this);
    CboSequence->installEventFilter(this);

    connect(cmdAddNewAction, &QPushButton::clicked, this, &frmCommandButton::Add_New_Action);
    connect(cmdFavorites, &QPushButton::clicked, this, &frmCommandButton::cmdFavorites_Click);
    connect(CmdAction, &QPushButton::clicked, this, &frmCommandButton::AssignRoutine);
    connect(cmdCombineRoutines, &QPushButton::clicked, this, &frmCommandButton::cmdCombineRoutines_Click);
    connect(CmdStart, &QPushButton::clicked, this, &frmCommandButton::CmdStart_Click);
    connect(cmdCheck, &QPushButton::clicked, this, &frmCommandButton::checkRequested);
    connect(CmdClose, &QPushButton::clicked, this, &frmCommandButton::CmdClose_Click);
    connect(chkCollate, &QCheckBox::toggled, this, &frmCommandButton::chkCollate_Click);
    connect(cboActionList, &QComboBox::activated, this, [this] { lblcboBoxText = QStringLiteral("1"); });
}

void frmCommandButton::Form_Load()
{
    lblSelectType = QStringLiteral("1");
    cmdFavorites->setText(QString::fromLatin1(kShowNonFavourites));
    lblAction->setText(QStringLiteral("Select From Favourites"));
    FillActionList();
    CmdAction->setEnabled(false);
    cmdCombineRoutines->setEnabled(false);
    m_main.cmdDelete->setEnabled(false);
    FillSequencebox();
    ShowAcadVersion();
    if (cboActionList->count() == 0 && !DatabaseNoticeShown())
        showMissingRoutinesNotice();
}

void frmCommandButton::showMissingRoutinesNotice()
{
    Dialogs().show(ToStd(MissingRoutinesNoticeText()), "Quorvel Information", MessageIcon::Information);
    // The dialog's closing must not start the notice's check over again.
    m_filling = true;
    ShowLocateDatabase(LocateDatabaseLaterText());
    m_filling = false;
    m_refillPending = false;
}

void frmCommandButton::FillActionList()
{
    m_filling = true;
    m_refillPending = false;
    cboActionList->clear();
    LoadCatalogue();
    const std::string wanted = cmdFavorites->text() == QLatin1String(kShowFavourites) ? "Non" : "Fav";
    for (const clsRoutine& routine : Catalogue()) {
        if (TrimSpaces(routine.Favourite()) == wanted)
            cboActionList->addItem(ToQString(std::string(TrimSpaces(routine.Description()))),
                                   int(routine.RecordNumber()));
    }
    lblcboBoxText = QStringLiteral("0");
    m_filling = false;
}

void frmCommandButton::FillSequencebox()
{
    CboSequence->clear();
    for (int sets = 1; sets <= 20; ++sets)
        CboSequence->addItem(QString::number(sets));
    CboSequence->setCurrentIndex(0);
}

void frmCommandButton::ShowAcadVersion()
{
    if (const auto label = PanelLabel(GetAcadVer(Program().ini)))
        lblAcadVersion->setText(ToQString(*label));
}

void frmCommandButton::cmdFavorites_Click()
{
    if (cmdFavorites->text() == QLatin1String(kShowNonFavourites)) {
        cmdFavorites->setText(QString::fromLatin1(kShowFavourites));
        lblAction->setText(QStringLiteral("Select From Non Favourites"));
    } else {
        cmdFavorites->setText(QString::fromLatin1(kShowNonFavourites));
        lblAction->setText(QStringLiteral("Select From Favourites"));
    }
    FillActionList();
}

void frmCommandButton::AssignRoutine()
{
    {
        BusyCursor busy;
        if (lblSelectType != QLatin1String("1"))
            ShowSubjectInSelected();
        else
            RedoListItems(cboActionList->currentText());
    }
    EnableStartAndSort();
    m_main.cmdDelete->setEnabled(false);
    lblSelectType = QStringLiteral("1");
}

void frmCommandButton::RedoListItems(const QString& name)
{
    const std::string routine = ToStd(name);
    const auto sort = m_main.columnSort();
    m_main.drawingList()->rebuild([&](DrawingRows& rows) {
        qv::RedoListItems(rows, routine);
        if (sort)
            SortByColumn(rows, *sort);
    });
}

void frmCommandButton::ShowSubjectInSelected()
{
    const std::string routine = ToStd(cboActionList->currentText());
    const RowSelection selected = m_main.SelectedRows();
    const auto sort = m_main.columnSort();
    m_main.drawingList()->rebuild([&](DrawingRows& rows) {
        qv::ShowSubjectInSelected(rows, selected, routine);
        if (sort)
            SortByColumn(rows, *sort);
    });
}

void frmCommandButton::Add_New_Action()
{
    OpenRoutineEditor(FrmScript::kNoTab);
}

void frmCommandButton::OpenRoutineEditor(std::int16_t tab, const QString& routine)
{
    CmdStart->setEnabled(false);
    m_main.cmdSortIso->setEnabled(false);
    {
        Program().editorTab = tab;
        FrmScript editor(&m_main);
        connect(&editor, &FrmScript::routineAddedOrDeleted, this, [this] { lblcboBoxText = QStringLiteral("0"); });
        editor.Form_Load();
        if (!routine.isEmpty())
            editor.selectRoutine(routine);
        editor.exec();
    }
    FillActionList();
    EnableStartAndSort();
}

void frmCommandButton::cmdCombineRoutines_Click()
{
    CmdStart->setEnabled(false);
    m_main.cmdSortIso->setEnabled(false);
    {
        frmCombineRoutine combine(*this, &m_main);
        combine.Form_Load();
        combine.exec();
    }
    EnableStartAndSort();
}

void frmCommandButton::AssignCombinedRoutine()
{
    {
        BusyCursor busy;
        RedoListItems(ToQString(std::string(kCombinedRoutines)));
    }
    EnableStartAndSort();
    m_main.cmdDelete->setEnabled(false);
    lblSelectType = QStringLiteral("1");
}

void frmCommandButton::Clear_List()
{
    m_main.drawingList()->rebuild([](DrawingRows& rows) { qv::Clear_List(rows); });
    m_main.cmdClear->setEnabled(false);
    disableForEmptyList();
    listRebuilt();
}

void frmCommandButton::DeleteFromList()
{
    const RowSelection selected = m_main.SelectedRows();
    {
        BusyCursor busy;
        m_main.drawingList()->rebuild([&](DrawingRows& rows) { qv::DeleteFromList(rows, selected); });
    }
    listRebuilt();
    if (m_main.drawingList()->rowCount() == 0) {
        m_main.cmdClear->setEnabled(false);
        disableForEmptyList();
    }
}

void frmCommandButton::listRebuilt()
{
    m_main.cmdDelete->setEnabled(false);
    m_main.RefreshCount();
    lblSelectType = QStringLiteral("1");
}

void frmCommandButton::disableForEmptyList()
{
    m_main.cmdSortIso->setEnabled(false);
    CmdAction->setEnabled(false);
    cmdCombineRoutines->setEnabled(false);
    CmdStart->setEnabled(false);
}

void frmCommandButton::SaveDrawingList()
{
    const DrawingRows& rows = m_main.drawingList()->rows();
    if (rows.empty()) {
        Dialogs().message(NoDrawingsListedMessage());
        return;
    }
    const auto name = Dialogs().saveFileName(ToQString(std::string(kSaveListTitle)),
                                             ToQString(std::string(kListFileFilter)), m_listFolder);
    if (!name)
        return;
    // A name typed without an extension is saved as a list file the retrieve dialog shows.
    const QString fileName = ToQString(WithListExtension(ToStd(*name)));
    if (fileName != *name && QFileInfo::exists(fileName) &&
        Dialogs().show(ToStd(QDir::toNativeSeparators(fileName)) + " already exists.\r\nDo you want to replace it?",
                       std::string(kSaveListTitle), MessageIcon::Exclamation,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    m_listFolder = QFileInfo(fileName).absolutePath();
    ListSaveOutcome outcome;
    {
        BusyCursor busy;
        outcome = WriteList(ToStd(fileName), rows);
    }
    for (const UserMessage& message : outcome.messages)
        Dialogs().message(message);
}

void frmCommandButton::RetrieveDrawingList()
{
    const QStringList chosen = Dialogs().openFileNames(ToQString(std::string(kRetrieveListTitle)),
                                                       ToQString(std::string(kListFileFilter)), m_listFolder, false);
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return;
    m_listFolder = QFileInfo(chosen.first()).absolutePath();
    RetrieveList(chosen.first());
}

bool frmCommandButton::RetrieveList(const QString& path)
{
    const std::string fileName = ToStd(path);
    RetrievedList list;
    {
        BusyCursor busy;
        const RoutineIndex index(Catalogue());
        list =
            qv::RetrieveList(fileName, [&index](std::string_view description) { return index.contains(description); });
        if (ReplacesDrawingList(list)) {
            // A retrieved list is processed in the file's order: column sorting is switched off.
            m_main.SetColumnSort(std::nullopt);
            m_main.ChangeHeaders3();
            m_main.drawingList()->setRows(std::move(list.rows));
            list.rows.clear();
        }
    }
    for (const UserMessage& message : RetrieveMessages(list, fileName))
        Dialogs().message(message);
    const bool stops = StopsCommandLineRun(list);
    if (stops)
        m_main.commandLineRun = false;
    // The list in hand stays exactly as it was, buttons included.
    if (!ReplacesDrawingList(list))
        return !stops;

    listRebuilt();
    const bool hasRows = m_main.drawingList()->rowCount() > 0;
    m_main.cmdClear->setEnabled(hasRows);
    CmdAction->setEnabled(hasRows);
    cmdCombineRoutines->setEnabled(hasRows);
    if (!hasRows)
        disableForEmptyList();
    if (list.missing) {
        CmdStart->setEnabled(false);
        m_main.cmdSortIso->setEnabled(false);
    } else if (hasRows) {
        CmdStart->setEnabled(true);
        m_main.cmdSortIso->setEnabled(true);
    }
    return !stops;
}

void frmCommandButton::CmdStart_Click()
{
    emit startRequested();
    if (CboSequence->currentText() != QLatin1String("1"))
        CboSequence->setCurrentIndex(0);
}

void frmCommandButton::CmdClose_Click()
{
    m_main.mnuFileExit_Click();
}

void frmCommandButton::chkCollate_Click()
{
    chkCollate->setText(QString::fromLatin1(chkCollate->isChecked() ? kCollated : kNotCollated));
}

bool frmCommandButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CmdStart && event->type() == QEvent::EnabledChange)
        cmdCheck->setEnabled(CmdStart->isEnabled());
    if (watched == CboSequence && event->type() == QEvent::KeyPress) {
        // Only the listed values count: typed characters are ignored, navigation keys still work.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    if (watched == cboActionList && event->type() == QEvent::KeyPress) {
        // Enter on the closed routine list assigns (the list's popup takes the clicks, so a double click
        // cannot reach it); choosing in the popup only selects.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && CmdAction->isEnabled()) {
            AssignRoutine();
            return true;
        }
    }
    // A modal window of ours closing (editor, options, combine...) may have changed the routines: read
    // them again once control is back here.
    if (event->type() == QEvent::Hide && !m_filling && !m_refillPending && IsModalWindowOfOurs(watched) &&
        watched != window()) {
        m_refillPending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_refillPending && !QApplication::activeModalWidget()) {
                FillActionList();
                // The product may have been changed too.
                ShowAcadVersion();
            }
            m_refillPending = false;
        });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qv
