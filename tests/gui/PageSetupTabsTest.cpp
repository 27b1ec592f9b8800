#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/PlotPrinter.h"
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

static void UseProduct(const char* code)
{
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", code).ok());
}

static UserMessage Exclamation(const char* text, const char* title)
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
    UseProduct(code.toLatin1().constData());
    // Two plotter configurations in the CAD folder's "Plotters" folder make the device list.
    QVERIFY(QDir(env.folder()).mkpath(QStringLiteral("CAD/Plotters")));
    for (const char* name : {"A1 Plotter.pc3", "DWF6 ePlot.pc3"}) {
        QFile file(env.file(QStringLiteral("CAD/Plotters/") + QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(
        Program().ini.WriteValue("Acad_Address", "AcadAddress", ToStd(env.file(QStringLiteral("CAD/acad.exe")))).ok());
    PlotDeviceList::instance().BuildDeviceList(Program().ini);

    PageSetupPlotTab tab;
    tab.SetupPageSetupTab();
    QCOMPARE(tab.FraPlotPageSetup->title(), caption);
    QCOMPARE(tab.chkPlotalltabsPage->isEnabled(), allTabs);
    QCOMPARE(tab.Label20->isVisibleTo(&tab), !allTabs);
    QCOMPARE(tab.optPageSetupLoc->checkedId(), 0);
    QVERIFY(!tab.txtDrawingAddress1->isEnabled());
    QVERIFY(!tab.cmdDrawingBrowse1->isEnabled());
    QCOMPARE(tab.cboNumberofCopies->count(), 10);
    QCOMPARE(tab.cboNumberofCopies->itemText(9), QStringLiteral("10"));
    QCOMPARE(tab.cboNumberofCopies->currentText(), QStringLiteral("1"));
    QVERIFY(!tab.cboNumberofCopies->isEditable());
    QCOMPARE(tab.lblPlotPaper, QStringLiteral("yes"));
    QCOMPARE(tab.cboPagesetupPlotter->currentText(), QStringLiteral("Select Plotter"));
    QVERIFY(tab.cboPagesetupPlotter->findText(QStringLiteral("A1 Plotter.pc3")) >= 0);
    QVERIFY(tab.cboPagesetupPlotter->findText(QStringLiteral("DWF6 ePlot.pc3")) >= 0);

    // The printers arrive later: the list refills and keeps what the user chose.
    tab.cboPagesetupPlotter->setCurrentIndex(tab.cboPagesetupPlotter->findText(QStringLiteral("DWF6 ePlot.pc3")));
    PlotDeviceList::instance().waitForPrinters(10000);
    QCOMPARE(tab.cboPagesetupPlotter->currentText(), QStringLiteral("DWF6 ePlot.pc3"));
    PlotDeviceList::instance().Release();
}

void PageSetupTabsTest::drawingChoiceAndBrowses()
{
    GuiEnvironment env;
    UseProduct("Cad2010");
    QVERIFY(Program().ini.WriteValue("Acad_Address", "AcadAddress", ToStd(env.file(QStringLiteral("acad.exe")))).ok());
    PageSetupPlotTab tab;
    tab.SetupPageSetupTab();
    tab.optPageSetupLoc->button(1)->click();
    for (QWidget* control : std::initializer_list<QWidget*>{tab.txtDrawingAddress1, tab.cmdDrawingBrowse1,
                                                            tab.lblDrawingAddress1, tab.lblRedefine})
        QVERIFY(control->isEnabled());

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.cmdDrawingBrowse1->click();
    QCOMPARE(tab.txtDrawingAddress1->text(), QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg")));
    tab.cmdDrawingBrowse1->click(); // cancelled: the box is emptied
    QCOMPARE(tab.txtDrawingAddress1->text(), QString());
    const auto calls = env.dialogs().calls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].title, QStringLiteral("Select Drawing File"));
    QCOMPARE(calls[0].filter, QStringLiteral("Drawing Files(*.dwg)|*.dwg|Template Files(*.dwt)|*.dwt"));

    env.dialogs().queueFiles({QStringLiteral("/cad/Plotters/Big Plotter.pc3")});
    tab.cmdSelectPc3->click();
    QCOMPARE(tab.cboPagesetupPlotter->currentText(), QStringLiteral("Big Plotter.pc3"));
    tab.cmdSelectPc3->click(); // cancelled: the device stays
    QCOMPARE(tab.cboPagesetupPlotter->currentText(), QStringLiteral("Big Plotter.pc3"));
    QCOMPARE(env.dialogs().calls()[2].title, QStringLiteral("Select Plotter Configuration File"));

    tab.optPageSetupLoc->button(0)->click();
    QVERIFY(!tab.txtDrawingAddress1->isEnabled());
    QVERIFY(!tab.lblRedefine->isEnabled());
}

void PageSetupTabsTest::plotChecksAndFocus()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    PageSetupPlotTab tab;
    tab.SetupPageSetupTab();
    QSignalSpy built(&tab, &PageSetupPlotTab::routineBuilt);

    tab.txtPageSetupName->setText(QStringLiteral("   "));
    tab.cmdPlotPageSave->click();
    QCOMPARE(built.count(), 0);
    auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].title, std::string("Plotting Information"));
    QVERIFY(messages[0].icon == MessageIcon::Information);
    QCOMPARE(messages[1], Exclamation("Please enter a PageSetup Name", "Page Setup"));
    QCOMPARE(tab.focusWidget(), tab.txtPageSetupName);

    tab.txtPageSetupName->setText(QStringLiteral("A1-Plot"));
    tab.optPageSetupLoc->button(1)->click();
    tab.cmdPlotPageSave->click();
    QCOMPARE(built.count(), 0);
    messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[3], Exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.txtDrawingAddress1);
    QCOMPARE(tab.txtPageSetupName->text(), QStringLiteral("A1-Plot")); // the tab keeps its contents

    // Put right, the routine reads every control: the import, two copies, the page setup's own device, a file.
    tab.txtDrawingAddress1->setText(QStringLiteral("C:\\Std.dwg"));
    tab.cboNumberofCopies->setCurrentText(QStringLiteral("2"));
    tab.cboPagesetupPlotter->setEditText(QStringLiteral("<Default>"));
    tab.chkPlotToFile->setChecked(true);
    tab.cmdPlotPageSave->click();
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
    tab.ShowCaption();
    QCOMPARE(tab.fraImportPageSetup->title(), QStringLiteral("Import Page Setup"));
    QSignalSpy built(&tab, &ImportPageSetupTab::routineBuilt);
    QCOMPARE(tab.optLoadAll->button(1)->text(), QStringLiteral("Load All"));
    QCOMPARE(tab.optLoadAll->button(0)->text(), QStringLiteral("Load Individual"));

    tab.txtPagesetup->setText(QStringLiteral("A1-Plot"));
    tab.cmdSavePagesetup->click();
    QCOMPARE(env.dialogs().messages().last(), Exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.txtDrawingAddress);

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.cmdDwgBrowse->click();
    tab.txtPagesetup->clear();
    tab.cmdSavePagesetup->click();
    QCOMPARE(env.dialogs().messages().last(), Exclamation("Please select a Page Setup name", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.txtPagesetup);
    QCOMPARE(built.count(), 0);

    tab.optLoadAll->button(1)->click();
    QCOMPARE(tab.txtPagesetup->text(), QStringLiteral("*"));
    QVERIFY(!tab.txtPagesetup->isEnabled());
    QVERIFY(!tab.lblPagesetupList->isEnabled());
    tab.cmdSavePagesetup->click();
    QCOMPARE(built.count(), 1);
    const QString drawing = QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg"));
    QCOMPARE(built[0][0].toString(), QStringLiteral("_Expert\r\n2\r\n_-psetupin\r\n\"") + drawing +
                                         QStringLiteral("\"\r\n\"*\"\r\n_Qsave\r\n_Expert\r\n0"));

    tab.optLoadAll->button(0)->click();
    QVERIFY(tab.txtPagesetup->isEnabled());
    QCOMPARE(tab.txtPagesetup->text(), QString());
}

QTEST_MAIN(PageSetupTabsTest)
#include "PageSetupTabsTest.moc"
