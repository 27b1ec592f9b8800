#include "batch/DrawingListView.h"
#include "routines/frmCombineRoutine.h"
#include "routines/frmCommandButton.h"
#include "support/RunFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

// The run fixture's two drawings (routine "Zoom", a favourite) and three more routines.
struct CombineFixture : RunFixture
{
    CombineFixture()
    {
        for (const auto& [description, text, favourite] :
             {std::tuple{"A", "_a", true}, {"B", "_b\r\n_b2", true}, {"N", "_n", false}})
            QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd(description, text, !favourite)).has_value());
        window.FormLoad();
        panel = window.commandPanel();
    }
    frmCommandButton* panel = nullptr;
};

QStringList Texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QList<int> RecordNumbers(const QListWidget* list)
{
    QList<int> out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->data(Qt::UserRole).toInt();
    return out;
}

void Select(QListWidget* list, std::initializer_list<int> rows)
{
    list->clearSelection();
    for (const int row : rows)
        list->item(row)->setSelected(true);
}

QStringList Routines(const mdiStart& window)
{
    QStringList out;
    for (const DrawingRow& row : window.drawingList()->rows())
        out << QString::fromStdString(row.routine);
    return out;
}

} // namespace

class CombineTest final : public QObject
{
    Q_OBJECT

private slots:
    void opensWithItsControls();
    void chainRules();
    void assignsTheCombinationToEveryDrawing();
    void fromThePanelToTheScript();
};

void CombineTest::opensWithItsControls()
{
    CombineFixture f;
    frmCombineRoutine combine(*f.panel, &f.window);
    combine.Form_Load();
    QCOMPARE(combine.windowTitle(), QStringLiteral("Routine Combination"));
    QCOMPARE(Control<QGroupBox>(&combine, "fraList")->title(), QStringLiteral("Combine Script Routines"));
    const struct
    {
        const char* name;
        const char* caption; // nullptr: not checked
        const char* tip;
    } buttons[] = {
        {"cmdToCombine", nullptr, "Add to Combine List"},
        {"cmdFromCombine", nullptr, "Subtract from Combine List"},
        {"cmdMoveUp", nullptr, "Move Selected Routine Up"},
        {"cmdMoveDown", "Down", "Move Selected Routine Down"},
        {"cmdCombineRoutines", "Assign Combination", "Assigns Combined Routines To Drawings"},
        {"CmdReturn", "<< Back to Main", "Return to Main"},
    };
    for (const auto& b : buttons) {
        auto* button = Control<QPushButton>(&combine, b.name);
        QVERIFY2(button, b.name);
        if (b.caption)
            QCOMPARE(button->text(), QString::fromLatin1(b.caption));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.tip));
        QCOMPARE(button->isEnabled(), button == combine.CmdReturn);
    }
    QCOMPARE(Control<QListWidget>(&combine, "lstActionDes")->toolTip(),
             QStringLiteral("Current List of Favourite Routines"));
    QCOMPARE(Control<QListWidget>(&combine, "lstActionDesNon")->toolTip(),
             QStringLiteral("Current List of Non Favourite Routines"));
    QCOMPARE(Control<QListWidget>(&combine, "lstRoutineToCombine")->toolTip(),
             QStringLiteral("List of Routines to Combine"));
    QCOMPARE(Texts(combine.lstActionDes),
             QStringList({QStringLiteral("Zoom"), QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(RecordNumbers(combine.lstActionDes), QList<int>({1, 2, 3}));
    QCOMPARE(Texts(combine.lstActionDesNon), QStringList({QStringLiteral("N")}));
    QCOMPARE(RecordNumbers(combine.lstActionDesNon), QList<int>({4}));
    QVERIFY(combine.lstRoutineToCombine->count() == 0);
}

void CombineTest::chainRules()
{
    CombineFixture f;
    frmCombineRoutine combine(*f.panel, &f.window);
    combine.Form_Load();

    // A and B (A above B) selected in the favourites arrive as B, A.
    Select(combine.lstActionDes, {1, 2});
    QCOMPARE(combine.lblWhich, QStringLiteral("Fav"));
    QVERIFY(combine.cmdToCombine->isEnabled() && !combine.cmdFromCombine->isEnabled());
    combine.cmdToCombine->click();
    QCOMPARE(Texts(combine.lstRoutineToCombine), QStringList({QStringLiteral("B"), QStringLiteral("A")}));
    QVERIFY(combine.cmdCombineRoutines->isEnabled());

    // A click in the other list clears this one's selection; a double click adds; one routine may come twice.
    Select(combine.lstActionDesNon, {0});
    QCOMPARE(combine.lblWhich, QStringLiteral("Non"));
    QVERIFY(combine.lstActionDes->selectedItems().isEmpty());
    emit combine.lstActionDesNon->itemDoubleClicked(combine.lstActionDesNon->item(0));
    Select(combine.lstActionDes, {1});
    combine.cmdToCombine->click();
    QCOMPARE(Texts(combine.lstRoutineToCombine),
             QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("A")}));
    QCOMPARE(RecordNumbers(combine.lstRoutineToCombine), QList<int>({3, 2, 4, 2}));

    // Clicking the chain: the routine list is cleared, removing and moving are offered, adding is not.
    combine.lstRoutineToCombine->setCurrentRow(0);
    QCOMPARE(combine.lblWhich, QStringLiteral("Com"));
    QVERIFY(combine.lstActionDes->selectedItems().isEmpty());
    QVERIFY(combine.cmdFromCombine->isEnabled() && !combine.cmdToCombine->isEnabled());
    QVERIFY(combine.cmdMoveUp->isEnabled() && combine.cmdMoveDown->isEnabled());

    // A move takes the text, not the record number, and the selection follows it.
    combine.cmdMoveDown->click();
    QCOMPARE(Texts(combine.lstRoutineToCombine),
             QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("A")}));
    QCOMPARE(RecordNumbers(combine.lstRoutineToCombine), QList<int>({3, 2, 4, 2}));
    QCOMPARE(combine.lstRoutineToCombine->currentRow(), 1);

    // Removing some keeps Assign; removing every entry switches Assign and both moves off.
    Select(combine.lstRoutineToCombine, {1, 3});
    combine.cmdFromCombine->click();
    QCOMPARE(Texts(combine.lstRoutineToCombine), QStringList({QStringLiteral("A"), QStringLiteral("N")}));
    QVERIFY(combine.cmdCombineRoutines->isEnabled());
    Select(combine.lstRoutineToCombine, {0, 1});
    combine.cmdFromCombine->click();
    QCOMPARE(combine.lstRoutineToCombine->count(), 0);
    QVERIFY(!combine.cmdCombineRoutines->isEnabled() && !combine.cmdMoveUp->isEnabled() &&
            !combine.cmdMoveDown->isEnabled());
}

