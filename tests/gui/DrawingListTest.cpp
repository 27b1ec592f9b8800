#include "app/mdiStart.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/RoutineStore.h"
#include "routines/frmCommandButton.h"
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

QStringList Strings(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* text : texts)
        out << QString::fromUtf8(text);
    return out;
}

// "file|folder|routine|key" per row, or only the file names, for compact comparisons.
QStringList Rows(const mdiStart& window, bool filesOnly = false)
{
    QStringList out;
    for (const DrawingRow& row : window.drawingList()->rows())
        out << QString::fromStdString(filesOnly ? row.file
                                                : row.file + "|" + row.folder + "|" + row.routine + "|" + row.key);
    return out;
}

QStringList Files(const mdiStart& window)
{
    return Rows(window, true);
}

void Drop(mdiStart& window, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    // A drop arrives after the drag has entered the list.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.lstvDrawings->viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.lstvDrawings->viewport(), &drop);
}

void SelectRows(mdiStart& window, std::initializer_list<int> rows)
{
    auto* selection = window.lstvDrawings->selectionModel();
    for (const int row : rows)
        selection->select(window.drawingList()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
    mdiStart window;
    auto* add = Control<QPushButton>(&window, "CmdAdd");
    env.dialogs().queueFiles({QStringLiteral("/d/c.dwg"), QStringLiteral("/d/a.dwg"), QStringLiteral("/d/b.dxf")});
    add->click();
    const auto call = env.dialogs().calls().value(0);
    QCOMPARE(call.kind, ScriptedUserDialogs::Call::OpenFiles);
    QCOMPARE(call.title, QStringLiteral("Select File(s)..."));
    QCOMPARE(call.filter, QStringLiteral("Dwg Files (*.dwg)|*.dwg|Dxf Files (*.dxf)|*.dxf|Dwt Files (*.dwt)|*.dwt|"
                                         "All Files (*.*)|*.*"));
    QCOMPARE(Rows(window), Strings({"c.dwg|/d||", "a.dwg|/d||", "b.dxf|/d||"}));
    QCOMPARE(window.Label1->text(), QStringLiteral("3 Drawings To Be Processed"));
    QVERIFY(window.cmdClear->isEnabled());
    QVERIFY(window.commandPanel()->CmdAction->isEnabled());
    QVERIFY(window.commandPanel()->cmdCombineRoutines->isEnabled());
    // Long folders are cut in the middle so their end stays visible; the tip has the whole path.
    QCOMPARE(window.lstvDrawings->textElideMode(), Qt::ElideMiddle);
    const QString path = QString::fromStdString(JoinPath("/d", "a.dwg"));
    for (const int column : {0, 1})
        QCOMPARE(window.drawingList()->index(1, column).data(Qt::ToolTipRole).toString(), path);

    add->click(); // cancelled
    QCOMPARE(window.drawingList()->rowCount(), 3);

    // The menu item does the same; names the script cannot carry are refused and named.
    env.dialogs().queueFiles(
        {QStringLiteral("/d/bad\"name.dwg"), QStringLiteral("/e/ok.dwg"), QStringLiteral("/d/line\nbreak.dwg")});
    Control<QAction>(&window, "mnuFileAdd")->trigger();
    QCOMPARE(Rows(window).mid(3), Strings({"ok.dwg|/e||"}));
    QCOMPARE(env.dialogs().messages(), QList{RefusedDrawingsMessage({"/d/bad\"name.dwg", "/d/line\nbreak.dwg"})});
}

void DrawingListTest::selectionEnablesDeleteAndDeleteKeepsTheRest()
{
    GuiEnvironment env;
    mdiStart window;
    frmCommandButton* panel = window.commandPanel();
    window.AddDrawings({QStringLiteral("/d/a.dwg"), QStringLiteral("/d/b.dwg"), QStringLiteral("/d/c.dwg")});
    QVERIFY(!window.cmdDelete->isEnabled());
    SelectRows(window, {0, 2});
    QVERIFY(window.cmdDelete->isEnabled());
    window.cmdDelete->click();
    QCOMPARE(Files(window), Strings({"b.dwg"}));
    QVERIFY(!window.cmdDelete->isEnabled());

    panel->CmdStart->setEnabled(true);
    SelectRows(window, {0});
    window.cmdDelete->click();
    QCOMPARE(window.drawingList()->rowCount(), 0);
    QCOMPARE(window.Label1->text(), QStringLiteral("Drawings To Be Processed"));
    for (QPushButton* button :
         {window.cmdClear, window.cmdSortIso, panel->CmdAction, panel->cmdCombineRoutines, panel->CmdStart})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
}

void DrawingListTest::dropsAndColumnClicksPlaceLaterAdds()
{
    GuiEnvironment env;
    mdiStart window;
    const QString folder = env.folder();
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sub")));
    // A drop that starts with a folder adds nothing; otherwise local files are added in drop order.
    Drop(window, {QUrl::fromLocalFile(folder + QStringLiteral("/sub")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/x.dwg"))});
    QCOMPARE(window.drawingList()->rowCount(), 0);
    window.AddDrawings({QStringLiteral("/d/a.dwg")});
    Drop(window,
         {QUrl::fromLocalFile(folder + QStringLiteral("/C.dwg")), QUrl(QStringLiteral("https://example.com/w.dwg")),
          QUrl::fromLocalFile(folder + QStringLiteral("/b.dwg"))});
    QCOMPARE(Files(window), Strings({"a.dwg", "C.dwg", "b.dwg"}));
    QCOMPARE(QString::fromStdString(window.drawingList()->rows()[1].folder), QDir::toNativeSeparators(folder));

    emit window.lstvDrawings->header()->sectionClicked(0);
    QCOMPARE(Files(window), Strings({"C.dwg", "b.dwg", "a.dwg"}));
    emit window.lstvDrawings->header()->sectionClicked(0);
    QCOMPARE(Files(window), Strings({"a.dwg", "b.dwg", "C.dwg"}));

    // Sorting stays on: new drawings are placed by the same column and order, dialog and drop alike.
    window.AddDrawings({QStringLiteral("/d/bb.dwg"), QStringLiteral("/d/0.dwg")});
    QCOMPARE(Files(window), Strings({"0.dwg", "a.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
    Drop(window, {QUrl::fromLocalFile(QStringLiteral("/nowhere/ab.dwg"))});
    QCOMPARE(Files(window), Strings({"0.dwg", "a.dwg", "ab.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
}

void DrawingListTest::sortByFieldOrdersByKey()
{
    GuiEnvironment env;
    QVERIFY(Program().ini.WriteValue(keys::kFieldSection, keys::kSortKey, "ON").ok());
    QVERIFY(Program().ini.WriteValue(keys::kFieldSection, keys::kDelimKey, "-").ok());
    QVERIFY(Program().ini.WriteValue(keys::kFieldSection, keys::kFieldNumKey, "2").ok());
    DatabaseNoticeShown() = true;
    mdiStart window;
    window.FormLoad();
    QVERIFY(window.cmdSortIso->isVisibleTo(&window));
    QVERIFY(!window.cmdSortIso->isEnabled());
    window.AddDrawings({QStringLiteral("/d/A-12-rev.dwg"), QStringLiteral("/d/A-3-x.dwg"), QStringLiteral("/d/B.dwg"),
                        QStringLiteral("/d/B-07.dwg")});
    QVERIFY(window.cmdSortIso->isEnabled());
    emit window.lstvDrawings->header()->sectionClicked(0); // column sorting on: descending by name
    SelectRows(window, {1});
    QVERIFY(window.cmdDelete->isEnabled());

    window.cmdSortIso->click();
    QCOMPARE(Rows(window), Strings({"B.dwg|/d||", "B-07.dwg|/d||07", "A-12-rev.dwg|/d||12", "A-3-x.dwg|/d||3"}));
    QCOMPARE(window.drawingList()->columnCount(), 4);
    QCOMPARE(window.drawingList()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Num"));
    QVERIFY(!window.cmdDelete->isEnabled());

    // The key order holds: later drawings are appended, not placed by the earlier column sort.
    window.AddDrawings({QStringLiteral("/d/0-1.dwg")});
    QCOMPARE(Files(window).last(), QStringLiteral("0-1.dwg"));

    window.commandPanel()->Clear_List();
    window.cmdSortIso->setEnabled(true);
    window.commandPanel()->CmdStart->setEnabled(true);
    window.cmdSortIso->click();
    QVERIFY(!window.cmdSortIso->isEnabled());
    QVERIFY(!window.commandPanel()->CmdStart->isEnabled());
}

QTEST_MAIN(DrawingListTest)
#include "DrawingListTest.moc"
