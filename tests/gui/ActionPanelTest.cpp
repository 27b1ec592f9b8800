#include "routines/ActionPanel.h"

#include "app/MainWindow.h"
#include "batch/DrawingListFile.h"
#include "batch/DrawingListHistory.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "routines/CombineRoutinesDialog.h"
#include "routines/LocateDatabaseDialog.h"
#include "routines/RoutineEditor.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"
#include "support/RunFixture.h"
#include "text/TextUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>

using namespace qv;
using namespace qv::test;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

void addRoutine(const char* description, bool favourite)
{
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd(description, "_zoom\r\n_e", !favourite)).has_value());
}

// A window with a loaded panel over a database of three routines, two of them favourites.
struct Fixture
{
    Fixture()
    {
        addRoutine("Plot A", true);
        addRoutine("Purge", false);
        addRoutine("Plot, A3", true);
        window.load();
        panel = window.actionPanel();
    }
    MainWindow window;
    ActionPanel* panel = nullptr;
};

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

class ActionPanelTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { databaseNoticeShown() = false; }
    void fillsFavouritesAndRefillsAfterModalWindows();
    void showsTheMissingRoutinesNoticeOnce();
    void assignsThenSavesAndRetrievesTheList();
    void runControls();
    void combineWindowControlsAndChainRules();
    void combinationAndRunControlsReachTheScript();
    void aCombinationSavedAsARoutineSurvivesTheListFile();
};

void ActionPanelTest::fillsFavouritesAndRefillsAfterModalWindows()
{
    GuiEnvironment env;
    Fixture f;
    QVERIFY(env.dialogs().messages().isEmpty());
    QVERIFY(!f.panel->m_assignButton->isEnabled() && !f.panel->m_combineButton->isEnabled());
    QCOMPARE(itemTexts(f.panel->m_routineCombo), QStringList({q("Plot A"), q("Plot, A3")}));
    QCOMPARE(f.panel->m_routineCombo->itemData(1).toInt(), 3);

    f.panel->m_favouritesButton->click();
    QCOMPARE(f.panel->m_favouritesButton->text(), q("Show Favourites"));
    QCOMPARE(f.panel->m_routineListLabel->text(), q("Select From Non Favourites"));
    QCOMPARE(itemTexts(f.panel->m_routineCombo), QStringList({q("Purge")}));
    f.panel->m_favouritesButton->click();

    // Another window changes the database and the product while a modal window is over the panel: both show
    // once it closes.
    QDialog other(&f.window);
    QTimer::singleShot(0, &other, [&] {
        addRoutine("Saved later", true);
        useProduct("CadLT2018");
        other.reject();
    });
    other.exec();
    QTRY_COMPARE(itemTexts(f.panel->m_routineCombo), QStringList({q("Plot A"), q("Plot, A3"), q("Saved later")}));
    QCOMPARE(f.panel->m_productLabel->text(), q("Acad LT 2018 - 2025"));

    // The routine editor keeps Start off while it is open.
    f.window.addDrawings({q("/d/a.dwg")});
    f.panel->m_assignButton->click();
    QVERIFY(f.panel->m_startButton->isEnabled());
    bool disabledWhileOpen = false;
    whenModalOpens<RoutineEditor>(&f.window, [&](RoutineEditor* editor) {
        disabledWhileOpen = !f.panel->m_startButton->isEnabled() && !f.window.m_sortByFieldButton->isEnabled();
        editor->m_descriptionEdit->setText(q("Made in the editor"));
        editor->m_scriptEdit->setPlainText(q("_zoom\n_e"));
        editor->m_addButton->click();
        editor->m_backButton->click();
    });
    control<QAction>(&f.window, "mnuFileUpdate")->trigger();
    QVERIFY(disabledWhileOpen);
    QVERIFY(f.panel->m_startButton->isEnabled() && f.window.m_sortByFieldButton->isEnabled());
    QCOMPARE(itemTexts(f.panel->m_routineCombo).last(), q("Made in the editor"));
    QCOMPARE(f.window.statusBar()->currentMessage(), q("Routine saved: Made in the editor"));
}

