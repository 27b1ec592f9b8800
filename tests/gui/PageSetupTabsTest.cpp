#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/PlotDeviceList.h"
#include "support/GuiTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace qv;
using namespace qv::test;

class PageSetupTabsTest final : public QObject
{
    Q_OBJECT

private slots:
    void setUpFollowsTheProduct_data();
    void setUpFollowsTheProduct();
    void drawingChoiceAndBrowses();
    void plotChecksAndFocus();
    void importChecksAndLoadAll();
};

static UserMessage exclamation(const char* text, const char* title)
{
    return {text, title, MessageIcon::Exclamation, MessageButtons::Ok};
}

void PageSetupTabsTest::setUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("allTabs");
    QTest::newRow("2018") << "Cad2018"
                          << "Plot Using Page Setup" << true;
    QTest::newRow("LT2013") << "CadLT2013"
                            << "Plot Using Page Setup" << false;
    QTest::newRow("Bricscad") << "Bricscad"
                              << "Plot Using Page Setup in Rel 2000 - 2002" << false;
}

void PageSetupTabsTest::setUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(QString, caption);
    QFETCH(bool, allTabs);
    GuiEnvironment env;
    useProduct(code.toLatin1().constData());
    // Two plotter configurations in the CAD folder's "Plotters" folder make the device list.
    QVERIFY(QDir(env.folder()).mkpath(QStringLiteral("CAD/Plotters")));
    for (const char* name : {"A1 Plotter.pc3", "DWF6 ePlot.pc3"}) {
        QFile file(env.file(QStringLiteral("CAD/Plotters/") + QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    storeSetting("Acad_Address", "AcadAddress", toStd(env.file(QStringLiteral("CAD/acad.exe"))));
    PlotDeviceList::instance().build(programState().settings);

    PageSetupPlotTab tab;
    tab.setUp();
    QCOMPARE(tab.m_pageSetupPlotGroup->title(), caption);
    QCOMPARE(tab.m_allTabsCheck->isEnabled(), allTabs);
    QCOMPARE(tab.m_lispNoteLabel->isVisibleTo(&tab), !allTabs);
    QCOMPARE(tab.m_pageSetupSourceButtons->checkedId(), 0);
    QVERIFY(!tab.m_sourceDrawingEdit->isEnabled());
    QVERIFY(!tab.m_browseDrawingButton->isEnabled());
    QCOMPARE(tab.m_copiesCombo->count(), 10);
    QCOMPARE(tab.m_copiesCombo->itemText(9), QStringLiteral("10"));
    QCOMPARE(tab.m_copiesCombo->currentText(), QStringLiteral("1"));
    QVERIFY(!tab.m_copiesCombo->isEditable());
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Select Plotter"));
    QVERIFY(tab.m_deviceCombo->findText(QStringLiteral("A1 Plotter.pc3")) >= 0);
    QVERIFY(tab.m_deviceCombo->findText(QStringLiteral("DWF6 ePlot.pc3")) >= 0);

    // The printers arrive later: the list refills and keeps what the user chose.
    tab.m_deviceCombo->setCurrentIndex(tab.m_deviceCombo->findText(QStringLiteral("DWF6 ePlot.pc3")));
    PlotDeviceList::instance().waitForPrinters(10000);
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("DWF6 ePlot.pc3"));
    PlotDeviceList::instance().release();
}

void PageSetupTabsTest::drawingChoiceAndBrowses()
{
    GuiEnvironment env;
    useProduct("Cad2010");
    storeSetting("Acad_Address", "AcadAddress", toStd(env.file(QStringLiteral("acad.exe"))));
    PageSetupPlotTab tab;
    tab.setUp();
    tab.m_pageSetupSourceButtons->button(1)->click();
    for (QWidget* control : std::initializer_list<QWidget*>{tab.m_sourceDrawingEdit, tab.m_browseDrawingButton,
                                                            tab.m_sourceDrawingLabel, tab.m_redefineNoteLabel})
        QVERIFY(control->isEnabled());

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.m_browseDrawingButton->click();
    QCOMPARE(tab.m_sourceDrawingEdit->text(), QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg")));
    tab.m_browseDrawingButton->click(); // cancelled: the box is emptied
    QCOMPARE(tab.m_sourceDrawingEdit->text(), QString());
    const auto calls = env.dialogs().calls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].title, QStringLiteral("Select Drawing File"));
    QCOMPARE(calls[0].filter, QStringLiteral("Drawing Files(*.dwg)|*.dwg|Template Files(*.dwt)|*.dwt"));

    env.dialogs().queueFiles({QStringLiteral("/cad/Plotters/Big Plotter.pc3")});
    tab.m_browsePlotterButton->click();
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));
    tab.m_browsePlotterButton->click(); // cancelled: the device stays
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));
    QCOMPARE(env.dialogs().calls()[2].title, QStringLiteral("Select Plotter Configuration File"));

    tab.m_pageSetupSourceButtons->button(0)->click();
    QVERIFY(!tab.m_sourceDrawingEdit->isEnabled());
    QVERIFY(!tab.m_redefineNoteLabel->isEnabled());
}

