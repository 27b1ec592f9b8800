// A purge routine built through the Purge tab, saved into the routine database, assigned to drawings
// in a list file and run by the real quorvel program through the stand-in CAD host: the host must
// accept every line, for every product family.
#include "builders/PurgeTab.h"
#include "routines/RoutineEditor.h"
#include "routines/SaveRoutineDialog.h"
#include "support/GuiTestSupport.h"
#include "support/HostRun.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

class PurgeEndToEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void hostAcceptsTheRoutine_data();
    void hostAcceptsTheRoutine();
};

void PurgeEndToEndTest::hostAcceptsTheRoutine_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QList<int>>("items"); // empty: every offered item (the "_A" form)
    QTest::addColumn<QString>("passes");
    QTest::newRow("2018 all") << "Cad2018" << QList<int>{} << "2";
    QTest::newRow("2018 some") << "Cad2018" << QList<int>{0, 12, 13, 15, 16, 17} << "1";
    QTest::newRow("LT2013 some") << "CadLT2013" << QList<int>{2, 9, 14} << "1";
    QTest::newRow("2010 some") << "Cad2010" << QList<int>{2, 3, 8, 9, 10} << "2";
    QTest::newRow("2005 some") << "Cad2005" << QList<int>{1, 7, 8} << "1";
    QTest::newRow("2000 some") << "Cad2000" << QList<int>{5, 6, 7} << "1";
    QTest::newRow("14 some") << "Cad14" << QList<int>{1, 2, 3, 4, 5, 6} << "3";
    QTest::newRow("LT98 all") << "CadLT98" << QList<int>{} << "1";
    QTest::newRow("Bricscad some") << "Bricscad" << QList<int>{0, 1, 2, 3, 4, 5, 6} << "1";
    QTest::newRow("ZWCAD all") << "ZWCAD" << QList<int>{} << "1";
}

void PurgeEndToEndTest::hostAcceptsTheRoutine()
{
    QFETCH(QString, product);
    QFETCH(QList<int>, items);
    QFETCH(QString, passes);
    GuiEnvironment env;
    useStandInHost(env, product);

    // Build and save the routine through the editor's Purge tab.
    programState().editorTab = 5;
    RoutineEditor editor;
    editor.load();
    auto* tab = editor.findChild<PurgeTab*>();
    QVERIFY(tab && tab->isSetUp());
    if (!items.isEmpty()) {
        tab->m_toggleAllButton->click(); // Clear All
        for (int item : items)
            tab->m_itemButtons->button(item)->click();
    }
    tab->m_passesCombo->setCurrentText(passes);
    QTimer::singleShot(0, &editor, [] {
        auto* dialog = qobject_cast<SaveRoutineDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->m_nameEdit->setText(QStringLiteral("Purge Test"));
        dialog->m_saveButton->click();
    });
    tab->m_saveRoutineButton->click();
    QVERIFY(env.dialogs().messages().isEmpty());

    // Two drawings in a list file, run by the real program from this folder.
    for (const char* name : {"One.dwg", "Two.dwg"}) {
        QFile drawing(env.file(QString::fromLatin1(name)));
        QVERIFY(drawing.open(QIODevice::WriteOnly));
    }
    const QString text = runListThroughHost(env, {{QStringLiteral("One.dwg"), QStringLiteral("Purge Test")},
                                                  {QStringLiteral("Two.dwg"), QStringLiteral("Purge Test")}});
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!text.contains(QStringLiteral("\terror\t")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("0\texit\t-\t0")), qPrintable(text));
    const int purges = int(text.count(QStringLiteral("\tpurged\t")));
    const int perPass = items.isEmpty() ? 1 : int(items.size());
    QCOMPARE(purges, 2 * perPass * passes.toInt());
    QCOMPARE(int(text.count(QStringLiteral("\tqsave\t"))), 2);
}

QTEST_MAIN(PurgeEndToEndTest)
#include "PurgeEndToEndTest.moc"
