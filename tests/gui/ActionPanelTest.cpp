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
#include <QFileInfo>
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
    void fillsFavouritesAndRefillsAfterModalWindows();
    void showsTheMissingRoutinesNoticeOnce();
    void assignsThenSavesAndRetrievesTheList();
    void runControls();
};

void ActionPanelTest::fillsFavouritesAndRefillsAfterModalWindows()
{
    GuiEnvironment env;
    Fixture f;
    QVERIFY(env.dialogs().messages().isEmpty());
    QVERIFY(!f.panel->CmdAction->isEnabled() && !f.panel->cmdCombineRoutines->isEnabled());
    QCOMPARE(Items(f.panel->cboActionList), QStringList({Q("Plot A"), Q("Plot, A3")}));
    QCOMPARE(f.panel->cboActionList->itemData(1).toInt(), 3);

    f.panel->cmdFavorites->click();
    QCOMPARE(f.panel->cmdFavorites->text(), Q("Show Favourites"));
    QCOMPARE(f.panel->lblAction->text(), Q("Select From Non Favourites"));
    QCOMPARE(Items(f.panel->cboActionList), QStringList({Q("Purge")}));
    f.panel->cmdFavorites->click();

    // Another window changes the database while a modal window is over the panel.
    QDialog other(&f.window);
    QTimer::singleShot(0, &other, [&] {
        AddRoutine("Saved later", true);
        other.reject();
    });
    other.exec();
    QTRY_COMPARE(Items(f.panel->cboActionList), QStringList({Q("Plot A"), Q("Plot, A3"), Q("Saved later")}));

    // The routine editor keeps Start off while it is open.
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
    QVERIFY(f.panel->CmdStart->isEnabled() && f.window.cmdSortIso->isEnabled());
    QCOMPARE(Items(f.panel->cboActionList).last(), Q("Made in the editor"));
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
    for (const char* part :
         {"\\Quorvel, although the location we specified in Quorvel is different.\r\n\r\nThe solution",
          "\r\n\r\nTo specify new location for Database File\r\n\r\n1. Click the Browse button",
          "6. Click Apply\r\n7. Click Okay to return to the Main Menu\r\n\r\n"})
        QVERIFY2(text.find(part) != std::string::npos, part);
    QVERIFY(text.ends_with("\r\n"));
    QCOMPARE(explanation, Q("If you know where the database is, press Browse to locate this file now or Cancel to "
                            "locate the database later.\r\n"));
    QVERIFY(DatabaseNoticeShown());

    mdiStart again;
    again.FormLoad();
    QCOMPARE(env.dialogs().messages().size(), 1);
}