void ActionPanelTest::showsTheMissingRoutinesNoticeOnce()
{
    GuiEnvironment env;
    QString explanation;
    whenModalOpens<LocateDatabaseDialog>(qApp, [&](LocateDatabaseDialog* dialog) {
        explanation = dialog->m_explanationLabel->text();
        dialog->reject();
    });
    MainWindow window;
    window.load();
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
    QCOMPARE(explanation, q("If you know where the database is, press Browse to locate this file now or Cancel to "
                            "locate the database later.\r\n"));
    QVERIFY(databaseNoticeShown());

    MainWindow again;
    again.load();
    QCOMPARE(env.dialogs().messages().size(), 1);
}

void ActionPanelTest::assignsThenSavesAndRetrievesTheList()
{
    GuiEnvironment env;
    Fixture f;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&f.window, "mnuSaveList1")->trigger();
    QCOMPARE(env.dialogs().messages().value(0), noDrawingsListedMessage());
    QCOMPARE(env.dialogs().calls().size(), 1);

    f.window.addDrawings({q("/d/a.dwg"), q("/e/b.dwg"), q("/d/c.dwg")});
    QVERIFY(!f.panel->m_startButton->isEnabled());
    f.panel->m_routineCombo->setCurrentIndex(0);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot A"), q("Plot A"), q("Plot A")}));
    QVERIFY(f.panel->m_startButton->isEnabled());
    QVERIFY(f.window.m_sortByFieldButton->isEnabled());

    selectRows(f.window, {0, 2});
    f.panel->m_routineCombo->setCurrentIndex(1);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot, A3"), q("Plot A"), q("Plot, A3")}));

    // Enter on the routine list assigns too; the rows stay selected, so it goes to them. With none selected it
    // goes to all rows, after the question the others' routines call for.
    f.panel->m_routineCombo->setCurrentIndex(0);
    QTest::keyClick(f.panel->m_routineCombo, Qt::Key_Return);
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot A"), q("Plot A"), q("Plot A")}));
    f.window.m_drawingView->clearSelection();
    QVERIFY(!f.window.m_removeButton->isEnabled());

    // With the list sorted by the routine column, an assignment keeps it sorted: b moves first.
    emit f.window.m_drawingView->header()->sectionClicked(2); // descending
    selectRows(f.window, {1});
    f.panel->m_routineCombo->setCurrentIndex(1);
    f.panel->m_assignButton->click();
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot, A3"), q("Plot A"), q("Plot A")}));

    // The list is saved in the order shown.
    const QString path = env.file(q("list.qvl"));
    env.dialogs().clear();
    env.dialogs().queueSaveName(path);
    control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, q("Save Quorvel Drawing List"));
    QCOMPARE(env.dialogs().calls().value(0).filter, q("Quorvel List Files (*.qvl)|*.qvl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QCOMPARE(file.readAll(), native(QByteArray("\"b.dwg\",\"/e\",\"Plot, A3\"\r\n\"a.dwg\",\"/d\",\"Plot A\"\r\n"
                                               "\"c.dwg\",\"/d\",\"Plot A\"\r\n")));
    QCOMPARE(f.window.statusBar()->currentMessage(),
             q("Drawing list saved: %1 (3 Drawings To Be Processed)").arg(path));

    f.window.m_clearButton->click();
    QVERIFY(!f.panel->m_startButton->isEnabled());
    env.dialogs().clear();
    env.dialogs().queueFiles({path});
    control<QAction>(&f.window, "mnuRetrieveList1")->trigger();
    QCOMPARE(env.dialogs().calls().value(0).title, q("Open Quorvel drawing List File"));
    QCOMPARE(env.dialogs().messages().size(), 0);
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot, A3"), q("Plot A"), q("Plot A")}));
    QCOMPARE(f.window.m_drawingCountLabel->text(), q("3 Drawings To Be Processed"));
    for (QPushButton* button :
         {f.panel->m_startButton, f.panel->m_assignButton, f.window.m_sortByFieldButton, f.window.m_clearButton})
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));

    // A routine no longer in the database: its rows come back without one and Start stays off.
    file.write("\"d.dwg\",\"/d\",\"Gone\"\r\n");
    file.close();
    f.window.m_commandLineRun = true;
    env.dialogs().clear();
    QVERIFY(f.panel->retrieveListFile(path));
    QCOMPARE(assignedRoutines(f.window), QStringList({q("Plot, A3"), q("Plot A"), q("Plot A"), q("")}));
    QCOMPARE(env.dialogs().messages(), QList{missingRoutinesMessage()});
    QVERIFY(!f.panel->m_startButton->isEnabled() && !f.window.m_sortByFieldButton->isEnabled() &&
            f.panel->m_assignButton->isEnabled());

    // A file damaged part-way stops a command-line run and leaves the list in hand exactly as it was. (A missing
    // file is refused by the same rule: the drawing list file test.)
    const QStringList before = assignedRoutines(f.window);
    writeFile(env.file(q("damaged.qvl")), "\"e.dwg\",\"/d\",\"Plot A\"\r\nnot a list line\r\n");
    env.dialogs().clear();
    QVERIFY(!f.panel->retrieveListFile(env.file(q("damaged.qvl"))));
    QVERIFY(!f.window.m_commandLineRun);
    QCOMPARE(assignedRoutines(f.window), before);
    QCOMPARE(f.window.m_drawingCountLabel->text(), q("4 Drawings To Be Processed"));
    QCOMPARE(env.dialogs().messages().size(), 1);
    QVERIFY(env.dialogs().messages()[0].text.find("The drawing list has not been changed.") != std::string::npos);
    QVERIFY(!f.panel->m_startButton->isEnabled() && f.panel->m_assignButton->isEnabled() &&
            f.window.m_clearButton->isEnabled());

    // A name typed without an extension is saved as a .qvl file; replacing an existing one is asked first.
    env.dialogs().clear();
    env.dialogs().queueSaveName(env.file(q("plain")));
    control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QVERIFY(QFile::exists(env.file(q("plain.qvl"))) && !QFile::exists(env.file(q("plain"))));
    QVERIFY(env.dialogs().messages().isEmpty());
    QFile::resize(env.file(q("plain.qvl")), 0);
    env.dialogs().queueSaveName(env.file(q("plain")));
    env.dialogs().queueAnswer(MessageAnswer::No);
    control<QAction>(&f.window, "mnuSaveDrawing")->trigger();
    QCOMPARE(env.dialogs().messages().value(0).buttons, MessageButtons::YesNo);
    QVERIFY(env.dialogs().messages().value(0).text.find("plain.qvl already exists.") != std::string::npos);
    QCOMPARE(QFileInfo(env.file(q("plain.qvl"))).size(), 0);
}

