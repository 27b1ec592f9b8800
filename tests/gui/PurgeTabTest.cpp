#include "builders/PurgeTab.h"

#include "support/GuiTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>

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
};

void PurgeTabTest::setUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("offered");
    QTest::addColumn<QString>("caption");
    QTest::newRow("2018") << "Cad2018" << 18 << "Purge";
    QTest::newRow("LT2013") << "CadLT2013" << 18 << "Purge in AutoCAD LT 2013 - 2017";
    QTest::newRow("LT98") << "CadLT98" << 7 << "Purge in LT 97/98";
    QTest::newRow("Bricscad") << "Bricscad" << 8 << "Purge";
}

void PurgeTabTest::setUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, offered);
    QFETCH(QString, caption);
    GuiEnvironment env;
    useProduct(code.toLatin1().constData());
    PurgeTab tab;
    tab.setUp();
    QCOMPARE(tab.m_purgeGroup->title(), caption);
    for (int i = 0; i < kPurgeItemCount; ++i) {
        auto* box = qobject_cast<QCheckBox*>(tab.m_itemButtons->button(i));
        QCOMPARE(box->objectName(), QStringLiteral("chkPurge_%1").arg(i));
        QCOMPARE(box->isVisibleTo(&tab), i < offered);
        QCOMPARE(box->isChecked(), i < offered);
    }
    QCOMPARE(tab.m_itemButtons->button(7)->text(), QStringLiteral("Plot  Styles"));
    QCOMPARE(tab.m_passesCombo->count(), 10);
    QCOMPARE(tab.m_passesCombo->currentText(), QStringLiteral("3"));
    QVERIFY(!tab.m_passesCombo->isEditable());
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("Yes"));
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QVERIFY(tab.m_saveRoutineButton->isEnabled());
}

void PurgeTabTest::release13CannotBuild()
{
    GuiEnvironment env;
    useProduct("Cad13");
    PurgeTab tab;
    tab.setUp();
    QCOMPARE(tab.m_purgeGroup->title(), QStringLiteral("Not available in AutoCAD 13"));
    QVERIFY(!tab.m_saveRoutineButton->isEnabled());
    QVERIFY(!tab.m_toggleAllButton->isEnabled());
    QVERIFY(!tab.m_passesCombo->isEnabled());
}

void PurgeTabTest::selectAllAndClearAll()
{
    GuiEnvironment env;
    useProduct("Cad14");
    PurgeTab tab;
    tab.setUp();
    tab.m_toggleAllButton->click();
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Select All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("No"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QVERIFY(!tab.m_itemButtons->button(i)->isChecked());
    tab.m_toggleAllButton->click();
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("Yes"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QCOMPARE(tab.m_itemButtons->button(i)->isChecked(), i < 7);
}

void PurgeTabTest::nothingTickedIsRefused()
{
    GuiEnvironment env;
    useProduct("Cad2010");
    PurgeTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &PurgeTab::routineBuilt);
    tab.m_toggleAllButton->click();
    tab.m_saveRoutineButton->click();
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
    useProduct("Cad2013");
    PurgeTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &PurgeTab::routineBuilt);
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    const QString all = QStringLiteral("_purge\r\n_A\r\n*\r\n_N");
    QCOMPARE(built[0][0].toString(),
             all + QStringLiteral("\r\n") + all + QStringLiteral("\r\n") + all + QStringLiteral("\r\n_Qsave"));

    // Clear everything, then tick only "Empty Text Objects" by hand, one pass.
    tab.m_toggleAllButton->click();
    tab.m_itemButtons->button(12)->click();
    tab.m_passesCombo->setCurrentText(QStringLiteral("1"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_purge\r\n_E\r\n_Qsave"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("No"));
}

QTEST_MAIN(PurgeTabTest)
#include "PurgeTabTest.moc"
