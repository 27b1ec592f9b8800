#include "app/mdiStart.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/DrawingListFile.h"
#include "routines/FrmScript.h"
#include "routines/RoutineStore.h"
#include "routines/frmCommandButton.h"
#include "routines/frmLocateData.h"
#include "support/GuiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

void AddRoutine(const char* description, bool favourite)
{
    QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd(description, "_zoom\r\n_e", !favourite)).has_value());
}

QStringList Items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QStringList Routines(const mdiStart& window)
{
    QStringList out;
    for (const DrawingRow& row : window.drawingList()->rows())
        out << QString::fromStdString(row.routine);
    return out;
}

void Select(mdiStart& window, std::initializer_list<int> rows)
{
    for (const int row : rows)
        window.lstvDrawings->selectionModel()->select(window.drawingList()->index(row, 0),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// A window with a loaded panel over a database of three routines, two of them favourites.
struct Fixture
{
    Fixture()
    {
        AddRoutine("Plot A", true);
        AddRoutine("Purge", false);
        AddRoutine("Plot, A3", true);
        window.FormLoad();
        panel = window.commandPanel();
    }
    mdiStart window;
    frmCommandButton* panel = nullptr;
};

} // namespace

class ActionPanelTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { DatabaseNoticeShown() = false; }
    void showsEveryControl();
    void fillsFavouritesAndRefillsAfterAModalWindow();
    void showsTheMissingRoutinesNoticeOnce();
    void assignsToAllOrToTheSelectedRows();
    void savesAndRetrievesAList();
    void retrieveWithAMissingRoutineDisablesStart();
    void startResetsTheSetsAndCloseAsks();
    void editorDisablesStartWhileOpen();
};

void ActionPanelTest::showsEveryControl()
{
    GuiEnvironment env;
    Fixture f;
    QCOMPARE(f.panel->parentWidget(), f.window.panelHost);
    QCOMPARE(Control<QGroupBox>(f.panel, "frmActionSelection")->title(), Q("Step 2.  Assign Routine to Files"));
    QCOMPARE(Control<QGroupBox>(f.panel, "Frame1")->title(), Q("Step 3. Begin Operation"));
    const struct
    {
        const char* name;
        const char* caption;
        const char* tip;
        bool enabled;
    } buttons[] = {
        {"cmdAddNewAction", "Edit Routines / Wizards", "Add New Routines and Update Existing Routines", true},
        {"cmdFavorites", "Show Non Favourites", "Displays List of Routines", true},
        {"CmdAction", "Assign Routine to Files", "Assigns Selected Routine To Drawings", false},
        {"cmdCombineRoutines", "Combine", "Combine routines and Assign them to drawings", false},
        {"CmdStart", "Start", "Starts AutoCAD and Process Drawings", false},
        {"CmdClose", "Close Quorvel", "Exit out of Quorvel", true},
    };
    for (const auto& b : buttons) {
        auto* button = Control<QPushButton>(f.panel, b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), Q(b.caption));
        QCOMPARE(button->toolTip(), Q(b.tip));
        QCOMPARE(button->isEnabled(), b.enabled);
    }
    QCOMPARE(Control<QLabel>(f.panel, "lblAction")->text(), Q("Select From Favourites"));
    QCOMPARE(Control<QLabel>(f.panel, "lblSequence")->text(), Q("Number of sets"));
    QCOMPARE(Control<QLabel>(f.panel, "lblAcadVersion")->text(), Q("Acad 2005/2006"));
    QCOMPARE(f.panel->lblSelectType, Q("1"));

    auto* sets = Control<QComboBox>(f.panel, "CboSequence");
    QCOMPARE(sets->count(), 20);
    QCOMPARE(sets->itemText(19), Q("20"));
    QCOMPARE(sets->currentText(), Q("1"));
    QVERIFY(!sets->isEditable());
    QTest::keyClick(sets, Qt::Key_5);
    QCOMPARE(sets->currentText(), Q("1"));
    QTest::keyClick(sets, Qt::Key_Down);
    QCOMPARE(sets->currentText(), Q("2"));

    auto* collate = Control<QCheckBox>(f.panel, "chkCollate");
    QCOMPARE(collate->text(), Q("Not Collated 1,1,1..2,2,2"));
    collate->click();
    QCOMPARE(collate->text(), Q("Collated 1,2,3..1,2,3"));

    // A product without a panel label keeps the previous text.
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "Cad2018").ok());
    f.panel->ShowAcadVersion();
    QCOMPARE(f.panel->lblAcadVersion->text(), Q("Acad 2005/2006"));
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "ZWCAD").ok());
    f.panel->ShowAcadVersion();
    QCOMPARE(f.panel->lblAcadVersion->text(), Q("ZWCAD"));
}