void ActionPanelTest::runControls()
{
    GuiEnvironment env;
    Fixture f;
    f.window.show();
    // Only the listed numbers of sets can be chosen: a typed 5 is ignored.
    QCOMPARE(f.panel->m_setsCombo->count(), 20);
    QCOMPARE(f.panel->m_startButton->shortcut(), QKeySequence(Qt::Key_F5));
    QTest::keyClick(f.panel->m_setsCombo, Qt::Key_5);
    QTest::keyClick(f.panel->m_setsCombo, Qt::Key_Down);
    QCOMPARE(f.panel->m_setsCombo->currentText(), q("2"));
    f.panel->m_collateCheck->click();
    QCOMPARE(f.panel->m_collateCheck->text(), q("Collated 1,2,3..1,2,3"));

    // A code no product has keeps the previous text. (The label at the start: the options dialog test; after a
    // window over the panel: the favourites test.)
    useProduct("ZWCAD");
    f.panel->showProductName();
    useProduct("cad2010");
    f.panel->showProductName();
    QCOMPARE(f.panel->m_productLabel->text(), q("ZWCAD"));

    // Start hands over to the run and puts the sets back to 1.
    QSignalSpy started(f.panel, &ActionPanel::startRequested);
    f.panel->m_setsCombo->setCurrentIndex(11);
    f.panel->m_startButton->setEnabled(true);
    env.dialogs().queueAnswer(MessageAnswer::Cancel); // the run's confirmation
    f.panel->m_startButton->click();
    QCOMPARE(started.count(), 1);
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Confirm Starting Acad"));
    QCOMPARE(f.panel->m_setsCombo->currentText(), q("1"));

    // Close asks as File > Exit does (its texts and Cancel are the main window's test).
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    f.panel->m_exitButton->click();
    QCOMPARE(env.dialogs().messages().value(1).title, std::string("Exit Quorvel"));
    QVERIFY(!f.window.isVisible());
}

