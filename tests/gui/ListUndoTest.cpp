// Undo and redo of the drawing list's changes, the question before every row gets a routine, duplicates on add,
// the status line after saves, and the keyboard's way to the list commands.
#include "app/MainWindow.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineEditor.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

// A loaded window over two favourite routines, its list a.dwg (Plot A), b.dwg (Plot A), c.dwg (none), with the
// field sort switched on.
struct Fixture
{
    Fixture()
    {
        for (const char* description : {"Plot A", "Plot B"})
            QVERIFY(addRoutineToDatabase(makeRoutineForAdd(description, "_zoom\r\n_e", false)).has_value());
        storeSetting(keys::kFieldSection, keys::kSortKey, "ON");
        storeSetting(keys::kFieldSection, keys::kDelimKey, "-");
        storeSetting(keys::kFieldSection, keys::kFieldNumKey, "2");
        window.load();
        panel = window.actionPanel();
        window.drawingList()->setRows({{"a.dwg", "/d", "Plot A", ""}, {"b.dwg", "/d", "Plot A", ""}});
        window.addDrawings({q("/d/c-1.dwg")});
    }
    void trigger(const char* action) { control<QAction>(&window, action)->trigger(); }
    // "file:routine" per row, the count label, and which buttons the list offers.
    QString state() const
    {
        QStringList rows;
        for (const DrawingRow& row : window.drawingList()->rows())
            rows << QString::fromStdString(row.file + ":" + row.routine + (row.key.empty() ? "" : "#" + row.key));
        QString buttons;
        for (const QPushButton* button : {window.m_clearButton, panel->m_assignButton, panel->m_combineButton,
                                          panel->m_startButton, window.m_sortByFieldButton})
            buttons += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return rows.join(QLatin1Char(' ')) + QLatin1Char('|') + window.m_drawingCountLabel->text() + QLatin1Char('|') +
               buttons + QLatin1Char('|') + QString::number(window.drawingList()->columnCount());
    }

    GuiEnvironment env;
    MainWindow window;
    ActionPanel* panel = nullptr;
};

} // namespace

class ListUndoTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { databaseNoticeShown() = true; }
    void everyListChangeIsUndoneAndRedone();
    void assigningToEveryRowAsksOnceUnlessToldNotTo();
    void assignmentKeepsItsRowsSelected();
    void duplicatesAreOfferedForRemoval();
    void savesAreConfirmedInTheStatusBar();
    void keysReachTheListCommands();
};

void ListUndoTest::everyListChangeIsUndoneAndRedone()
{
    const struct
    {
        const char* step; // the Undo item's text after the change
        std::function<void(Fixture&)> change;
    } cases[] = {
        {"Add Drawings",
         [](Fixture& f) {
             f.window.addDrawings({q("/e/x.dwg"), q("/e/y.dwg")});
         }},
        {"Remove From List",
         [](Fixture& f) {
             selectRows(f.window, {0, 2});
             f.window.m_removeButton->click();
         }},
        {"Clear List", [](Fixture& f) { f.window.m_clearButton->click(); }},
        {"Assign Routine",
         [](Fixture& f) {
             selectRows(f.window, {2});
             f.panel->m_assignButton->click();
         }},
        {"Assign Routine",
         [](Fixture& f) {
             f.env.dialogs().queueAnswer(MessageAnswer::Yes);
             chooseText(f.panel->m_routineCombo, q("Plot B"));
             f.panel->m_assignButton->click();
         }},
        {"Combine",
         [](Fixture& f) {
             programState().combinedScript = "_new";
             programState().combinationMade = true;
             f.panel->assignCombinedRoutine();
         }},
        {"Sort", [](Fixture& f) { emit f.window.m_drawingView->header()->sectionClicked(0); }},
        {"Sort by Field", [](Fixture& f) { f.window.m_sortByFieldButton->click(); }},
        {"Retrieve Drawing List",
         [](Fixture& f) {
             writeFile(f.env.file(q("l.qvl")), "\"r.dwg\",\"/r\",\"Plot B\"\r\n");
             QVERIFY(f.panel->retrieveListFile(f.env.file(q("l.qvl"))));
         }},
    };
    for (const auto& c : cases) {
        Fixture f;
        const std::string combination = programState().combinedScript;
        const QString before = f.state();
        c.change(f);
        const QString after = f.state();
        QVERIFY2(after != before, c.step);
        QCOMPARE(control<QAction>(&f.window, "mnuEditUndo")->text(), q("&Undo ") + q(c.step));
        f.trigger("mnuEditUndo");
        QVERIFY2(f.state() == before, c.step);
        QCOMPARE(programState().combinedScript, combination);
        QVERIFY(!f.window.m_removeButton->isEnabled());
        f.trigger("mnuEditRedo");
        QVERIFY2(f.state() == after, c.step);
        QCOMPARE(programState().combinedScript, std::string_view(c.step) == "Combine" ? "_new" : combination);
    }
}

