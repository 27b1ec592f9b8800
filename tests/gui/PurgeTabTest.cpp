#include "builders/PurgeTab.h"
#include "routines/FrmScript.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineStore.h"
#include "routines/frmSaveRoutine.h"
#include "support/GuiTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

using namespace qv;
using namespace qv::test;

class PurgeTabTest final : public QObject
{
    Q_OBJECT

private slots:
    void setUpFollowsTheProduct_data();
    void setUpFollowsTheProduct();
    void release13CannotBuild();
    void selectAllAndClearAll();
    void nothingTickedIsRefused();
    void untickingSwitchesToSingleItemPurges();
    void savesThroughTheEditorIntoTheDatabase();
};

static void UseProduct(const char* code)
{
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", code).ok());
}

void PurgeTabTest::setUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("offered");
    QTest::addColumn<QString>("caption");
    QTest::newRow("2018") << "Cad2018" << 18 << "Purge";
    QTest::newRow("LT2013") << "CadLT2013" << 18 << "Purge in AutoCAD LT 2013 - 2017";
    QTest::newRow("2010") << "Cad2010" << 11 << "Purge";
    QTest::newRow("LT2007") << "CadLT2007" << 11 << "Purge in AutoCAD LT2007 - LT2009";
    QTest::newRow("2005") << "Cad2005" << 9 << "Purge";
    QTest::newRow("14") << "Cad14" << 7 << "Purge";
    QTest::newRow("LT98") << "CadLT98" << 7 << "Purge in LT 97/98";
    QTest::newRow("Bricscad") << "Bricscad" << 8 << "Purge";
}

void PurgeTabTest::setUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, offered);
    QFETCH(QString, caption);
    GuiEnvironment env;
    UseProduct(code.toLatin1().constData());
    PurgeTab tab;
    tab.SetupPurgeTab();
    QCOMPARE(tab.frmPurge->title(), caption);
    for (int i = 0; i < kPurgeItemCount; ++i) {
        auto* box = qobject_cast<QCheckBox*>(tab.chkPurge->button(i));
        QCOMPARE(box->objectName(), QStringLiteral("chkPurge_%1").arg(i));
        QCOMPARE(box->isVisibleTo(&tab), i < offered);
        QCOMPARE(box->isChecked(), i < offered);
    }
    QCOMPARE(tab.chkPurge->button(7)->text(), QStringLiteral("Plot  Styles"));
    QCOMPARE(tab.cmbNoPasses->count(), 10);
    QCOMPARE(tab.cmbNoPasses->currentText(), QStringLiteral("3"));
    QVERIFY(!tab.cmbNoPasses->isEditable());
    QCOMPARE(tab.cmdPurgeAll->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.lblpurgeall, QStringLiteral("Yes"));
    QCOMPARE(tab.lblPurge, QStringLiteral("yes"));
    QVERIFY(tab.cmdPurgeSave->isEnabled());
}

void PurgeTabTest::release13CannotBuild()
{
    GuiEnvironment env;
    UseProduct("Cad13");
    PurgeTab tab;
    tab.SetupPurgeTab();
    QCOMPARE(tab.frmPurge->title(), QStringLiteral("Not available in AutoCAD 13"));
    QVERIFY(!tab.cmdPurgeSave->isEnabled());
    QVERIFY(!tab.cmdPurgeAll->isEnabled());
    QVERIFY(!tab.cmbNoPasses->isEnabled());
}

void PurgeTabTest::selectAllAndClearAll()
{
    GuiEnvironment env;
    UseProduct("Cad14");
    PurgeTab tab;
    tab.SetupPurgeTab();
    tab.cmdPurgeAll->click();
    QCOMPARE(tab.cmdPurgeAll->text(), QStringLiteral("Select All"));
    QCOMPARE(tab.lblpurgeall, QStringLiteral("No"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QVERIFY(!tab.chkPurge->button(i)->isChecked());
    tab.cmdPurgeAll->click();
    QCOMPARE(tab.cmdPurgeAll->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.lblpurgeall, QStringLiteral("Yes"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QCOMPARE(tab.chkPurge->button(i)->isChecked(), i < 7);
}

void PurgeTabTest::nothingTickedIsRefused()
{
    GuiEnvironment env;
    UseProduct("Cad2010");
    PurgeTab tab;
    tab.SetupPurgeTab();
    QSignalSpy built(&tab, &PurgeTab::routineBuilt);
    tab.cmdPurgeAll->click();
    tab.cmdPurgeSave->click();
    QCOMPARE(built.count(), 0);
    const auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, std::string("Purge Error"));
    QCOMPARE(messages[0].text, std::string("You must select some objects to purge before you can save the routine."));
    QVERIFY(messages[0].icon == MessageIcon::Exclamation);
}

void PurgeTabTest::untickingSwitchesToSingleItemPurges()
{
    GuiEnvironment env;
    UseProduct("Cad2013");
    PurgeTab tab;
    tab.SetupPurgeTab();
    QSignalSpy built(&tab, &PurgeTab::routineBuilt);
    tab.cmdPurgeSave->click();
    QCOMPARE(built.count(), 1);
    const QString all = QStringLiteral("_purge\r\n_A\r\n*\r\n_N");
    QCOMPARE(built[0][0].toString(), all + QStringLiteral("\r\n") + all + QStringLiteral("\r\n") + all +
                                         QStringLiteral("\r\n_Qsave"));

    // Clear everything, then tick only "Empty Text Objects" by hand, one pass.
    tab.cmdPurgeAll->click();
    tab.chkPurge->button(12)->click();
    tab.cmbNoPasses->setCurrentText(QStringLiteral("1"));
    tab.cmdPurgeSave->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_purge\r\n_E\r\n_Qsave"));
    QCOMPARE(tab.lblpurgeall, QStringLiteral("No"));
}

void PurgeTabTest::savesThroughTheEditorIntoTheDatabase()
{
    GuiEnvironment env;
    UseProduct("Cad2010");
    Program().editorTab = 5;
    FrmScript editor;
    editor.Form_Load();
    QCOMPARE(editor.TabScriptRoutine->currentIndex(), 4);
    auto* tab = editor.findChild<PurgeTab*>();
    QVERIFY(tab);
    QVERIFY(tab->isSetUp());
    tab->cmdPurgeAll->click();
    tab->chkPurge->button(2)->click();
    tab->chkPurge->button(3)->click();
    tab->cmbNoPasses->setCurrentText(QStringLiteral("2"));
    bool saved = false;
    QTimer::singleShot(0, &editor, [&saved] {
        auto* dialog = qobject_cast<frmSaveRoutine*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->txtRoutineName->setText(QStringLiteral("Purge Layers and Linetypes"));
        dialog->cmdSavePlot->click();
        saved = true;
    });
    tab->cmdPurgeSave->click();
    QVERIFY(saved);
    QVERIFY(LoadCatalogue());
    const auto found = GetRoutineByDescription(Catalogue(), "Purge Layers and Linetypes");
    QVERIFY(found.found);
    const std::string block = "_purge\r\n_LA\r\n*\r\n_N\r\n_purge\r\n_LT\r\n*\r\n_N";
    QCOMPARE(found.text, block + "\r\n" + block + "\r\n_Qsave");
}

QTEST_MAIN(PurgeTabTest)
#include "PurgeTabTest.moc"