void ActionPanelTest::combineWindowControlsAndChainRules()
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
    } controls[] = {
        {"cmdToCombine", nullptr, "Add to Combine List"},
        {"cmdFromCombine", nullptr, "Subtract from Combine List"},
        {"cmdMoveUp", nullptr, "Move Selected Routine Up"},
        {"cmdMoveDown", "Down", "Move Selected Routine Down"},
        {"cmdCombineRoutines", "Assign Combination", "Assigns Combined Routines To Drawings"},
        {"CmdReturn", "<< Back to Main", "Return to Main"},
        {"lstActionDes", nullptr, "Current List of Favourite Routines"},
        {"lstActionDesNon", nullptr, "Current List of Non Favourite Routines"},
        {"lstRoutineToCombine", nullptr, "List of Routines to Combine"},
    };
    for (const auto& c : controls) {
        auto* widget = control<QWidget>(&combine, c.name);
        QVERIFY2(widget, c.name);
        auto* button = qobject_cast<QPushButton*>(widget);
        if (c.caption)
            QCOMPARE(button->text(), QString::fromLatin1(c.caption));
        QCOMPARE(widget->toolTip(), QString::fromLatin1(c.tip));
        // Of the buttons only Back is offered before a choice.
        QCOMPARE(widget->isEnabled(), !button || button == combine.m_backButton);
    }
    QCOMPARE(itemTexts(combine.m_favouritesList),
             QStringList({QStringLiteral("Zoom"), QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(recordNumbers(combine.m_favouritesList), QList<int>({1, 2, 3}));
    QCOMPARE(itemTexts(combine.m_nonFavouritesList), QStringList({QStringLiteral("N")}));
    QCOMPARE(recordNumbers(combine.m_nonFavouritesList), QList<int>({4}));
    QVERIFY(combine.m_chainList->count() == 0);

    // A and B (A above B) selected in the favourites arrive as B, A.
    select(combine.m_favouritesList, {1, 2});
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Fav"));
    QVERIFY(combine.m_addToChainButton->isEnabled() && !combine.m_removeFromChainButton->isEnabled());
    combine.m_addToChainButton->click();
    QCOMPARE(itemTexts(combine.m_chainList), QStringList({QStringLiteral("B"), QStringLiteral("A")}));
    QVERIFY(combine.m_assignButton->isEnabled());

    // A click in the other list clears this one's selection; a double click adds.
    select(combine.m_nonFavouritesList, {0});
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Non"));
    QVERIFY(combine.m_favouritesList->selectedItems().isEmpty());
    emit combine.m_nonFavouritesList->itemDoubleClicked(combine.m_nonFavouritesList->item(0));
    QCOMPARE(itemTexts(combine.m_chainList),
             QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("N")}));
    QCOMPARE(recordNumbers(combine.m_chainList), QList<int>({3, 2, 4}));

    // Clicking the chain: the routine list is cleared, removing and moving are offered, adding is not.
    combine.m_chainList->setCurrentRow(0);
    QCOMPARE(combine.m_pickedListKind, QStringLiteral("Com"));
    QVERIFY(combine.m_favouritesList->selectedItems().isEmpty());
    QVERIFY(combine.m_removeFromChainButton->isEnabled() && !combine.m_addToChainButton->isEnabled());
    QVERIFY(combine.m_moveUpButton->isEnabled() && combine.m_moveDownButton->isEnabled());

    // A move takes the text, not the record number, and the selection follows it.
    combine.m_moveDownButton->click();
    QCOMPARE(itemTexts(combine.m_chainList),
             QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("N")}));
    QCOMPARE(recordNumbers(combine.m_chainList), QList<int>({3, 2, 4}));
    QCOMPARE(combine.m_chainList->currentRow(), 1);

    // Removing some keeps Assign; removing every entry switches Assign and both moves off.
    select(combine.m_chainList, {1});
    combine.m_removeFromChainButton->click();
    QCOMPARE(itemTexts(combine.m_chainList), QStringList({QStringLiteral("A"), QStringLiteral("N")}));
    QVERIFY(combine.m_assignButton->isEnabled());
    select(combine.m_chainList, {0, 1});
    combine.m_removeFromChainButton->click();
    QCOMPARE(combine.m_chainList->count(), 0);
    QVERIFY(!combine.m_assignButton->isEnabled() && !combine.m_moveUpButton->isEnabled() &&
            !combine.m_moveDownButton->isEnabled());
}