void PageSetupTabsTest::plotChecksAndFocus()
{
    GuiEnvironment env;
    useProduct("Cad2018");
    PageSetupPlotTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &PageSetupPlotTab::routineBuilt);

    tab.m_pageSetupNameEdit->setText(QStringLiteral("   "));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 0);
    auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].title, std::string("Plotting Information"));
    QVERIFY(messages[0].icon == MessageIcon::Information);
    QCOMPARE(messages[1], exclamation("Please enter a PageSetup Name", "Page Setup"));
    QCOMPARE(tab.focusWidget(), tab.m_pageSetupNameEdit);

    tab.m_pageSetupNameEdit->setText(QStringLiteral("A1-Plot"));
    tab.m_pageSetupSourceButtons->button(1)->click();
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 0);
    messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[3], exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_sourceDrawingEdit);
    QCOMPARE(tab.m_pageSetupNameEdit->text(), QStringLiteral("A1-Plot")); // the tab keeps its contents

    // Put right, the routine reads every control: the import, two copies, the page setup's own device, a file.
    tab.m_sourceDrawingEdit->setText(QStringLiteral("C:\\Std.dwg"));
    tab.m_copiesCombo->setCurrentText(QStringLiteral("2"));
    tab.m_deviceCombo->setEditText(QStringLiteral("<Default>"));
    tab.m_plotToFileCheck->setChecked(true);
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().size(), 5); // the information only
    QCOMPARE(built.count(), 1);
    const QString once =
        QStringLiteral("_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Std.dwg\"\r\n\"A1-Plot\"\r\n_Expert\r\n0\r\n"
                       "_-plot\r\n_No\r\n\r\nA1-Plot\r\n\r\n_Yes\r\n\r\n\r\n_Yes");
    QCOMPARE(built[0][0].toString(), once + QStringLiteral("\r\n") + once);
}

void PageSetupTabsTest::importChecksAndLoadAll()
{
    GuiEnvironment env;
    ImportPageSetupTab tab;
    tab.showCaption();
    QCOMPARE(tab.m_importPageSetupGroup->title(), QStringLiteral("Import Page Setup"));
    QSignalSpy built(&tab, &ImportPageSetupTab::routineBuilt);
    QCOMPARE(tab.m_loadScopeButtons->button(1)->text(), QStringLiteral("Load All"));
    QCOMPARE(tab.m_loadScopeButtons->button(0)->text(), QStringLiteral("Load Individual"));

    tab.m_pageSetupNamesEdit->setText(QStringLiteral("A1-Plot"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().last(), exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_sourceDrawingEdit);

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.m_browseDrawingButton->click();
    tab.m_pageSetupNamesEdit->clear();
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().last(), exclamation("Please select a Page Setup name", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_pageSetupNamesEdit);
    QCOMPARE(built.count(), 0);

    tab.m_loadScopeButtons->button(1)->click();
    QCOMPARE(tab.m_pageSetupNamesEdit->text(), QStringLiteral("*"));
    QVERIFY(!tab.m_pageSetupNamesEdit->isEnabled());
    QVERIFY(!tab.m_severalNamesNoteLabel->isEnabled());
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    const QString drawing = QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg"));
    QCOMPARE(built[0][0].toString(), QStringLiteral("_Expert\r\n2\r\n_-psetupin\r\n\"") + drawing +
                                         QStringLiteral("\"\r\n\"*\"\r\n_Qsave\r\n_Expert\r\n0"));

    tab.m_loadScopeButtons->button(0)->click();
    QVERIFY(tab.m_pageSetupNamesEdit->isEnabled());
    QCOMPARE(tab.m_pageSetupNamesEdit->text(), QString());
}

QTEST_MAIN(PageSetupTabsTest)
#include "PageSetupTabsTest.moc"
