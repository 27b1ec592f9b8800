#include "batch/DrawingListView.h"
#include "routines/ActionPanel.h"
#include "routines/CombineRoutinesDialog.h"
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
            QVERIFY(addRoutineToDatabase(makeRoutineForAdd(description, text, !favourite)).has_value());
        window.load();
        panel = window.actionPanel();
    }
    ActionPanel* panel = nullptr;
};

QList<int> recordNumbers(const QListWidget* list)
{
    QList<int> out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->data(Qt::UserRole).toInt();
    return out;
}

void select(QListWidget* list, std::initializer_list<int> rows)
{
    list->clearSelection();
    for (const int row : rows)
        list->item(row)->setSelected(true);
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
    CombineRoutinesDialog combine(*f.panel, &f.window);
    combine.load();
    QCOMPARE(combine.windowTitle(), QStringLiteral("Routine Combination"));
    QCOMPARE(control<QGroupBox>(&combine, "fraList")->title(), QStringLiteral("Combine Script Routines"));
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
        auto* button = control<QPushButton>(&combine, b.name);
        QVERIFY2(button, b.name);
        if (b.caption)
            QCOMPARE(button->text(), QString::fromLatin1(b.caption));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.tip));
        QCOMPARE(button->isEnabled(), button == combine.m_backButton);
    }
    QCOMPARE(control<QListWidget>(&combine, "lstActionDes")->toolTip(),
             QStringLiteral("Current List of Favourite Routines"));
    QCOMPARE(control<QListWidget>(&combine, "lstActionDesNon")->toolTip(),
             QStringLiteral("Current List of Non Favourite Routines"));
    QCOMPARE(control<QListWidget>(&combine, "lstRoutineToCombine")->toolTip(),
             QStringLiteral("List of Routines to Combine"));
    QCOMPARE(itemTexts(combine.m_favouritesList),
             QStringList({QStringLiteral("Zoom"), QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(recordNumbers(combine.m_favouritesList), QList<int>({1, 2, 3}));
    QCOMPARE(itemTexts(combine.m_nonFavouritesList), QStringList({QStringLiteral("N")}));
    QCOMPARE(recordNumbers(combine.m_nonFavouritesList), QList<int>({4}));
    QVERIFY(combine.m_chainList->count() == 0);
}

void CombineTest::chainRules()
{
    CombineFixture f;
    CombineRoutinesDialog combine(*f.panel, &f.window);
    combine.load();

    // A and B (A above B) selected in the favourites arrive as B, A.
    select(combine.m_favouritesList, {1, 2});
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Fav"));
    QVERIFY(combine.m_addToChainButton->isEnabled() && !combine.m_removeFromChainButton->isEnabled());
    combine.m_addToChainButton->click();
    QCOMPARE(itemTexts(combine.m_chainList), QStringList({QStringLiteral("B"), QStringLiteral("A")}));
    QVERIFY(combine.m_assignButton->isEnabled());

    // A click in the other list clears this one's selection; a double click adds; one routine may come twice.
    select(combine.m_nonFavouritesList, {0});
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Non"));
    QVERIFY(combine.m_favouritesList->selectedItems().isEmpty());
    emit combine.m_nonFavouritesList->itemDoubleClicked(combine.m_nonFavouritesList->item(0));
    select(combine.m_favouritesList, {1});
    combine.m_addToChainButton->click();
    QCOMPARE(itemTexts(combine.m_chainList),
             QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("A")}));
    QCOMPARE(recordNumbers(combine.m_chainList), QList<int>({3, 2, 4, 2}));

    // Clicking the chain: the routine list is cleared, removing and moving are offered, adding is not.
    combine.m_chainList->setCurrentRow(0);
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Com"));
    QVERIFY(combine.m_favouritesList->selectedItems().isEmpty());
    QVERIFY(combine.m_removeFromChainButton->isEnabled() && !combine.m_addToChainButton->isEnabled());
    QVERIFY(combine.m_moveUpButton->isEnabled() && combine.m_moveDownButton->isEnabled());

    // A move takes the text, not the record number, and the selection follows it.
    combine.m_moveDownButton->click();
    QCOMPARE(itemTexts(combine.m_chainList),
             QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("A")}));
    QCOMPARE(recordNumbers(combine.m_chainList), QList<int>({3, 2, 4, 2}));
    QCOMPARE(combine.m_chainList->currentRow(), 1);

    // Removing some keeps Assign; removing every entry switches Assign and both moves off.
    select(combine.m_chainList, {1, 3});
    combine.m_removeFromChainButton->click();
    QCOMPARE(itemTexts(combine.m_chainList), QStringList({QStringLiteral("A"), QStringLiteral("N")}));
    QVERIFY(combine.m_assignButton->isEnabled());
    select(combine.m_chainList, {0, 1});
    combine.m_removeFromChainButton->click();
    QCOMPARE(combine.m_chainList->count(), 0);
    QVERIFY(!combine.m_assignButton->isEnabled() && !combine.m_moveUpButton->isEnabled() &&
            !combine.m_moveDownButton->isEnabled());
}