void ActionPanelTest::combinationAndRunControlsReachTheScript()
{
    CombineFixture f;
    // Adding drawings offers Combine; Start stays off while the window is open.
    f.window.drawingList()->setRows({});
    f.window.addDrawings({f.env.file(QStringLiteral("dwg/A.dwg")), f.env.file(QStringLiteral("dwg/B.dwg"))});
    selectRows(f.window, {1});
    QVERIFY(f.panel->m_combineButton->isEnabled());
    bool startOffWhileOpen = false;
    bool openAfterAssign = false;
    whenModalOpens<CombineRoutinesDialog>(&f.window, [&](CombineRoutinesDialog* combine) {
        startOffWhileOpen = !f.panel->m_startButton->isEnabled();
        select(combine->m_nonFavouritesList, {0});
        combine->m_addToChainButton->click();
        combine->m_assignButton->click();
        openAfterAssign = combine->isVisible() && !combine->m_assignButton->isEnabled();
        // A new combination replaces the text.
        select(combine->m_chainList, {0});
        combine->m_removeFromChainButton->click();
        select(combine->m_favouritesList, {2, 1}); // B and A: the chain is A after B reversed, so B, A
        combine->m_addToChainButton->click();
        combine->m_assignButton->click();
        combine->m_backButton->click();
    });
    f.panel->m_combineButton->click();
    QVERIFY(startOffWhileOpen && openAfterAssign);
    QVERIFY(f.panel->m_startButton->isEnabled());
    // Every row, not only the selected one. (The text joined and the keys emptied are the core's.)
    QCOMPARE(assignedRoutines(f.window), QStringList(2, QStringLiteral("Combined Routines...")));

    // The panel's number of sets and collation reach the run too: A, B, then A, B again.
    f.panel->m_setsCombo->setCurrentIndex(1);
    f.panel->m_collateCheck->setChecked(true);
    QVERIFY(f.window.startBatch(false));
    const QString script = f.script();
    const QString combined = QStringLiteral(".dwg\"\r\n_b\r\n_b2\r\n_a\r\n_Zoom\r\n0.999x\r\n");
    QCOMPARE(script.count(native(QStringLiteral("/A")) + combined), 2);
    QCOMPARE(script.count(native(QStringLiteral("/B")) + combined), 2);
    QVERIFY(script.indexOf(native(QStringLiteral("/B.dwg"))) < script.lastIndexOf(native(QStringLiteral("/A.dwg"))));
    QCOMPARE(f.launches.size(), std::size_t(1));
}