void CombineTest::assignsTheCombinationToEveryDrawing()
{
    CombineFixture f;
    f.window.drawingList()->setRows({{"A.dwg", "/d", "Zoom", "7"}, {"B.dwg", "/d", "", ""}, {"C.dwg", "/d", "N", "2"}});
    f.window.lstvDrawings->selectionModel()->select(f.window.drawingList()->index(1, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    frmCombineRoutine combine(*f.panel, &f.window);
    combine.Form_Load();
    combine.show();
    for (const int row : {1, 2, 1}) { // A, B, then A again
        Select(combine.lstActionDes, {row});
        combine.cmdToCombine->click();
    }
    combine.cmdCombineRoutines->click();

    QCOMPARE(Program().CombinedScript, std::string("_a\r\n_b\r\n_b2\r\n_a"));
    QVERIFY(Program().combinationMade);
    // Every row, not only the selected one, and the sort keys are emptied.
    QCOMPARE(Routines(f.window), QStringList(3, QStringLiteral("Combined Routines...")));
    for (const DrawingRow& row : f.window.drawingList()->rows())
        QVERIFY(row.key.empty());
    QVERIFY(f.panel->CmdStart->isEnabled());
    QVERIFY(!combine.cmdCombineRoutines->isEnabled());
    QVERIFY(combine.isVisible());

    // A new combination replaces the text.
    Select(combine.lstRoutineToCombine, {0, 1, 2});
    combine.cmdFromCombine->click();
    Select(combine.lstActionDesNon, {0});
    combine.cmdToCombine->click();
    combine.cmdCombineRoutines->click();
    QCOMPARE(Program().CombinedScript, std::string("_n"));
}

void CombineTest::fromThePanelToTheScript()
{
    CombineFixture f;
    // Adding drawings offers Combine; Start stays off while the window is open.
    f.window.drawingList()->setRows({});
    f.window.AddDrawings({f.env.file(QStringLiteral("dwg/A.dwg"))});
    QVERIFY(f.panel->cmdCombineRoutines->isEnabled());
    bool startOffWhileOpen = false;
    QTimer::singleShot(0, &f.window, [&] {
        auto* combine = qobject_cast<frmCombineRoutine*>(QApplication::activeModalWidget());
        QVERIFY(combine);
        startOffWhileOpen = !f.panel->CmdStart->isEnabled();
        Select(combine->lstActionDes, {2, 1}); // B and A: the chain is A after B reversed, so B, A
        combine->cmdToCombine->click();
        combine->cmdCombineRoutines->click();
        combine->CmdReturn->click();
    });
    f.panel->cmdCombineRoutines->click();
    QVERIFY(startOffWhileOpen);
    QVERIFY(f.panel->CmdStart->isEnabled());
    QCOMPARE(Routines(f.window), QStringList({QStringLiteral("Combined Routines...")}));

    QVERIFY(f.window.StartProcess(false));
    QVERIFY(f.script().contains(QStringLiteral("/A.dwg\"\r\n_b\r\n_b2\r\n_a\r\n_Zoom\r\n0.999x\r\n_Quit\r\n")));
    QCOMPARE(f.launches.size(), std::size_t(1));
}

QTEST_MAIN(CombineTest)
#include "CombineTest.moc"