void CombineTest::assignsTheCombinationToEveryDrawing()
{
    CombineFixture f;
    f.window.drawingList()->setRows({{"A.dwg", "/d", "Zoom", "7"}, {"B.dwg", "/d", "", ""}, {"C.dwg", "/d", "N", "2"}});
    selectRows(f.window, {1});
    CombineRoutinesDialog combine(*f.panel, &f.window);
    combine.load();
    combine.show();
    for (const int row : {1, 2, 1}) { // A, B, then A again
        select(combine.m_favouritesList, {row});
        combine.m_addToChainButton->click();
    }
    combine.m_assignButton->click();

    QCOMPARE(programState().combinedScript, std::string("_a\r\n_b\r\n_b2\r\n_a"));
    QVERIFY(programState().combinationMade);
    // Every row, not only the selected one, and the sort keys are emptied.
    QCOMPARE(assignedRoutines(f.window), QStringList(3, QStringLiteral("Combined Routines...")));
    for (const DrawingRow& row : f.window.drawingList()->rows())
        QVERIFY(row.key.empty());
    QVERIFY(f.panel->m_startButton->isEnabled());
    QVERIFY(!combine.m_assignButton->isEnabled());
    QVERIFY(combine.isVisible());

    // A new combination replaces the text.
    select(combine.m_chainList, {0, 1, 2});
    combine.m_removeFromChainButton->click();
    select(combine.m_nonFavouritesList, {0});
    combine.m_addToChainButton->click();
    combine.m_assignButton->click();
    QCOMPARE(programState().combinedScript, std::string("_n"));
}

void CombineTest::fromThePanelToTheScript()
{
    CombineFixture f;
    // Adding drawings offers Combine; Start stays off while the window is open.
    f.window.drawingList()->setRows({});
    f.window.addDrawings({f.env.file(QStringLiteral("dwg/A.dwg"))});
    QVERIFY(f.panel->m_combineButton->isEnabled());
    bool startOffWhileOpen = false;
    whenModalOpens<CombineRoutinesDialog>(&f.window, [&](CombineRoutinesDialog* combine) {
        startOffWhileOpen = !f.panel->m_startButton->isEnabled();
        select(combine->m_favouritesList, {2, 1}); // B and A: the chain is A after B reversed, so B, A
        combine->m_addToChainButton->click();
        combine->m_assignButton->click();
        combine->m_backButton->click();
    });
    f.panel->m_combineButton->click();
    QVERIFY(startOffWhileOpen);
    QVERIFY(f.panel->m_startButton->isEnabled());
    QCOMPARE(assignedRoutines(f.window), QStringList({QStringLiteral("Combined Routines...")}));

    QVERIFY(f.window.startBatch(false));
    QVERIFY(f.script().contains(QStringLiteral("/A.dwg\"\r\n_b\r\n_b2\r\n_a\r\n_Zoom\r\n0.999x\r\n_Quit\r\n")));
    QCOMPARE(f.launches.size(), std::size_t(1));
}

QTEST_MAIN(CombineTest)
#include "CombineTest.moc"