void ActionPanelTest::fillsFavouritesAndRefillsAfterAModalWindow()
{
    GuiEnvironment env;
    Fixture f;
    QVERIFY(env.dialogs().messages().isEmpty());
    QCOMPARE(Items(f.panel->cboActionList), QStringList({Q("Plot A"), Q("Plot, A3")}));
    QCOMPARE(f.panel->cboActionList->itemData(1).toInt(), 3);

    f.panel->cmdFavorites->click();
    QCOMPARE(f.panel->cmdFavorites->text(), Q("Show Favourites"));
    QCOMPARE(f.panel->lblAction->text(), Q("Select From Non Favourites"));
    QCOMPARE(Items(f.panel->cboActionList), QStringList({Q("Purge")}));
    QCOMPARE(f.panel->cboActionList->itemData(0).toInt(), 2);
    f.panel->cmdFavorites->click();
    QCOMPARE(f.panel->lblAction->text(), Q("Select From Favourites"));

    // Another window changes the database while a modal window is over the panel.
    QDialog other(&f.window);
    QTimer::singleShot(0, &other, [&] {
        AddRoutine("Saved later", true);
        other.reject();
    });
    other.exec();
    QTRY_COMPARE(Items(f.panel->cboActionList), QStringList({Q("Plot A"), Q("Plot, A3"), Q("Saved later")}));
}

void ActionPanelTest::showsTheMissingRoutinesNoticeOnce()
{
    GuiEnvironment env;
    QString explanation;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmLocateData*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        explanation = dialog->Label1->text();
        dialog->reject();
    });
    mdiStart window;
    window.FormLoad();
    const auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, std::string("Quorvel Information"));
    QVERIFY(messages[0].icon == MessageIcon::Information);
    const std::string& text = messages[0].text;
    QVERIFY(text.starts_with("Quorvel comes with a default set of routines these appear to be missing. Windows "
                             "sometimes uses the default location for the routine database file\r\nC:\\Users\\"));
    QVERIFY(text.find("\\Quorvel, although the location we specified in Quorvel is different.\r\n\r\nThe solution") !=
            std::string::npos);
    QVERIFY(text.find("\r\n\r\nTo specify new location for Database File\r\n\r\n1. Click the Browse button") !=
            std::string::npos);
    QVERIFY(text.find("6. Click Apply\r\n7. Click Okay to return to the Main Menu\r\n\r\n") != std::string::npos);
    QVERIFY(text.ends_with("\r\n"));
    QCOMPARE(explanation, Q("If you know where the database is, press Browse to locate this file now or Cancel to "
                            "locate the database later.\r\n"));
    QVERIFY(DatabaseNoticeShown());

    mdiStart again;
    again.FormLoad();
    QCOMPARE(env.dialogs().messages().size(), 1);
}

void ActionPanelTest::assignsToAllOrToTheSelectedRows()
{
    GuiEnvironment env;
    Fixture f;
    f.window.AddDrawings({Q("/d/a.dwg"), Q("/d/b.dwg"), Q("/d/c.dwg")});
    QVERIFY(!f.panel->CmdStart->isEnabled());
    f.panel->cboActionList->setCurrentIndex(0);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot A"), Q("Plot A"), Q("Plot A")}));
    QVERIFY(f.panel->CmdStart->isEnabled());
    QVERIFY(f.window.cmdSortIso->isEnabled());

    Select(f.window, {0, 2});
    QCOMPARE(f.panel->lblSelectType, Q("0"));
    f.panel->cboActionList->setCurrentIndex(1);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot, A3")}));
    QCOMPARE(f.panel->lblSelectType, Q("1"));
    QVERIFY(!f.window.cmdDelete->isEnabled());

    // Enter on the routine list assigns too, to all rows again.
    f.panel->cboActionList->setCurrentIndex(0);
    QTest::keyClick(f.panel->cboActionList, Qt::Key_Return);
    QCOMPARE(Routines(f.window), QStringList({Q("Plot A"), Q("Plot A"), Q("Plot A")}));

    // With the list sorted by the routine column, an assignment keeps it sorted.
    emit f.window.lstvDrawings->header()->sectionClicked(2); // descending
    Select(f.window, {1});
    f.panel->cboActionList->setCurrentIndex(1);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot A")}));
}

