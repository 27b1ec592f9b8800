#include "app/MainWindow.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"
#include "text/Paths.h"

#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

using namespace qv;
using namespace qv::test;

namespace {

QStringList strings(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* text : texts)
        out << QString::fromUtf8(text);
    return out;
}

// "file|folder|routine|key" per row, or only the file names, for compact comparisons.
QStringList listedRows(const MainWindow& window, bool filesOnly = false)
{
    QStringList out;
    for (const DrawingRow& row : window.drawingList()->rows())
        out << QString::fromStdString(filesOnly ? row.file
                                                : row.file + "|" + row.folder + "|" + row.routine + "|" + row.key);
    return out;
}

QStringList files(const MainWindow& window)
{
    return listedRows(window, true);
}

void dropUrls(MainWindow& window, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    // A drop arrives after the drag has entered the list.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.m_drawingView->viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.m_drawingView->viewport(), &drop);
}

} // namespace

class DrawingListTest final : public QObject
{
    Q_OBJECT

private slots:
    void addsFromTheFileDialog();
    void selectionEnablesDeleteAndDeleteKeepsTheRest();
    void dropsAndColumnClicksPlaceLaterAdds();
    void sortByFieldOrdersByKey();
};

void DrawingListTest::addsFromTheFileDialog()
{
    GuiEnvironment env;
    MainWindow window;
    auto* add = control<QPushButton>(&window, "CmdAdd");
    env.dialogs().queueFiles({QStringLiteral("/d/c.dwg"), QStringLiteral("/d/a.dwg"), QStringLiteral("/d/b.dxf")});
    add->click();
    const auto call = env.dialogs().calls().value(0);
    QCOMPARE(call.kind, ScriptedUserDialogs::Call::OpenFiles);
    QCOMPARE(call.title, QStringLiteral("Select File(s)..."));
    QCOMPARE(call.filter, QStringLiteral("Dwg Files (*.dwg)|*.dwg|Dxf Files (*.dxf)|*.dxf|Dwt Files (*.dwt)|*.dwt|"
                                         "All Files (*.*)|*.*"));
    QCOMPARE(listedRows(window), strings({"c.dwg|/d||", "a.dwg|/d||", "b.dxf|/d||"}));
    QCOMPARE(window.m_drawingCountLabel->text(), QStringLiteral("3 Drawings To Be Processed"));
    QVERIFY(window.m_clearButton->isEnabled());
    QVERIFY(window.actionPanel()->m_assignButton->isEnabled());
    QVERIFY(window.actionPanel()->m_combineButton->isEnabled());
    // Long folders are cut in the middle so their end stays visible; the tip has the whole path.
    QCOMPARE(window.m_drawingView->textElideMode(), Qt::ElideMiddle);
    const QString path = QString::fromStdString(joinPath("/d", "a.dwg"));
    for (const int column : {0, 1})
        QCOMPARE(window.drawingList()->index(1, column).data(Qt::ToolTipRole).toString(), path);

    add->click(); // cancelled
    QCOMPARE(window.drawingList()->rowCount(), 3);

    // The menu item does the same; names the script cannot carry are refused and named.
    env.dialogs().queueFiles(
        {QStringLiteral("/d/bad\"name.dwg"), QStringLiteral("/e/ok.dwg"), QStringLiteral("/d/line\nbreak.dwg")});
    control<QAction>(&window, "mnuFileAdd")->trigger();
    QCOMPARE(listedRows(window).mid(3), strings({"ok.dwg|/e||"}));
    QCOMPARE(env.dialogs().messages(), QList{refusedDrawingsMessage({"/d/bad\"name.dwg", "/d/line\nbreak.dwg"})});
}

void DrawingListTest::selectionEnablesDeleteAndDeleteKeepsTheRest()
{
    GuiEnvironment env;
    MainWindow window;
    ActionPanel* panel = window.actionPanel();
    window.addDrawings({QStringLiteral("/d/a.dwg"), QStringLiteral("/d/b.dwg"), QStringLiteral("/d/c.dwg")});
    QVERIFY(!window.m_removeButton->isEnabled());
    selectRows(window, {0, 2});
    QVERIFY(window.m_removeButton->isEnabled());
    window.m_removeButton->click();
    QCOMPARE(files(window), strings({"b.dwg"}));
    QVERIFY(!window.m_removeButton->isEnabled());

    panel->m_startButton->setEnabled(true);
    selectRows(window, {0});
    window.m_removeButton->click();
    QCOMPARE(window.drawingList()->rowCount(), 0);
    QCOMPARE(window.m_drawingCountLabel->text(), QStringLiteral("Drawings To Be Processed"));
    for (QPushButton* button : {window.m_clearButton, window.m_sortByFieldButton, panel->m_assignButton,
                                panel->m_combineButton, panel->m_startButton})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
}