void ListUndoTest::assigningToEveryRowAsksOnceUnlessToldNotTo()
{
    Fixture f;
    auto& dialogs = f.env.dialogs();
    dialogs.clear();
    // No other routine to replace: no question.
    chooseText(f.panel->m_routineCombo, q("Plot A"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(dialogs.calls().size(), 0);

    // Declined: nothing changes and nothing is recorded.
    const int steps = f.window.listHistory()->stack()->count();
    chooseText(f.panel->m_routineCombo, q("Plot B"));
    dialogs.queueAnswer(MessageAnswer::No);
    dialogs.queueOptOut(true);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(f.window.listHistory()->stack()->count(), steps);
    QCOMPARE(dialogs.messages().value(0), assignToAllQuestion(3, 3, "Plot B"));
    QCOMPARE(f.env.settingsValue(keys::kAskSection, keys::kAskAssignToAllKey), std::string("Unknown"));

    // Yes with "Don't ask again": assigned, and never asked again.
    dialogs.queueAnswer(MessageAnswer::Yes);
    dialogs.queueOptOut(true);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot B")));
    QCOMPARE(f.env.settingsValue(keys::kAskSection, keys::kAskAssignToAllKey), std::string("NO"));
    chooseText(f.panel->m_routineCombo, q("Plot A"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(dialogs.optOutQuestions(), 2);

    // A combination declined keeps the rows and the combination they carry.
    storeSetting(keys::kAskSection, keys::kAskAssignToAllKey, "YES");
    programState().combinedScript = "_kept";
    f.panel->assignCombinedRoutine();
    programState().combinedScript = "_declined"; // as the combine window sets it before the rows take it
    dialogs.queueAnswer(MessageAnswer::No);
    f.panel->assignCombinedRoutine();
    QCOMPARE(dialogs.optOutQuestions(), 4);
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Combined Routines...")));
    QCOMPARE(programState().combinedScript, std::string("_kept"));
}

void ListUndoTest::assignmentKeepsItsRowsSelected()
{
    Fixture f;
    // Sorted by routine, descending: the rows assigned move, and the selection goes with them.
    emit f.window.m_drawingView->header()->sectionClicked(2);
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot A"), q("Plot A"), q("")}));
    selectRows(f.window, {2});
    chooseText(f.panel->m_routineCombo, q("Plot B"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot B"), q("Plot A"), q("Plot A")}));
    QCOMPARE(f.window.selectedRows(), (RowSelection{true, false, false}));
    QVERIFY(f.window.m_removeButton->isEnabled());

    // So the next Assign goes to that row again, as the list shows, not to every row.
    chooseText(f.panel->m_routineCombo, q("Plot A"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(f.window.selectedRows(), (RowSelection{true, false, false}));
    QCOMPARE(f.env.dialogs().messages().size(), 0); // every row would have asked
    // Nothing selected: every row.
    f.window.m_drawingView->clearSelection();
    chooseText(f.panel->m_routineCombo, q("Plot B"));
    f.env.dialogs().queueAnswer(MessageAnswer::Yes);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot B")));
    QVERIFY(!f.window.m_removeButton->isEnabled());
}

void ListUndoTest::duplicatesAreOfferedForRemoval()
{
    Fixture f;
    auto& dialogs = f.env.dialogs();
    dialogs.clear();
    f.window.addDrawings({q("/d/a.dwg"), q("/d/n.dwg"), q("/d/n.dwg")}); // Yes, the default: left out
    QCOMPARE(dialogs.messages().value(0).title, std::string("Duplicate Drawings"));
    QVERIFY(dialogs.messages()[0].text.starts_with("2 of the drawings added are already in the list:\r\n\r\n/d/a.dwg"));
    QCOMPARE(f.window.drawingList()->rowCount(), 4);
    QCOMPARE(f.window.m_drawingCountLabel->text(), q("4 Drawings To Be Processed"));

    dialogs.queueAnswer(MessageAnswer::No);
    f.window.addDrawings({q("/d/n.dwg")});
    QCOMPARE(f.window.drawingList()->rowCount(), 5);
    f.trigger("mnuEditUndo");
    QCOMPARE(f.window.drawingList()->rowCount(), 4);
    // Nothing new: one question, nothing added, nothing recorded.
    const int steps = f.window.listHistory()->stack()->count();
    f.window.addDrawings({q("/d/n.dwg")});
    QCOMPARE(f.window.drawingList()->rowCount(), 4);
    QCOMPARE(f.window.listHistory()->stack()->count(), steps);
}

void ListUndoTest::savesAreConfirmedInTheStatusBar()
{
    Fixture f;
    auto* status = control<QStatusBar>(&f.window, "sbrStatus");
    QVERIFY(status);
    const QString path = f.env.file(q("saved.qvl"));
    f.env.dialogs().queueSaveName(path);
    f.trigger("mnuSaveList1");
    QCOMPARE(status->currentMessage(), q("Drawing list saved: %1 (3 Drawings To Be Processed)").arg(path));

    // A save that fails confirms nothing.
    status->clearMessage();
    f.env.dialogs().queueSaveName(f.env.file(q("missing/x.qvl")));
    f.trigger("mnuSaveList1");
    QVERIFY(status->currentMessage().isEmpty());

    whenModalOpens<RoutineEditor>(&f.window, [](RoutineEditor* editor) {
        editor->m_descriptionEdit->setText(q("Zoom all "));
        editor->m_scriptEdit->setPlainText(q("_zoom\n_e"));
        editor->m_addButton->click();
        editor->m_backButton->click();
    });
    f.panel->m_editRoutinesButton->click();
    QCOMPARE(status->currentMessage(), q("Routine saved: Zoom all"));
}

void ListUndoTest::keysReachTheListCommands()
{
    Fixture f;
    const struct
    {
        const char* action;
        QKeySequence keys;
    } shortcuts[] = {
        {"mnuFileAdd", QKeySequence(Qt::CTRL | Qt::Key_O)},    {"mnuSaveList1", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuCheckBatch", QKeySequence(Qt::CTRL | Qt::Key_K)}, {"mnuEditUndo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"mnuEditRedo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
    };
    for (const auto& s : shortcuts)
        QCOMPARE(control<QAction>(&f.window, s.action)->shortcut(), s.keys);
    QCOMPARE(f.panel->m_startButton->shortcut(), QKeySequence(Qt::Key_F5));

    // The keys work on the window: Ctrl+Z takes the add back, Ctrl+Y puts it again.
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keySequence(&f.window, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.window.drawingList()->rowCount(), 2);
    QTest::keySequence(&f.window, QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(f.window.drawingList()->rowCount(), 3);

    // The Edit menu comes after File.
    QCOMPARE(f.window.menuBar()->actions().value(1)->menu(), control<QMenu>(&f.window, "mnuEdit"));
}

QTEST_MAIN(ListUndoTest)
#include "ListUndoTest.moc"