void ActionPanelTest::savesAndRetrievesAList()
{
    GuiEnvironment env;
    Fixture f;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    Control<QAction>(&f.window, "mnuSaveList1")->trigger();
    QCOMPARE(env.dialogs().messages().value(0), NoDrawingsListedMessage());
    QCOMPARE(env.dialogs().calls().size(), 1);

    f.window.AddDrawings({Q("/d/a.dwg"), Q("/e/b.dwg"), Q("/d/c.dwg")});
    f.panel->CmdAction->click();
    Select(f.window, {1});
    f.panel->cboActionList->setCurrentIndex(1);
    f.panel->CmdAction->click();
    const QString path = env.file(Q("list.qvl"));
    env.dialogs().clear();
    env.dialogs().queueSaveName(path);
    Control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, Q("Save Quorvel Drawing List"));
    QCOMPARE(env.dialogs().calls().value(0).filter, Q("Quorvel List Files (*.qvl)|*.qvl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\"a.dwg\",\"/d\",\"Plot A\"\r\n\"b.dwg\",\"/e\",\"Plot, A3\"\r\n"
                                        "\"c.dwg\",\"/d\",\"Plot A\"\r\n"));

    f.window.cmdClear->click();
    QVERIFY(!f.panel->CmdStart->isEnabled());
    env.dialogs().clear();
    env.dialogs().queueFiles({path});
    Control<QAction>(&f.window, "mnuRetrieveList1")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, Q("Open Quorvel drawing List File"));
    QCOMPARE(env.dialogs().messages().size(), 0);
    QCOMPARE(Routines(f.window), QStringList({Q("Plot A"), Q("Plot, A3"), Q("Plot A")}));
    QCOMPARE(f.window.Label1->text(), Q("3 Drawings To Be Processed"));
    for (QPushButton* button : {f.panel->CmdStart, f.panel->CmdAction, f.window.cmdSortIso, f.window.cmdClear})
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));

    // A file that cannot be read stops a command-line run.
    f.window.commandLineRun = true;
    QVERIFY(!f.panel->RetrieveList(env.file(Q("missing.qvl"))));
    QVERIFY(!f.window.commandLineRun);
    QCOMPARE(f.window.drawingList()->rowCount(), 0);
    QVERIFY(env.dialogs().messages().value(0).text.starts_with("Error Number 53 in routine RetrieveList "));
    QVERIFY(!f.panel->CmdStart->isEnabled());
    QVERIFY(!f.panel->CmdAction->isEnabled());
}

void ActionPanelTest::retrieveWithAMissingRoutineDisablesStart()
{
    GuiEnvironment env;
    Fixture f;
    const QString path = env.file(Q("old.qvl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"a.dwg\",\"/d\",\"Gone\"\r\n\"b.dwg\",\"/d\",\"Plot A\"\r\n\"c.dwg\",\"/d\",\"Gone too\"\r\n");
    file.close();
    f.window.commandLineRun = true;
    QVERIFY(f.panel->RetrieveList(path));
    QCOMPARE(Routines(f.window), QStringList({Q(""), Q("Plot A"), Q("")}));
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(env.dialogs().messages()[0], MissingRoutinesMessage());
    QVERIFY(!f.panel->CmdStart->isEnabled());
    QVERIFY(!f.window.cmdSortIso->isEnabled());
    QVERIFY(f.panel->CmdAction->isEnabled());
}

void ActionPanelTest::startResetsTheSetsAndCloseAsks()
{
    GuiEnvironment env;
    Fixture f;
    f.window.show();
    QSignalSpy started(f.panel, &frmCommandButton::startRequested);
    f.panel->CboSequence->setCurrentIndex(11);
    f.panel->CmdStart->setEnabled(true);
    env.dialogs().queueAnswer(MessageAnswer::Cancel); // the run's confirmation
    f.panel->CmdStart->click();
    QCOMPARE(started.count(), 1);
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Confirm Starting Acad"));
    QCOMPARE(f.panel->CboSequence->currentText(), Q("1"));

    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    f.panel->CmdClose->click();
    QVERIFY(f.window.isVisible());
    const UserMessage asked = env.dialogs().messages().value(1);
    QCOMPARE(asked.text, std::string("You are now exiting Quorvel, press OK to continue exiting"));
    QCOMPARE(asked.title, std::string("Exit Quorvel"));
    QVERIFY(asked.buttons == MessageButtons::OkCancel);
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    f.panel->CmdClose->click();
    QVERIFY(!f.window.isVisible());
}

void ActionPanelTest::editorDisablesStartWhileOpen()
{
    GuiEnvironment env;
    Fixture f;
    f.window.AddDrawings({Q("/d/a.dwg")});
    f.panel->CmdAction->click();
    QVERIFY(f.panel->CmdStart->isEnabled());
    bool disabledWhileOpen = false;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<FrmScript*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        disabledWhileOpen = !f.panel->CmdStart->isEnabled() && !f.window.cmdSortIso->isEnabled();
        AddRoutine("Made in the editor", true);
        editor->cmdExit->click();
    });
    Control<QAction>(&f.window, "mnuFileUpdate")->trigger();
    QVERIFY(disabledWhileOpen);
    QVERIFY(f.panel->CmdStart->isEnabled());
    QVERIFY(f.window.cmdSortIso->isEnabled());
    QVERIFY(Items(f.panel->cboActionList).contains(Q("Made in the editor")));
}

QTEST_MAIN(ActionPanelTest)
#include "ActionPanelTest.moc"
