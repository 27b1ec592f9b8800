// Undo and redo of the drawing list's changes, and the question before every row gets a routine.
#include "app/MainWindow.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
};

void ListUndoTest::everyListChangeIsUndoneAndRedone()
{
    using Change = std::function<void(Fixture&)>;
    const std::pair<const char*, Change> cases[] = {
        // The Undo item's text after the change, and the change.
        {"Add Drawings",
         [](Fixture& f) {
             f.window.addDrawings({q("/e/x.dwg"), q("/d/a.dwg")});
         }},
        {"Remove From List",
         [](Fixture& f) {
             selectRows(f.window, {0, 2}), f.window.m_removeButton->click();
         }},
        {"Clear List", [](Fixture& f) { f.window.m_clearButton->click(); }},
        {"Assign Routine", [](Fixture& f) { selectRows(f.window, {2}), f.panel->m_assignButton->click(); }},
        {"Combine", [](Fixture& f) { programState().combinedScript = "_new", f.panel->assignCombinedRoutine(); }},
        {"Sort", [](Fixture& f) { emit f.window.m_drawingView->header()->sectionClicked(0); }},
        {"Sort by Field", [](Fixture& f) { f.window.m_sortByFieldButton->click(); }},
        {"Retrieve Drawing List",
         [](Fixture& f) {
             writeFile(f.env.file(q("l.qvl")), "\"r.dwg\",\"/r\",\"Plot B\"\r\n");
             QVERIFY(f.panel->retrieveListFile(f.env.file(q("l.qvl"))));
         }},
    };
    for (const auto& [step, change] : cases) {
        Fixture f;
        const std::string combination = programState().combinedScript;
        const QString before = f.state();
        change(f);
        const QString after = f.state();
        QVERIFY2(after != before, step);
        QCOMPARE(control<QAction>(&f.window, "mnuEditUndo")->text(), q("&Undo ") + q(step));
        f.trigger("mnuEditUndo");
        QVERIFY2(f.state() == before && programState().combinedScript == combination, step);
        QVERIFY(!f.window.m_removeButton->isEnabled());
        f.trigger("mnuEditRedo");
        QVERIFY2(f.state() == after, step);
        QCOMPARE(programState().combinedScript, std::string_view(step) == "Combine" ? "_new" : combination);
    }

    // The keys do it too; a drawing already listed is offered for leaving out (Yes, the default, leaves it out).
    Fixture f;
    f.window.addDrawings({q("/d/a.dwg"), q("/d/n.dwg")});
    QCOMPARE(f.env.dialogs().messages().value(0).title, std::string("Duplicate Drawings"));
    QCOMPARE(f.window.drawingList()->rowCount(), 4);
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keySequence(&f.window, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.window.drawingList()->rowCount(), 3);
    QTest::keySequence(&f.window, QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(f.window.drawingList()->rowCount(), 4);
}

void ListUndoTest::assigningToEveryRowAsksOnceUnlessToldNotTo()
{
    Fixture f;
    auto& dialogs = f.env.dialogs();
    dialogs.clear();
    // Declined: nothing changes and nothing is recorded.
    const int steps = f.window.listHistory()->stack()->count();
    chooseText(f.panel->m_routineCombo, q("Plot B"));
    dialogs.queueAnswer(MessageAnswer::No);
    dialogs.queueOptOut(true);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot A"), q("Plot A"), q("")}));
    QCOMPARE(f.window.listHistory()->stack()->count(), steps);
    QCOMPARE(dialogs.messages().value(0), assignToAllQuestion(2, 3, "Plot B"));

    // Assigned to selected rows: they stay selected (through the column sort too), so the next Assign goes to them
    // again, as the list shows, and asks nothing.
    emit f.window.m_drawingView->header()->sectionClicked(2); // by routine, descending
    selectRows(f.window, {2});
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot B"), q("Plot A"), q("Plot A")}));
    QCOMPARE(f.window.selectedRows(), (RowSelection{true, false, false}));
    chooseText(f.panel->m_routineCombo, q("Plot A"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(dialogs.messages().size(), 1);

    // Nothing selected: every row, asked; Yes with "Don't ask again" is never asked again.
    f.window.m_drawingView->clearSelection();
    f.panel->m_assignButton->click(); // nothing to replace: not asked
    QCOMPARE(dialogs.optOutQuestions(), 1);
    chooseText(f.panel->m_routineCombo, q("Plot B"));
    dialogs.queueAnswer(MessageAnswer::Yes);
    dialogs.queueOptOut(true);
    f.panel->m_assignButton->click();
    QCOMPARE(f.env.settingsValue(keys::kAskSection, keys::kAskAssignToAllKey), std::string("NO"));
    chooseText(f.panel->m_routineCombo, q("Plot A"));
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(dialogs.optOutQuestions(), 2);

    // A combination declined keeps the rows and the combination they carry.
    storeSetting(keys::kAskSection, keys::kAskAssignToAllKey, "YES");
    programState().combinedScript = "_declined"; // the combine window sets it before the rows take it
    dialogs.queueAnswer(MessageAnswer::No);
    f.panel->assignCombinedRoutine();
    QCOMPARE(assignedRoutines(f.window), QStringList(3, q("Plot A")));
    QCOMPARE(programState().combinedScript, std::string());
}

QTEST_MAIN(ListUndoTest)
#include "ListUndoTest.moc"