void ActionPanelTest::aCombinationSavedAsARoutineSurvivesTheListFile()
{
    CombineFixture f;
    const auto combine = [&f](bool assign, const QString& saveAs) {
        whenModalOpens<CombineRoutinesDialog>(&f.window, [&f, assign, saveAs](CombineRoutinesDialog* window) {
            QVERIFY(!window->m_saveAsRoutineButton->isEnabled());
            select(window->m_favouritesList, {2, 1}); // the chain B, A
            window->m_addToChainButton->click();
            if (assign)
                window->m_assignButton->click();
            if (!saveAs.isEmpty()) {
                f.env.dialogs().queueInput(saveAs);
                window->m_saveAsRoutineButton->click();
                QVERIFY(!window->m_favouritesList->findItems(saveAs, Qt::MatchExactly).isEmpty());
            }
            window->m_backButton->click();
        });
        f.panel->m_combineButton->click();
    };
    const QString list = f.env.file(QStringLiteral("combined.qvl"));
    f.window.drawingList()->setRows({});
    f.window.addDrawings({f.env.file(QStringLiteral("dwg/A.dwg")), f.env.file(QStringLiteral("dwg/B.dwg"))});

    // Saved while the drawings carry the combination only: the user is warned first, and No saves nothing.
    combine(true, {});
    f.env.dialogs().clear();
    f.env.dialogs().queueAnswer(MessageAnswer::No);
    f.panel->saveDrawingList();
    QCOMPARE(f.env.dialogs().calls().size(), 1);
    QVERIFY(f.env.dialogs().messages().value(0).text.starts_with(
        "2 drawings of this list carry \"Combined Routines...\", a combination that Quorvel keeps only until it "
        "closes."));

    // Saved as a routine: in the database with the combined text, and the drawings now carry it.
    combine(false, QStringLiteral("B then A"));
    loadCatalogue();
    const auto saved = std::find_if(makeCatalogue().begin(), makeCatalogue().end(),
                                    [](const Routine& r) { return trimSpaces(r.description()) == "B then A"; });
    QVERIFY(saved != makeCatalogue().end());
    QCOMPARE(stripEndMarker(saved->scriptText()), std::string("_b\r\n_b2\r\n_a"));
    QCOMPARE(assignedRoutines(f.window), QStringList(2, QStringLiteral("B then A")));
    // Taking the saved routine is one Undo step, like every change of the rows' routines.
    QCOMPARE(f.window.listHistory()->stack()->undoText(), QStringLiteral("Use Saved Routine"));
    f.window.listHistory()->stack()->undo();
    QCOMPARE(assignedRoutines(f.window), QStringList(2, QStringLiteral("Combined Routines...")));
    f.window.listHistory()->stack()->redo();
    QCOMPARE(assignedRoutines(f.window), QStringList(2, QStringLiteral("B then A")));

    // The list saves without a question, comes back whole and runs unattended.
    f.env.dialogs().clear();
    f.env.dialogs().queueSaveName(list);
    f.panel->saveDrawingList();
    QCOMPARE(f.env.dialogs().messages().size(), 0);
    f.window.drawingList()->setRows({});
    f.panel->retrieveListFile(list);
    QCOMPARE(f.env.dialogs().messages().size(), 0);
    QCOMPARE(assignedRoutines(f.window), QStringList(2, QStringLiteral("B then A")));
    QVERIFY(BatchRunner(f.window).runFromCommandLine(QStringLiteral("1")));
    QCOMPARE(f.script().count(QStringLiteral(".dwg\"\r\n_b\r\n_b2\r\n_a\r\n")), 2);
}

QTEST_MAIN(ActionPanelTest)
#include "ActionPanelTest.moc"