void ActionPanelTest::assignsThenSavesAndRetrievesTheList()
{
    GuiEnvironment env;
    Fixture f;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    Control<QAction>(&f.window, "mnuSaveList1")->trigger();
    QCOMPARE(env.dialogs().messages().value(0), NoDrawingsListedMessage());
    QCOMPARE(env.dialogs().calls().size(), 1);

    f.window.AddDrawings({Q("/d/a.dwg"), Q("/e/b.dwg"), Q("/d/c.dwg")});
    QVERIFY(!f.panel->CmdStart->isEnabled());
    f.panel->cboActionList->setCurrentIndex(0);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot A"), Q("Plot A"), Q("Plot A")}));
    QVERIFY(f.panel->CmdStart->isEnabled());
    QVERIFY(f.window.cmdSortIso->isEnabled());

    Select(f.window, {0, 2});
    f.panel->cboActionList->setCurrentIndex(1);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot, A3")}));
    QVERIFY(!f.window.cmdDelete->isEnabled());

    // Enter on the routine list assigns too, to all rows again.
    f.panel->cboActionList->setCurrentIndex(0);
    QTest::keyClick(f.panel->cboActionList, Qt::Key_Return);
    QCOMPARE(Routines(f.window), QStringList({Q("Plot A"), Q("Plot A"), Q("Plot A")}));

    // With the list sorted by the routine column, an assignment keeps it sorted: b moves first.
    emit f.window.lstvDrawings->header()->sectionClicked(2); // descending
    Select(f.window, {1});
    f.panel->cboActionList->setCurrentIndex(1);
    f.panel->CmdAction->click();
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot A")}));

    // The list is saved in the order shown.
    const QString path = env.file(Q("list.qvl"));
    env.dialogs().clear();
    env.dialogs().queueSaveName(path);
    Control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, Q("Save Quorvel Drawing List"));
    QCOMPARE(env.dialogs().calls().value(0).filter, Q("Quorvel List Files (*.qvl)|*.qvl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QCOMPARE(file.readAll(), QByteArray("\"b.dwg\",\"/e\",\"Plot, A3\"\r\n\"a.dwg\",\"/d\",\"Plot A\"\r\n"
                                        "\"c.dwg\",\"/d\",\"Plot A\"\r\n"));

    f.window.cmdClear->click();
    QVERIFY(!f.panel->CmdStart->isEnabled());
    env.dialogs().clear();
    env.dialogs().queueFiles({path});
    Control<QAction>(&f.window, "mnuRetrieveList1")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, Q("Open Quorvel drawing List File"));
    QCOMPARE(env.dialogs().messages().size(), 0);
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot A")}));
    QCOMPARE(f.window.Label1->text(), Q("3 Drawings To Be Processed"));
    for (QPushButton* button : {f.panel->CmdStart, f.panel->CmdAction, f.window.cmdSortIso, f.window.cmdClear})
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));

    // A routine no longer in the database: its rows come back without one and Start stays off.
    file.write("\"d.dwg\",\"/d\",\"Gone\"\r\n");
    file.close();
    f.window.commandLineRun = true;
    env.dialogs().clear();
    QVERIFY(f.panel->RetrieveList(path));
    QCOMPARE(Routines(f.window), QStringList({Q("Plot, A3"), Q("Plot A"), Q("Plot A"), Q("")}));
    QCOMPARE(env.dialogs().messages(), QList{MissingRoutinesMessage()});
    QVERIFY(!f.panel->CmdStart->isEnabled() && !f.window.cmdSortIso->isEnabled() && f.panel->CmdAction->isEnabled());

    // A file that cannot be read, or is damaged part-way, stops a command-line run and leaves the list in
    // hand exactly as it was.
    const QStringList before = Routines(f.window);
    QFile damaged(env.file(Q("damaged.qvl")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\"e.dwg\",\"/d\",\"Plot A\"\r\nnot a list line\r\n");
    damaged.close();
    for (const QString& bad : {env.file(Q("missing.qvl")), damaged.fileName()}) {
        f.window.commandLineRun = true;
        env.dialogs().clear();
        QVERIFY(!f.panel->RetrieveList(bad));
        QVERIFY(!f.window.commandLineRun);
        QCOMPARE(Routines(f.window), before);
        QCOMPARE(f.window.Label1->text(), Q("4 Drawings To Be Processed"));
        QCOMPARE(env.dialogs().messages().size(), 1);
        QVERIFY(!f.panel->CmdStart->isEnabled() && f.panel->CmdAction->isEnabled() && f.window.cmdClear->isEnabled());
    }
    QVERIFY(env.dialogs().messages().value(0).text.find("The drawing list has not been changed.") != std::string::npos);

    // A name typed without an extension is saved as a .qvl file; replacing an existing one is asked first.
    env.dialogs().clear();
    env.dialogs().queueSaveName(env.file(Q("plain")));
    Control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QVERIFY(QFile::exists(env.file(Q("plain.qvl"))) && !QFile::exists(env.file(Q("plain"))));
    QVERIFY(env.dialogs().messages().isEmpty());
    QFile::resize(env.file(Q("plain.qvl")), 0);
    env.dialogs().queueSaveName(env.file(Q("plain")));
    env.dialogs().queueAnswer(MessageAnswer::No);
    Control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QCOMPARE(env.dialogs().messages().value(0).buttons, MessageButtons::YesNo);
    QVERIFY(env.dialogs().messages().value(0).text.find("plain.qvl already exists.") != std::string::npos);
    QCOMPARE(QFileInfo(env.file(Q("plain.qvl"))).size(), 0);
}

void ActionPanelTest::runControls()
{
    GuiEnvironment env;
    Fixture f;
    f.window.show();
    // Only the listed numbers of sets can be chosen: a typed 5 is ignored.
    QCOMPARE(f.panel->CboSequence->count(), 20);
    QTest::keyClick(f.panel->CboSequence, Qt::Key_5);
    QTest::keyClick(f.panel->CboSequence, Qt::Key_Down);
    QCOMPARE(f.panel->CboSequence->currentText(), Q("2"));
    f.panel->chkCollate->click();
    QCOMPARE(f.panel->chkCollate->text(), Q("Collated 1,2,3..1,2,3"));

    // A code no product has keeps the previous text; a product changed while the program runs shows once
    // a window over the panel closes.
    QCOMPARE(f.panel->lblAcadVersion->text(), Q("Acad 2005/2006"));
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "ZWCAD").ok());
    f.panel->ShowAcadVersion();
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "cad2010").ok());
    f.panel->ShowAcadVersion();
    QCOMPARE(f.panel->lblAcadVersion->text(), Q("ZWCAD"));
    QDialog options(&f.window);
    QTimer::singleShot(0, &options, [&] {
        QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "CadLT2018").ok());
        options.accept();
    });
    options.exec();
    QTRY_COMPARE(f.panel->lblAcadVersion->text(), Q("Acad LT 2018 - 2025"));

    // Start hands over to the run and puts the sets back to 1.
    QSignalSpy started(f.panel, &frmCommandButton::startRequested);
    f.panel->CboSequence->setCurrentIndex(11);
    f.panel->CmdStart->setEnabled(true);
    env.dialogs().queueAnswer(MessageAnswer::Cancel); // the run's confirmation
    f.panel->CmdStart->click();
    QCOMPARE(started.count(), 1);
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Confirm Starting Acad"));
    QCOMPARE(f.panel->CboSequence->currentText(), Q("1"));

    // Close asks as File > Exit does (its texts and Cancel are the main window's test).
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    f.panel->CmdClose->click();
    QCOMPARE(env.dialogs().messages().value(1).title, std::string("Exit Quorvel"));
    QVERIFY(!f.window.isVisible());
}

QTEST_MAIN(ActionPanelTest)
#include "ActionPanelTest.moc"