void DrawingListTest::dropsAndColumnClicksPlaceLaterAdds()
{
    GuiEnvironment env;
    MainWindow window;
    const QString folder = env.folder();
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sub")));
    // A drop that starts with a folder adds nothing; otherwise local files are added in drop order.
    dropUrls(window, {QUrl::fromLocalFile(folder + QStringLiteral("/sub")),
                      QUrl::fromLocalFile(folder + QStringLiteral("/x.dwg"))});
    QCOMPARE(window.drawingList()->rowCount(), 0);
    window.addDrawings({QStringLiteral("/d/a.dwg")});
    dropUrls(window,
             {QUrl::fromLocalFile(folder + QStringLiteral("/C.dwg")), QUrl(QStringLiteral("https://example.com/w.dwg")),
              QUrl::fromLocalFile(folder + QStringLiteral("/b.dwg"))});
    QCOMPARE(files(window), strings({"a.dwg", "C.dwg", "b.dwg"}));
    QCOMPARE(QString::fromStdString(window.drawingList()->rows()[1].folder), QDir::toNativeSeparators(folder));

    emit window.m_drawingView->header()->sectionClicked(0);
    QCOMPARE(files(window), strings({"C.dwg", "b.dwg", "a.dwg"}));
    emit window.m_drawingView->header()->sectionClicked(0);
    QCOMPARE(files(window), strings({"a.dwg", "b.dwg", "C.dwg"}));

    // Sorting stays on: new drawings are placed by the same column and order, dialog and drop alike.
    window.addDrawings({QStringLiteral("/d/bb.dwg"), QStringLiteral("/d/0.dwg")});
    QCOMPARE(files(window), strings({"0.dwg", "a.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
    dropUrls(window, {QUrl::fromLocalFile(QStringLiteral("/nowhere/ab.dwg"))});
    QCOMPARE(files(window), strings({"0.dwg", "a.dwg", "ab.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
}

void DrawingListTest::sortByFieldOrdersByKey()
{
    GuiEnvironment env;
    storeSetting(keys::kFieldSection, keys::kSortKey, "ON");
    storeSetting(keys::kFieldSection, keys::kDelimKey, "-");
    storeSetting(keys::kFieldSection, keys::kFieldNumKey, "2");
    databaseNoticeShown() = true;
    MainWindow window;
    window.load();
    QVERIFY(window.m_sortByFieldButton->isVisibleTo(&window));
    QVERIFY(!window.m_sortByFieldButton->isEnabled());
    window.addDrawings({QStringLiteral("/d/A-12-rev.dwg"), QStringLiteral("/d/A-3-x.dwg"), QStringLiteral("/d/B.dwg"),
                        QStringLiteral("/d/B-07.dwg")});
    QVERIFY(window.m_sortByFieldButton->isEnabled());
    emit window.m_drawingView->header()->sectionClicked(0); // column sorting on: descending by name
    selectRows(window, {1});
    QVERIFY(window.m_removeButton->isEnabled());

    window.m_sortByFieldButton->click();
    QCOMPARE(listedRows(window), strings({"B.dwg|/d||", "B-07.dwg|/d||07", "A-12-rev.dwg|/d||12", "A-3-x.dwg|/d||3"}));
    QCOMPARE(window.drawingList()->columnCount(), 4);
    QCOMPARE(window.drawingList()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Num"));
    QVERIFY(!window.m_removeButton->isEnabled());

    // The key order holds: later drawings are appended, not placed by the earlier column sort.
    window.addDrawings({QStringLiteral("/d/0-1.dwg")});
    QCOMPARE(files(window).last(), QStringLiteral("0-1.dwg"));

    window.actionPanel()->clearDrawingList();
    window.m_sortByFieldButton->setEnabled(true);
    window.actionPanel()->m_startButton->setEnabled(true);
    window.m_sortByFieldButton->click();
    QVERIFY(!window.m_sortByFieldButton->isEnabled());
    QVERIFY(!window.actionPanel()->m_startButton->isEnabled());
}

QTEST_MAIN(DrawingListTest)
#include "DrawingListTest.moc"
